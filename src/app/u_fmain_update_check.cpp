// The update check: run once, on the main window's first activation.
#include <exception>
#include <stdexcept>

#include "app/busy_cursor.h"
#include "app/final_step.h"
#include "app/u_fmain.h"
#include "app/vendor_url.h"
#include "app/version_code.h"
#include "net/http_client.h"
#include "platform/executable_path.h"

namespace app {

namespace {

constexpr char kInstalledExecutable[] = "Velmira.exe";
constexpr char kVersionServicePath[] = "/ws/infoVersion.php";
constexpr char kWebErrorText[] = "Erro ao acessar web. Tente novamente mais tarde";
constexpr char kFailurePrefix[] = "Erro ao acessar: ";

}  // namespace

void TfMain::FormActivate(ui::Sender) {
  // The design caption marks the first activation; later ones (a message box closing,
  // the user switching back) change nothing.
  if (Form().Caption() != kDesignCaption)
    return;
  Form().SetCaption(kMainCaption);

  // Whatever the outcome, the user can close the updater afterwards.
  FinalStep offerClose([this] {
    ui::Control& close = Control("btn_Close");
    close.Show();
    close.SetEnabled(true);
  });
  BusyCursor busy(application_);
  try {
    CheckForUpdate();
  } catch (const std::exception& error) {
    // Shown while the hourglass is still set; the closing steps follow once it is dismissed.
    application_.ShowMessage(std::string(kFailurePrefix) + error.what());
  } catch (...) {
    application_.ShowMessage(std::string(kFailurePrefix) + "Unknown exception");
  }
}

void TfMain::CheckForUpdate() {
  const std::string installed = GetBuildInfo(platform::ApplicationFolder() + kInstalledExecutable);

  const std::optional<VersionInfo> reply = QueryVersionInfo();
  ui::Control& message = Control("Label1");
  if (!reply) {
    ShowOutcome(kWebErrorText);
    message.Repaint();
    return;
  }
  message.SetText("");
  message.Show();
  if (reply->errorNumber != 0) {
    ShowOutcome(reply->errorText);
    return;
  }

  VWEB = reply->versionCode;
  // Computed before the comparison: a code that cannot be shown ends the check with an
  // error even when a download would have followed.
  const std::string shown = FormatVersionCode(VWEB);
  if (VersionCodesMatch(VWEB, installed)) {
    ShowOutcome("A versão mais recente (" + shown + ") já está instalada");
    return;
  }
  throw std::runtime_error("Downloading version " + shown + " is not available in this build");
}

// Outcomes that are not failures of the updater are written into the window, with the
// alert picture and "ERRO !" beside them.
void TfMain::ShowOutcome(std::string_view text) {
  Control("img_alert").Show();
  Control("lbl_alert").Show();
  ui::Control& message = Control("Label1");
  message.Show();
  message.SetText(text);
}

std::optional<VersionInfo> TfMain::QueryVersionInfo() {
  net::HttpClient client;
  const std::optional<std::string> body =
      client.PostForBody(VendorUrl() + kVersionServicePath, VersionQueryBody());
  return ReadVersionReply(body.value_or(std::string()));
}

}  // namespace app
