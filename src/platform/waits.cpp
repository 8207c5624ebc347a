#include "platform/waits.h"

#include <chrono>
#include <thread>

namespace platform {

void SleepMilliseconds(int milliseconds) {
  if (milliseconds > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
