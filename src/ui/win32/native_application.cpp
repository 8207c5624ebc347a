#include "ui/application.h"
#include "ui/win32/win32_application.h"

namespace ui {

// The program reads no command line.
std::unique_ptr<Application> MakeNativeApplication(int&, char**) {
  return std::make_unique<win32::Win32Application>();
}

}  // namespace ui
