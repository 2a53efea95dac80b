#include "StdinReader.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

StdinReader::StdinReader(QObject *parent) : QObject(parent) {}

void StdinReader::start()
{
    if (fcntl(STDIN_FILENO, F_GETFL) < 0) {
        // No standard input at all (closed by the parent): nothing will ever come.
        finish();
        return;
    }
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StdinReader::readAvailable);
}

void StdinReader::readAvailable()
{
    char buffer[4096];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        finish();
        return;
    }
    m_pending.append(buffer, got);
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        emit lineRead(m_pending.left(end));
        m_pending.remove(0, end + 1);
    }
    if (m_pending.size() > MaxLineBytes) {
        emit lineRead(m_pending);
        m_pending.clear();
    }
}

void StdinReader::finish()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    // A last line without a line end still counts.
    if (!m_pending.isEmpty()) {
        emit lineRead(m_pending);
        m_pending.clear();
    }
    emit finished();
}
