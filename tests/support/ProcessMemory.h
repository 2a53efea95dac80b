#pragma once

#include <QtGlobal>

// Resident memory of this process, from /proc/self/status, for tests that bound growth.
namespace ProcessMemory {

// VmRSS in kibibytes; -1 when it cannot be read.
qint64 residentKiB();

} // namespace ProcessMemory
