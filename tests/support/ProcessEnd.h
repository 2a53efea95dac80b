#pragma once

class QProcess;

// Ends a simulator or program a test started: SIGTERM, then a kill when it has not ended within
// `waitMs`. Nothing when it is not running.
void endProcess(QProcess &process, int waitMs);
