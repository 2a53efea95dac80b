#include "support/RawPty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>

QString openRawPty(int *master, int *slave)
{
    char name[256] = {};
    if (::openpty(master, slave, name, nullptr, nullptr) != 0) {
        *master = *slave = -1;
        return QString();
    }
    termios raw = {};
    ::tcgetattr(*slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(*slave, TCSANOW, &raw);
    ::fcntl(*master, F_SETFL, ::fcntl(*master, F_GETFL) | O_NONBLOCK);
    return QString::fromLocal8Bit(name);
}
