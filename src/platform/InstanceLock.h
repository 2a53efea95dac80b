#pragma once

#include <QLockFile>
#include <QString>

// One copy of the program per configuration folder: two would fight over the radio, the serial
// port and the files. The lock is a file in the folder, held while the program runs; a lock left
// by a copy that was killed is taken over (its process is gone, or its number now belongs to
// another process, another copy in another folder included), also one killed before it had
// written its process number.
class InstanceLock
{
public:
    // How long a lock file without its owner's details may be in the writing.
    static constexpr int UnwrittenLockWaitMs = 1000;
    // Left-over locks removed in one start before giving up: other copies starting at the same
    // moment may take the folder in between.
    static constexpr int MaxTakeOvers = 3;

    explicit InstanceLock(const QString &directory);

    // False only when another running copy holds the folder; then nothing in it was touched. A
    // folder where no lock can be written at all does not stop the program.
    bool acquire();
    // "Ivrelane is already running in <folder>".
    QString refusal() const;

private:
    QString m_directory;
    QLockFile m_lock;
};
