#pragma once

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <utility>

class Radio;

// The one place that knows which backend drives which configured model (MODEL= TMD700, TMD710,
// TMV71, TX16UD, HAMLIB). Backends are registered by name at start-up; choosing a model makes its
// radio current (`currentChanged`, which the windows follow) and opens it, and a change of radio
// releases the one let go first. Everybody else asks for the current radio.
class RadioSelector : public QObject
{
    Q_OBJECT
public:
    // `activate` runs between the selection and open(), for a radio whose open() does not yet
    // bring up everything it needs.
    void add(const QString &model, Radio *radio, std::function<void()> activate = {});
    // Makes `model` current and opens its radio: the start-up choice of the configured model
    // (MODEL=), or a model of the radio in use. False when no backend drives it.
    bool choose(const QString &model);
    // The operator's choice of another model (the Model menu, the Hamlib window's OK): the radio
    // in use is released first (unkeyed, scanning stopped, its port let go), then `model` chosen.
    // Choosing the model in use again releases nothing. Models chosen while a release is under
    // way wait for it, and the last one is taken.
    QCoro::Task<> changeTo(QString model);
    // Whether choosing `model` now would release the radio in use (or wait for a release).
    bool changesRadio(const QString &model) const;
    // The program ends: a change under way takes no model once its release is over.
    void cancelChange() { ++m_generation; }
    // Makes `model` current without opening it; false when no backend drives it (the current
    // one stays).
    bool select(const QString &model);
    Radio *current() const { return m_current; }
    // Every backend once.
    QList<Radio *> all() const;
    const QString &currentModel() const { return m_currentModel; }
    // Whether `model` is the current one.
    bool isCurrent(const QString &model) const { return m_currentModel == model; }

signals:
    // Another backend, or another model of the same one, became current.
    void currentChanged();

private:
    struct Backend
    {
        QString model;
        Radio *radio;
        std::function<void()> activate;
    };
    const Backend *find(const QString &model) const;

    QList<Backend> m_backends;
    bool m_releasing = false;
    QString m_asked;      // the model last asked for while releasing
    int m_generation = 0; // cancelChange() counts
    Radio *m_current = nullptr;
    QString m_currentModel;
};
