#pragma once

#include "app/Station.h"
#include "support/RecordingNotifier.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A whole station in a temporary program folder, with message boxes recorded instead of shown
// and no process exit at shut-down. Start-up runs only when start() is called.
class StationFixture
{
public:
    StationFixture();

    // Writes "Ivrelane.ini" (header added) before the station is created.
    void writeConfiguration(const QStringList &lines);

    // Creates the station and runs start-up.
    Station &start();
    // The same, with "Ivrelane.ini" written from `configuration` first.
    Station &start(const QStringList &configuration);
    Station &station() { return *m_station; }

    QString path(const QString &name) const;
    // The /dev-style name of the radio's serial link (a simulator's pty is linked there).
    QString radioLink() const { return path(QStringLiteral("dev/ttyV0")); }
    // The lines for a Kenwood `model` on radioLink().
    QStringList kenwoodLines(const QString &model) const;
    // The lines that connect the station at start to a relay server on this machine.
    static QStringList serverLines(quint16 port);

    // The traffic the station handed to its traffic line since start or the last clearTraffic
    // (its end only, so that a flood does not grow the test's memory).
    QString traffic() const { return m_traffic; }
    void clearTraffic() { m_traffic.clear(); }
    // Waits until traffic() contains `text`.
    bool waitForTraffic(const QString &text, int timeoutMs = 10'000);

    QTemporaryDir dir;
    RecordingNotifier notifier;
    // When set before start(), the station shows its boxes through this one instead.
    Notifier *boxes = nullptr;
    int terminations = 0;

private:
    std::unique_ptr<Station> m_station;
    QString m_traffic;
};
