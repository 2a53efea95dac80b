#include "hamlib/HamlibPortGuard.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

void HamlibPortGuard::publish(int fd, const QByteArray &unkey)
{
    const QMutexLocker lock(&m_mutex);
    m_fd = fd;
    m_unkey = unkey;
    m_cut = false;
}

void HamlibPortGuard::withdraw()
{
    const QMutexLocker lock(&m_mutex);
    m_fd = -1;
}

bool HamlibPortGuard::unkeyNow()
{
    const QMutexLocker lock(&m_mutex);
    if (m_fd < 0 || m_cut || m_unkey.isEmpty())
        return false;
    // A line held back by its flow control must not block the window: the unkey waits for
    // nothing, it goes when there is room.
    pollfd out{m_fd, POLLOUT, 0};
    if (::poll(&out, 1, 0) != 1 || !(out.revents & POLLOUT))
        return false;
    return ::write(m_fd, m_unkey.constData(), size_t(m_unkey.size())) == m_unkey.size();
}

void HamlibPortGuard::cutOff()
{
    const QMutexLocker lock(&m_mutex);
    if (m_fd < 0 || m_cut)
        return;
    // The descriptor stays Hamlib's (it closes it as ever), but now on the null device.
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null < 0)
        return;
    m_cut = ::dup2(null, m_fd) == m_fd;
    ::close(null);
}
