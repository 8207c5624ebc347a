#pragma once
// The main window: its design, its own handlers and the globals of its unit.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/package_extractor.h"
#include "app/version_query.h"
#include "ui/application.h"

namespace app {

class TfMain : public ui::Component {
 public:
  explicit TfMain(ui::Application& application);
  ~TfMain() override;

  // The window's design: every control with its design values and handler names.
  static const ui::FormDescription& Description();

  void Load() override;
  void Created() override;

  ui::Form& Form() { return *form_; }
  ui::Control& Control(std::string_view name) { return form_->Find(name); }

  // Handlers, bound by name from the design.
  void FormCreate(ui::Sender Sender);
  void FormActivate(ui::Sender Sender);
  void FormKeyDown(ui::Sender Sender, std::uint16_t& Key, ui::ShiftState Shift);
  void btn_CloseClick(ui::Sender Sender);
  void btn_InstalarClick(ui::Sender Sender);
  void btn_AbrirClick(ui::Sender Sender);
  void OnCompressProgress(ui::Sender Sender, double Pct);

  // The vendor's answer to the version query, or nothing when no reply came.
  std::optional<VersionInfo> QueryVersionInfo();

  std::unique_ptr<TPackageUnZipper> FUnZip;

 private:
  // The update check, run on the first activation; raises what FormActivate reports.
  void CheckForUpdate();
  void ShowOutcome(std::string_view text);

  ui::Handlers BindHandlers();

  ui::Application& application_;
  std::unique_ptr<ui::Form> form_;
};

// The window's caption from its design; the update check runs only while it stands.
inline constexpr char kDesignCaption[] = "fMain";
inline constexpr char kMainCaption[] = "Dostra - Atualização de Versão";

extern TfMain* fMain;
// Element 0: the package has been downloaded in this run.
extern std::array<bool, 1> ARR_BAIXOU;
// The version code reported by the service.
extern std::string VWEB;

}  // namespace app
