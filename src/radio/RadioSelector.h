#pragma once

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <utility>

class Radio;

// The one place that knows which backend drives which configured model (MODEL= TMD700, TMD710,
// TMV71, TX16UD, HAMLIB). Backends are registered by name at start-up with what choosing their
// model does (the Model menu's choice: the panel shown, the port opened...); the choice selects
// one, and everybody else asks for the current radio.
class RadioSelector : public QObject
{
    Q_OBJECT
public:
    void add(const QString &model, Radio *radio, std::function<void()> choice = {});
    // The start-up choice of the configured model (MODEL=): what the Model menu's item does for
    // its backend. False when no backend drives it.
    bool choose(const QString &model);
    // The operator's choice of another model (the Model menu, the Hamlib window's OK): the radio
    // in use is released first (unkeyed, scanning stopped, its port let go), then `model` chosen.
    // Choosing the model in use again releases nothing.
    QCoro::Task<> changeTo(QString model);
    // Makes `model` current; false when no backend drives it (the current one stays).
    bool select(const QString &model);
    Radio *current() const { return m_current; }
    // Every backend once.
    QList<Radio *> all() const;
    const QString &currentModel() const { return m_currentModel; }
    // Whether `model` is the current one.
    bool isCurrent(const QString &model) const { return m_currentModel == model; }

signals:
    // Another backend became current.
    void currentChanged();

private:
    struct Backend
    {
        QString model;
        Radio *radio;
        std::function<void()> choice;
    };
    const Backend *find(const QString &model) const;

    QList<Backend> m_backends;
    Radio *m_current = nullptr;
    QString m_currentModel;
};
