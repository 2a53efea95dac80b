#pragma once

#include <QString>

// Opens a pseudo-terminal in raw mode with a non-blocking master, as a radio's side of a serial
// line; returns the slave's path ("/dev/pts/N"), or an empty text when none could be opened
// (then *master and *slave stay -1).
QString openRawPty(int *master, int *slave);
