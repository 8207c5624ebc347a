#pragma once
// The ways out of the updater end the process from inside the event loop, with exit
// code 0. A loop that returns instead is a fault, told apart by its own exit code and
// message.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "ui/application.h"

namespace ui_test {

// In a child process: `before` sets the scene (queued input, timed steps), then the
// loop runs and must end the process itself.
inline void ExpectRunEndsTheProcess(ui::Application& app, const std::function<void()>& before) {
  EXPECT_EXIT(
      {
        before();
        app.Run();
        std::fprintf(stderr, "the loop returned\n");
        std::exit(3);
      },
      ::testing::ExitedWithCode(0), ::testing::Not(::testing::HasSubstr("the loop returned")));
}

}  // namespace ui_test
