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
    Station &station() { return *m_station; }

    QString path(const QString &name) const;

    QTemporaryDir dir;
    RecordingNotifier notifier;
    // When set before start(), the station shows its boxes through this one instead.
    Notifier *boxes = nullptr;
    int terminations = 0;

private:
    std::unique_ptr<Station> m_station;
};
