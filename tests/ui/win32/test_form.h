#pragma once
// A form shaped like the updater's main window, for tests of the Win32 back end on
// live windows.
#include <string>
#include <vector>

#include "ui/application.h"

namespace ui::win32::testing {

ui::FormDescription MainWindowLikeForm();

// Handlers that record what reached them.
struct HandlerLog {
  std::vector<std::string> events;
  std::vector<std::pair<std::uint16_t, ui::ShiftState>> keys;
  // Keys the key handler sets to 0.
  std::vector<std::uint16_t> swallow;
  std::function<void()> onActivate;
  std::function<void()> onClose;
};

ui::Handlers LoggingHandlers(HandlerLog& log);

}  // namespace ui::win32::testing
