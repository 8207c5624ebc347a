#include "platform/process_exit.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

void ExitProcessNow(int code) {
  std::fflush(nullptr);
#ifdef _WIN32
  ::ExitProcess(static_cast<UINT>(code));
#else
  std::_Exit(code);
#endif
}

}  // namespace platform
