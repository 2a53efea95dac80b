#include "app/InstanceLock.h"

#include <QDir>

InstanceLock::InstanceLock(const QString &directory)
    : m_directory(directory), m_lock(QDir(directory).filePath(QStringLiteral("Ivrelane.lock")))
{
    // Age alone never makes a lock stale: a station runs for months.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::acquire()
{
    return m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError;
}

QString InstanceLock::refusal() const
{
    return QStringLiteral("Ivrelane is already running in %1")
        .arg(QDir::toNativeSeparators(m_directory));
}
