// The update check of the first activation, through the whole updater on the toolkit
// without a display, against the vendor stand-in over real TLS.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "app/u_fmain.h"
#include "app/vendor_url.h"
#include "pe_builder/pe_builder.h"
#include "platform/executable_path.h"
#include "platform/file_path.h"
#include "scoped_environment.h"
#include "tools/temporary_folder.h"
#include "ui/headless/headless_application.h"
#include "ui/headless/headless_form.h"
#include "vendor_standin/vendor_standin.h"
#include "version_query_wire.h"

namespace {

using ::testing::ElementsAre;
using ui::headless::HeadlessApplication;

constexpr char kWebError[] = "Erro ao acessar web. Tente novamente mais tarde";

std::string Record(const std::string& fields) {
  return "[[{" + fields + "}]]";
}

// The service's reply when version 3.12.5 is current.
const std::string kCurrentIs3_12_5 =
    Record(R"("ID_ERRO":0,"DS_ERRO":"","VERSAO_ATUAL":"03012005")");

class UpdateCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    // The updater reads the installed version next to its own executable: here, the test
    // program's folder, shared by the tests of this program when they run side by side.
    velmira_ = platform::PathFromUtf8(platform::ApplicationFolder() + "Velmira.exe");
    lock_ = ::open((velmira_.string() + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
    ASSERT_GE(lock_, 0);
    ASSERT_EQ(::flock(lock_, LOCK_EX), 0);
    std::filesystem::remove(velmira_);
    app::VWEB.clear();
  }
  void TearDown() override {
    std::filesystem::remove(velmira_);
    if (lock_ >= 0)
      ::close(lock_);  // releases the lock
  }

  void InstallVelmira(pe_builder::Version version) {
    pe_builder::Options options;
    options.fileVersion = version;
    pe_builder::WritePe(velmira_, options);
  }

  void ServeReply(std::string body, int status = 200) {
    standin::Options options;
    options.caCertificatePath = CaPath();
    options.versionReplyBody = std::move(body);
    options.versionReplyStatus = status;
    StartServer(std::move(options));
  }

  void StartServer(standin::Options options) {
    options.caCertificatePath = CaPath();
    vendor_.reset();  // restores the address before the next one is set
    server_.reset();
    server_ = std::make_unique<standin::VendorStandIn>(std::move(options));
    server_->Start();
    vendor_ =
        std::make_unique<app_test::ScopedEnvironment>(app::kVendorUrlVariable, server_->Url());
  }

  // Creates the main window and activates it, as start-up does.
  ui::headless::HeadlessForm& RunCheck() { return RunCheckIn(app); }
  // The same in an application of the case's own, for tables of cases.
  static ui::headless::HeadlessForm& RunCheckIn(HeadlessApplication& application) {
    ui::CreateComponent(application, app::fMain);
    application.MainForm()->Show();
    return *application.MainForm();
  }

  // One test CA per process: test programs may run side by side.
  static std::string CaPath() {
    static const tools_test::TemporaryFolder folder;
    return folder.File("ca.pem");
  }

  std::vector<std::string> Visible() {
    std::vector<std::string> names;
    for (const char* name : {"img_alert", "lbl_alert", "Label1", "ProgressBar1", "lbl_aviso",
                             "btn_Instalar", "ProgressBar4", "btn_Abrir", "btn_Close"}) {
      if (app.MainForm()->Find(name).Visible())
        names.push_back(name);
    }
    return names;
  }

  void ExpectCheckEndedWithCloseOffered() {
    EXPECT_EQ(app.MainForm()->Caption(), "Dostra - Atualização de Versão");
    EXPECT_EQ(app.CurrentCursor(), ui::Cursor::Default);
    EXPECT_TRUE(app.MainForm()->Find("btn_Close").Enabled());
  }

  // Trust the stand-in's test CA for this process.
  app_test::ScopedEnvironment trust_{"SSL_CERT_FILE", CaPath()};
  std::filesystem::path velmira_;
  int lock_ = -1;
  std::unique_ptr<standin::VendorStandIn> server_;
  std::unique_ptr<app_test::ScopedEnvironment> vendor_;
  HeadlessApplication app;
};

TEST_F(UpdateCheck, MatchingCodeSaysTheLatestVersionIsInstalled) {
  InstallVelmira({3, 12, 5, 7});
  ServeReply(kCurrentIs3_12_5);
  auto& form = RunCheck();

  EXPECT_EQ(form.Find("Label1").Text(), "A versão mais recente (3.12.5) já está instalada");
  EXPECT_THAT(Visible(), ElementsAre("img_alert", "lbl_alert", "Label1", "btn_Close"));
  EXPECT_EQ(app::VWEB, "03012005");
  EXPECT_TRUE(app.Messages().empty());
  ExpectCheckEndedWithCloseOffered();
}

TEST_F(UpdateCheck, NoReplyIsTheWebErrorWithoutAMessageBox) {
  struct Case {
    const char* what;
    std::string reply;
    int status;
  };
  const Case cases[] = {
      {"empty body", "", 200},
      {"404 without body", "", 404},
      {"blanks and line breaks", " \r\n\t \n", 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HeadlessApplication fresh;
    ServeReply(c.reply, c.status);
    auto& form = RunCheckIn(fresh);
    EXPECT_EQ(form.Find("Label1").Text(), kWebError);
    EXPECT_TRUE(form.Find("img_alert").Visible());
    EXPECT_TRUE(form.Find("lbl_alert").Visible());
    EXPECT_GE(form.Find("Label1").Repaints(), 1) << "painted at once";
    EXPECT_TRUE(fresh.Messages().empty());
    EXPECT_TRUE(form.Find("btn_Close").Visible());
    fresh.DestroyComponents();
  }
}

TEST_F(UpdateCheck, UnreachableOrUntrustedServiceIsTheWebError) {
  {
    SCOPED_TRACE("nothing listens");
    app_test::ScopedEnvironment vendor(app::kVendorUrlVariable, app_test::kUnreachableVendor);
    HeadlessApplication fresh;
    EXPECT_EQ(RunCheckIn(fresh).Find("Label1").Text(), kWebError);
    fresh.DestroyComponents();
  }
  {
    SCOPED_TRACE("self-signed certificate nobody trusts");
    standin::Options options;
    options.untrustedCertificate = true;
    options.versionReplyBody = kCurrentIs3_12_5;
    StartServer(std::move(options));
    auto& form = RunCheck();
    EXPECT_EQ(form.Find("Label1").Text(), kWebError);
    EXPECT_TRUE(server_->RecordedRequests().empty())
        << "nothing is sent over an unverified channel";
  }
}

TEST_F(UpdateCheck, ServiceErrorShowsItsTextOnTwoLines) {
  InstallVelmira({3, 12, 5, 0});
  ServeReply(Record(R"("ID_ERRO":3,"DS_ERRO":"Cliente bloqueado.\\nProcure o suporte.")"));
  auto& form = RunCheck();

  EXPECT_EQ(form.Find("Label1").Text(), "Cliente bloqueado.\rProcure o suporte.");
  EXPECT_THAT(Visible(), ElementsAre("img_alert", "lbl_alert", "Label1", "btn_Close"));
  EXPECT_EQ(app::VWEB, "");
  EXPECT_TRUE(app.Messages().empty());
  ExpectCheckEndedWithCloseOffered();
}

TEST_F(UpdateCheck, AnUnreadableReplyOrCodeIsReportedInAMessageBox) {
  struct Case {
    const char* what;
    std::string reply;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"an HTML error page", "<html><body>Internal error</body></html>", 500,
       "Erro ao acessar: Invalid character at line 1, pos 1: '<'"},
      {"a code that cannot be displayed",
       Record(R"("ID_ERRO":0,"DS_ERRO":"","VERSAO_ATUAL":"03A12005")"), 200,
       "Erro ao acessar: \"A12\" is an invalid integer"},
      {"no DS_ERRO", Record(R"("ID_ERRO":0,"VERSAO_ATUAL":"03012005")"), 200,
       "Erro ao acessar: Path \"DS_ERRO\" invalid: element \"DS_ERRO\" not found."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HeadlessApplication fresh;
    std::vector<std::string> closeStateDuringBox;
    fresh.onMessage = [&](const ui::headless::RecordedBox&) {
      const auto& close = fresh.MainForm()->Find("btn_Close");
      closeStateDuringBox.push_back(close.Visible() ? "visible" : "hidden");
    };
    ServeReply(c.reply, c.status);
    auto& form = RunCheckIn(fresh);

    ASSERT_EQ(fresh.Messages().size(), 1u);
    EXPECT_EQ(fresh.Messages()[0].text, c.message);
    EXPECT_EQ(fresh.Messages()[0].cursorWhileShown, ui::Cursor::Hourglass);
    EXPECT_THAT(closeStateDuringBox, ElementsAre("hidden"));
    EXPECT_EQ(fresh.CurrentCursor(), ui::Cursor::Default);
    EXPECT_TRUE(form.Find("btn_Close").Visible());
    EXPECT_TRUE(form.Find("btn_Close").Enabled());
    EXPECT_FALSE(form.Find("img_alert").Visible());
    fresh.DestroyComponents();
  }
}

TEST_F(UpdateCheck, ThePostIsSentOnceByteForByte) {
  InstallVelmira({3, 12, 5, 0});
  ServeReply(kCurrentIs3_12_5);
  auto& form = RunCheck();
  form.Activate();  // switching away and back
  form.Activate();

  const std::string expected =
      wire_test::QueryRequest("localhost:" + std::to_string(server_->Port()));
  EXPECT_THAT(server_->RecordedRequests(), ElementsAre(expected));
}

TEST_F(UpdateCheck, WithoutAnInstalledVersionADifferentCodeIsDue) {
  // No Velmira.exe: the installed code is "1.0.0", which matches nothing the service sends.
  ServeReply(kCurrentIs3_12_5);
  RunCheck();
  EXPECT_EQ(app::VWEB, "03012005");
  ASSERT_EQ(app.Messages().size(), 1u) << "the download is not in this build yet";
  EXPECT_THAT(app.Messages()[0].text, ::testing::StartsWith("Erro ao acessar: "));
  EXPECT_FALSE(app.MainForm()->Find("img_alert").Visible());
}

}  // namespace
