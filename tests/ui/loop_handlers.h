#pragma once
// Handlers of the event-loop tests, the same on every toolkit: the activation is
// recorded, "LongClick" is a long step that pumps messages between its parts, and
// "FailClick" throws.
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/application.h"

namespace ui_test {

struct Recorder {
  std::vector<std::string> events;
};

inline ui::Handlers LoopHandlers(ui::Application& app, Recorder& log) {
  ui::Handlers handlers;
  handlers.notify["FormActivate"] = [&log](ui::Sender) { log.events.push_back("activate"); };
  handlers.notify["LongClick"] = [&app, &log](ui::Sender) {
    for (int part = 0; part < 3; ++part) {
      log.events.push_back("part " + std::to_string(part));
      app.ProcessMessages();
    }
    log.events.push_back("long handler ended");
  };
  handlers.notify["FailClick"] = [](ui::Sender) { throw std::runtime_error("Something failed"); };
  return handlers;
}

}  // namespace ui_test
