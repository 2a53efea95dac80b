#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <utility>

class Radio;

// The one place that knows which backend drives which configured model (MODEL= TMD700, TMD710,
// TMV71, TX16UD, HAMLIB). Backends are registered by name at start-up; the model chosen in the
// menu selects one, and everybody else asks for the current radio.
class RadioSelector : public QObject
{
    Q_OBJECT
public:
    void add(const QString &model, Radio *radio);
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
    QList<std::pair<QString, Radio *>> m_backends;
    Radio *m_current = nullptr;
    QString m_currentModel;
};
