#pragma once
// The program's entry module: start-up, the event loop and shutdown.
#include "ui/application.h"

namespace app {

// Creates the data module, then (unless it requested termination) the main window,
// runs the event loop and shuts down. Returns the exit code, always 0.
int RunUpdater(ui::Application& application);

}  // namespace app
