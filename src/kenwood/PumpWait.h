#pragma once

// Waits `milliseconds` on the monotonic clock while window and timer events go on being
// processed, so the window stays live. Handlers run from here may themselves wait.
void PumpWait(int milliseconds);
