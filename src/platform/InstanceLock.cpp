#include "platform/InstanceLock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

InstanceLock::InstanceLock(const QString &directory)
    : m_directory(directory), m_lock(QDir(directory).filePath(QStringLiteral("Ivrelane.lock")))
{
    // Age alone never makes a lock stale: a station runs for months.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::acquire()
{
    QElapsedTimer waited;
    waited.start();
    int takenOver = 0;
    for (;;) {
        if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError)
            return true;
        qint64 pid = 0;
        QString host;
        QString application;
        if (m_lock.getLockInfo(&pid, &host, &application)) {
            // Qt takes the lock as held while its process number runs a program of the same
            // name. After a kill and a reboot that number may belong to another copy, in
            // another folder. The owner of a lock also holds the file's own lock, which goes
            // with its process: removing the file is refused while it does, and only then.
            if (takenOver < MaxTakeOvers && m_lock.removeStaleLockFile()) {
                ++takenOver;
                continue;
            }
            return false;
        }
        // A lock without its owner written: another copy is writing it this very moment, or a
        // copy was killed while writing it and nobody ever will. The first is over within a
        // moment; after that the lock is nobody's.
        if (waited.elapsed() >= UnwrittenLockWaitMs) {
            m_lock.removeStaleLockFile();
            return m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError;
        }
        QThread::msleep(50);
    }
}

QString InstanceLock::refusal() const
{
    return QStringLiteral("Ivrelane is already running in %1")
        .arg(QDir::toNativeSeparators(m_directory));
}
