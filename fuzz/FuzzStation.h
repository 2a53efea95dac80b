#pragma once

#include "core/Notifier.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class Station;

// Counts message boxes instead of showing them; keeps no text, so a long run stays flat.
class CountingNotifier : public Notifier
{
public:
    void information(const QString &) override { ++messages; }
    void warning(const QString &) override { ++messages; }
    void error(const QString &) override { ++messages; }
    void question(const QString &, std::function<void(bool)> answered) override
    {
        ++messages;
        answered(true);
    }
    void beep() override { ++beeps; }

    long long messages = 0;
    long long beeps = 0;
};

class MemoryParallelPort;

// One whole station for the life of a fuzzing process: the offscreen application is created
// once, the station lives in a temporary program folder and starts from the configuration lines
// given on first use. The parallel port is held in memory; no serial port is configured, so a
// Kenwood exchange ends at once as a time-out.
class FuzzStation
{
public:
    static FuzzStation &instance(const QStringList &configuration = {});

    Station &station() { return *m_station; }
    CountingNotifier &notifier() { return m_notifier; }
    MemoryParallelPort &parallelPort() { return *m_port; }
    QString path(const QString &name) const;

    // The lists that reading a configuration fills back to what start-up leaves before reading
    // the file: the code table holds its header, the generic channel list 40 empty channels.
    void resetLists();

    // Runs the event loop briefly, so queued work of the previous input does not pile up.
    static void processEvents();

private:
    explicit FuzzStation(const QStringList &configuration);

    QTemporaryDir m_dir;
    CountingNotifier m_notifier;
    std::shared_ptr<MemoryParallelPort> m_port;
    std::unique_ptr<Station> m_station;
};

// The bytes of one input as Qt sees them, without a copy.
inline QByteArray fuzzBytes(const unsigned char *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}
