#include "test_form.h"

#include <algorithm>

namespace ui::win32::testing {

ui::FormDescription MainWindowLikeForm() {
  using ui::ControlKind;
  constexpr unsigned kBottomRow = ui::kAnchorLeft | ui::kAnchorBottom;
  ui::FormDescription form;
  form.name = "fTest";
  form.caption = "fTest";
  form.bounds = {379, 165, 373, 182};
  form.onActivate = "FormActivate";
  form.onKeyDown = "FormKeyDown";
  form.controls = {
      {.name = "Image1",
       .kind = ControlKind::Picture,
       .bounds = {168, 8, 34, 34},
       .picture = "cloud_download.png"},
      {.name = "lbl_alert",
       .kind = ControlKind::Label,
       .bounds = {64, 33, 38, 15},
       .text = "ERRO !",
       .bold = true,
       .autoSize = true,
       .wordWrap = true},
      {.name = "Label1",
       .kind = ControlKind::Label,
       .bounds = {24, 48, 34, 15},
       .text = "Label1",
       .autoSize = true,
       .wordWrap = true,
       .wrapWidth = 320},
      {.name = "ProgressBar1", .kind = ControlKind::ProgressBar, .bounds = {24, 64, 328, 16}},
      {.name = "btn_Instalar",
       .kind = ControlKind::Button,
       .bounds = {24, 128, 72, 25},
       .text = "Instalar",
       .anchors = kBottomRow,
       .tabOrder = 3,
       .onClick = "InstalarClick"},
      {.name = "ProgressBar4",
       .kind = ControlKind::ProgressBar,
       .bounds = {99, 129, 102, 23},
       .anchors = kBottomRow},
      {.name = "btn_Abrir",
       .kind = ControlKind::Button,
       .bounds = {203, 128, 72, 25},
       .text = "Acessar",
       .anchors = kBottomRow,
       .tabOrder = 2,
       .onClick = "AbrirClick"},
      {.name = "btn_Close",
       .kind = ControlKind::Button,
       .bounds = {277, 128, 75, 25},
       .text = "Fecha&r",
       .anchors = kBottomRow,
       .tabOrder = 0,
       .onClick = "CloseClick"},
      {.name = "MainMenu1", .kind = ControlKind::MainMenu},
      {.name = "MenuItem1",
       .kind = ControlKind::MenuItem,
       .text = "&Arquivo",
       .parent = "MainMenu1"},
      {.name = "MenuItem2",
       .kind = ControlKind::MenuItem,
       .text = "Sai&r",
       .parent = "MenuItem1",
       .onClick = "CloseClick"},
  };
  return form;
}

ui::Handlers LoggingHandlers(HandlerLog& log) {
  ui::Handlers handlers;
  handlers.notify["FormActivate"] = [&log](ui::Sender sender) {
    log.events.push_back("activate " + std::string(sender));
    if (log.onActivate)
      log.onActivate();
  };
  for (const char* name : {"InstalarClick", "AbrirClick"}) {
    handlers.notify[name] = [&log, name](ui::Sender sender) {
      log.events.push_back(std::string(name) + " " + std::string(sender));
    };
  }
  handlers.notify["CloseClick"] = [&log](ui::Sender sender) {
    log.events.push_back("CloseClick " + std::string(sender));
    if (log.onClose)
      log.onClose();
  };
  handlers.key["FormKeyDown"] = [&log](ui::Sender, std::uint16_t& key, ui::ShiftState shift) {
    log.keys.emplace_back(key, shift);
    if (std::find(log.swallow.begin(), log.swallow.end(), key) != log.swallow.end())
      key = 0;
  };
  return handlers;
}

}  // namespace ui::win32::testing
