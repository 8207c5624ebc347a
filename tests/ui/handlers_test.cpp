#include "ui/handlers.h"

#include <gtest/gtest.h>

#include "ui/form_description.h"

namespace {

TEST(Handlers, EveryNamedHandlerMustBeBound) {
  ui::FormDescription form;
  form.name = "fTest";
  form.onActivate = "FormActivate";
  form.onKeyDown = "FormKeyDown";
  form.controls.push_back({.name = "btn", .kind = ui::ControlKind::Button, .onClick = "btnClick"});

  ui::Handlers handlers;
  handlers.notify["FormActivate"] = [](ui::Sender) {};
  handlers.key["FormKeyDown"] = [](ui::Sender, std::uint16_t&, ui::ShiftState) {};
  try {
    handlers.CheckBindings(form);
    FAIL() << "a dangling binding was accepted";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "Handler \"btnClick\" of btn is not bound");
  }

  handlers.notify["btnClick"] = [](ui::Sender) {};
  EXPECT_NO_THROW(handlers.CheckBindings(form));
  // A key handler is not a click handler.
  form.controls[0].onClick = "FormKeyDown";
  EXPECT_THROW(handlers.CheckBindings(form), std::invalid_argument);
}

}  // namespace
