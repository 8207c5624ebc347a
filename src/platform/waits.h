#pragma once

namespace platform {

// Blocks the calling thread for the given time.
void SleepMilliseconds(int milliseconds);

}  // namespace platform
