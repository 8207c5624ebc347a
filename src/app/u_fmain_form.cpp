// The main window's design values. Positions are client-area pixels at 96 dpi.
#include "app/u_fmain.h"

namespace app {

namespace {

using ui::ControlDescription;
using ui::ControlKind;

constexpr unsigned kBottomRow = ui::kAnchorLeft | ui::kAnchorBottom;

ui::FormDescription MakeDescription() {
  ui::FormDescription form;
  form.name = "fMain";
  form.caption = kDesignCaption;
  form.bounds = {379, 165, 373, 182};
  form.sizeable = true;
  form.minimizeBox = false;
  form.maximizeBox = false;
  form.keyPreview = true;
  form.onCreate = "FormCreate";
  form.onActivate = "FormActivate";
  form.onKeyDown = "FormKeyDown";

  auto add = [&form](ControlDescription control) { form.controls.push_back(std::move(control)); };

  add({.name = "Image1",
       .kind = ControlKind::Picture,
       .bounds = {168, 8, 34, 34},
       .picture = "cloud_download.png"});
  add({.name = "img_alert",
       .kind = ControlKind::Picture,
       .bounds = {24, 16, 32, 32},
       .visible = false,
       .picture = "database_alert.png"});
  add({.name = "lbl_alert",
       .kind = ControlKind::Label,
       .bounds = {64, 33, 38, 15},
       .text = "ERRO !",
       .visible = false,
       .bold = true,
       .autoSize = true,
       .wordWrap = true});
  add({.name = "Label1",
       .kind = ControlKind::Label,
       .bounds = {24, 48, 34, 15},
       .text = "Label1",
       .visible = false,
       .autoSize = true,
       .wordWrap = true,
       .wrapWidth = 320});
  add({.name = "ProgressBar1",
       .kind = ControlKind::ProgressBar,
       .bounds = {24, 64, 328, 16},
       .visible = false});
  add({.name = "lbl_aviso",
       .kind = ControlKind::Label,
       .bounds = {24, 106, 230, 15},
       .text = "A nova versão está pronta para ser instalada",
       .visible = false,
       .autoSize = true});
  add({.name = "btn_Instalar",
       .kind = ControlKind::Button,
       .bounds = {24, 128, 72, 25},
       .text = "Instalar",
       .anchors = kBottomRow,
       .tabOrder = 3,
       .visible = false,
       .onClick = "btn_InstalarClick"});
  add({.name = "ProgressBar4",
       .kind = ControlKind::ProgressBar,
       .bounds = {99, 129, 102, 23},
       .anchors = kBottomRow,
       .visible = false});
  add({.name = "btn_Abrir",
       .kind = ControlKind::Button,
       .bounds = {203, 128, 72, 25},
       .text = "Acessar",
       .anchors = kBottomRow,
       .tabOrder = 2,
       .visible = false,
       .onClick = "btn_AbrirClick"});
  add({.name = "btn_Close",
       .kind = ControlKind::Button,
       .bounds = {277, 128, 75, 25},
       .text = "Fecha&r",
       .anchors = kBottomRow,
       .tabOrder = 0,
       .visible = false,
       .enabled = false,
       .onClick = "btn_CloseClick"});
  add({.name = "MainMenu1", .kind = ControlKind::MainMenu});
  add({.name = "MenuItem1",
       .kind = ControlKind::MenuItem,
       .text = "&Arquivo",
       .parent = "MainMenu1"});
  add({.name = "MenuItem2",
       .kind = ControlKind::MenuItem,
       .text = "Sai&r",
       .parent = "MenuItem1",
       .onClick = "btn_CloseClick"});
  return form;
}

}  // namespace

const ui::FormDescription& TfMain::Description() {
  static const ui::FormDescription description = MakeDescription();
  return description;
}

}  // namespace app
