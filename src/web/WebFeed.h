#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QStringList>
#include <QTimer>

class WebStation;

// What the page shows, as server-sent events: the station's state, the radio's memory list and
// the new log lines. Changes are found by comparing a small snapshot: at once after a change
// signal of the models that have one (the radio's state, the radio in use), and every
// PollPeriodMs for the rest (link and station variables without a signal of their own).
class WebFeed : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollPeriodMs = 100;
    // Log lines a page gets when it connects.
    static constexpr int InitialLogLines = 50;

    explicit WebFeed(WebStation &station, QObject *parent = nullptr);

    // The events a page gets when it connects: the state, the memory list, the last log lines.
    QByteArray initialEvents() const;
    // The state as the page shows it (the status file's fields and the panel's).
    QJsonObject pageState() const;

    static QByteArray event(const char *name, const QJsonObject &data);

    // Compares only while pages listen; a page that connects gets the whole state anyway.
    void setListened(bool listened);

signals:
    // One or more events, ready to be written to every page.
    void events(const QByteArray &text);

public slots:
    // A model changed: compared on the next pass of the event loop, once for a burst.
    void scheduleCheck();
    void check();

private:
    void followRadio();
    QJsonObject memoriesEvent() const;
    QByteArray logEvent(const QStringList &lines) const;
    QStringList newestLogLines(int count) const;

    WebStation &m_station;
    QTimer m_poll;
    QTimer m_soon;
    QJsonObject m_lastState;
    QStringList m_lastMemories;
    int m_lastCurrentMemory = -2;
    qint64 m_logSeen = 0;
    QObject *m_followed = nullptr;
};
