#pragma once
// The cursor rule of long handlers: the hourglass while the work runs, the default
// cursor again however the handler ends.
#include "ui/application.h"

namespace app {

class BusyCursor {
 public:
  explicit BusyCursor(ui::Application& application) : application_(application) {
    application_.SetCursor(ui::Cursor::Hourglass);
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
  ~BusyCursor() { application_.SetCursor(ui::Cursor::Default); }

 private:
  ui::Application& application_;
};

}  // namespace app
