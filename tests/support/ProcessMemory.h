#pragma once

#include <QtGlobal>

// Resident memory of this process (or of another one, by its id), from /proc/.../status, for
// tests and benches that bound growth.
namespace ProcessMemory {

// VmRSS in kibibytes; -1 when it cannot be read.
qint64 residentKiB();
qint64 residentKiB(qint64 processId);

} // namespace ProcessMemory
