#include "app/u_fmain.h"

namespace app {

TfMain* fMain = nullptr;
std::array<bool, 1> ARR_BAIXOU{};
std::string VWEB;

TfMain::TfMain(ui::Application& application) : application_(application) {}

TfMain::~TfMain() {
  if (fMain == this)
    fMain = nullptr;
}

ui::Handlers TfMain::BindHandlers() {
  ui::Handlers handlers;
  auto notify = [this](void (TfMain::*method)(ui::Sender)) {
    return [this, method](ui::Sender sender) { (this->*method)(sender); };
  };
  handlers.notify["FormCreate"] = notify(&TfMain::FormCreate);
  handlers.notify["FormActivate"] = notify(&TfMain::FormActivate);
  handlers.notify["btn_CloseClick"] = notify(&TfMain::btn_CloseClick);
  handlers.notify["btn_InstalarClick"] = notify(&TfMain::btn_InstalarClick);
  handlers.notify["btn_AbrirClick"] = notify(&TfMain::btn_AbrirClick);
  handlers.key["FormKeyDown"] = [this](ui::Sender sender, std::uint16_t& key,
                                       ui::ShiftState shift) { FormKeyDown(sender, key, shift); };
  return handlers;
}

void TfMain::Load() {
  form_ = application_.CreateForm(Description(), BindHandlers());
}

void TfMain::Created() {
  FormCreate(Description().name);
}

void TfMain::FormCreate(ui::Sender) {
  Form().SetPosition(200, 200);
  Control("Label1").SetText("");
  FUnZip = std::make_unique<TPackageUnZipper>();
  FUnZip->OnProgress = [this](ui::Sender sender, double pct) { OnCompressProgress(sender, pct); };
  ARR_BAIXOU[0] = false;
}

void TfMain::FormKeyDown(ui::Sender Sender, std::uint16_t& Key, ui::ShiftState) {
  // The modifier keys are not looked at: Shift+Esc and Ctrl+Esc end the updater too.
  if (Key == ui::kKeyEscape)
    btn_CloseClick(Sender);
}

void TfMain::btn_CloseClick(ui::Sender) {
  application_.Halt(0);
}

// Installation and launch arrive with their own steps; their buttons stay hidden until then.
void TfMain::btn_InstalarClick(ui::Sender) {}

void TfMain::btn_AbrirClick(ui::Sender) {}

void TfMain::OnCompressProgress(ui::Sender, double) {}

}  // namespace app
