// The form as live windows: layout read back from the HWNDs, anchors, wrapping labels,
// tab order, fonts and the menu bar.
#include <windows.h>

#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "test_form.h"
#include "ui/win32/win32_application.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_form.h"

namespace {

using ui::win32::Win32Application;
using ui::win32::Win32Control;
using ui::win32::Win32Form;
using namespace ui::win32::testing;

class Win32FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = app.CreateForm(MainWindowLikeForm(), LoggingHandlers(log));
    form->SetPosition(200, 200);
  }
  Win32Form& win32() { return static_cast<Win32Form&>(*form); }
  HWND window() { return win32().Window(); }
  HWND child(const char* name) { return static_cast<Win32Control&>(form->Find(name)).Window(); }
  SIZE ClientSize() {
    RECT client{};
    ::GetClientRect(window(), &client);
    return {client.right, client.bottom};
  }
  void ResizeClientBy(int dx, int dy) {
    RECT outer{};
    ::GetWindowRect(window(), &outer);
    ::SetWindowPos(window(), nullptr, 0, 0, outer.right - outer.left + dx,
                   outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  LOGFONTW FontOf(const char* name) {
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(::SendMessageW(child(name), WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr) << name;
    ::GetObjectW(handle, sizeof(font), &font);
    return font;
  }

  Win32Application app;
  HandlerLog log;
  std::unique_ptr<ui::Form> form;
};

TEST_F(Win32FormTest, LaysOutTheDesignInClientPixelsBelowTheMenuBar) {
  EXPECT_FALSE(form->Visible()) << "shown only by Run";
  EXPECT_EQ(form->Caption(), "fTest");
  RECT outer{};
  ::GetWindowRect(window(), &outer);
  EXPECT_EQ(outer.left, 200);
  EXPECT_EQ(outer.top, 200);
  EXPECT_EQ(form->Left(), 200);
  EXPECT_EQ(form->Top(), 200);
  ASSERT_NE(::GetMenu(window()), nullptr);
  const SIZE client = ClientSize();
  EXPECT_EQ(client.cx, 373);
  EXPECT_EQ(client.cy, 182);
  POINT origin{0, 0};
  ::ClientToScreen(window(), &origin);
  EXPECT_GT(origin.y - outer.top, ::GetSystemMetrics(SM_CYCAPTION)) << "the menu bar is above";

  const LONG style = ::GetWindowLongW(window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);

  // Controls with a fixed size sit exactly at their design bounds; labels at their
  // design position.
  for (const auto& design : form->Description().controls) {
    if (design.kind == ui::ControlKind::MainMenu || design.kind == ui::ControlKind::MenuItem)
      continue;
    SCOPED_TRACE(design.name);
    const ui::Bounds live = form->Find(design.name).CurrentBounds();
    EXPECT_EQ(live.left, design.bounds.left);
    EXPECT_EQ(live.top, design.bounds.top);
    if (design.kind != ui::ControlKind::Label) {
      EXPECT_EQ(live.width, design.bounds.width);
      EXPECT_EQ(live.height, design.bounds.height);
    }
  }
  for (const char* button : {"btn_Instalar", "btn_Abrir", "btn_Close"}) {
    EXPECT_EQ(::GetWindowLongW(child(button), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON)
        << button << " must not be a default button";
  }
}

TEST_F(Win32FormTest, TheBottomRowFollowsTheBottomEdgeOnResize) {
  ResizeClientBy(60, 40);
  ASSERT_EQ(ClientSize().cy, 182 + 40);
  for (const auto& design : form->Description().controls) {
    if (design.kind == ui::ControlKind::MainMenu || design.kind == ui::ControlKind::MenuItem)
      continue;
    SCOPED_TRACE(design.name);
    const ui::Bounds live = form->Find(design.name).CurrentBounds();
    const bool bottomRow = design.anchors & ui::kAnchorBottom;
    EXPECT_EQ(live.top, design.bounds.top + (bottomRow ? 40 : 0));
    EXPECT_EQ(live.left, design.bounds.left) << "no control is anchored right";
  }
  ResizeClientBy(-60, -40);
  EXPECT_EQ(form->Find("btn_Close").CurrentBounds(), (ui::Bounds{277, 128, 75, 25}));
}

TEST_F(Win32FormTest, AWrappingLabelStaysWithin320PixelsAndGrowsDownward) {
  ui::Control& label = form->Find("Label1");
  label.SetText("x");
  const ui::Bounds oneLine = label.CurrentBounds();
  EXPECT_GT(oneLine.height, 0);

  label.SetText(
      "O servidor de atualizações está em manutenção programada; tente novamente mais tarde ou "
      "fale com o suporte técnico da Dostra para mais informações");
  const ui::Bounds wrapped = label.CurrentBounds();
  EXPECT_EQ(wrapped.left, 24);
  EXPECT_EQ(wrapped.top, 48) << "grows downward only";
  EXPECT_LE(wrapped.width, 320);
  EXPECT_GT(wrapped.width, 200);
  EXPECT_GE(wrapped.height, 2 * oneLine.height);

  // A line break from the service's text starts a new line, whatever its form.
  label.SetText("primeira\rsegunda\nterceira");
  EXPECT_EQ(label.CurrentBounds().height, 3 * oneLine.height);

  label.SetText("");
  EXPECT_EQ(label.CurrentBounds().height, oneLine.height) << "an empty label keeps one line";
  EXPECT_EQ(label.Text(), "");
}

TEST_F(Win32FormTest, TheTabOrderFollowsTheDesign) {
  for (const char* button : {"btn_Instalar", "btn_Abrir", "btn_Close"})
    form->Find(button).Show();
  const HWND close = child("btn_Close");
  const HWND abrir = child("btn_Abrir");
  const HWND instalar = child("btn_Instalar");
  EXPECT_EQ(::GetNextDlgTabItem(window(), close, FALSE), abrir);
  EXPECT_EQ(::GetNextDlgTabItem(window(), abrir, FALSE), instalar);
  EXPECT_EQ(::GetNextDlgTabItem(window(), instalar, FALSE), close);
}

TEST_F(Win32FormTest, OnlyTheAlertLabelIsBoldOtherwiseOneFont) {
  const LOGFONTW bold = FontOf("lbl_alert");
  const LOGFONTW regular = FontOf("Label1");
  EXPECT_EQ(bold.lfWeight, FW_BOLD);
  EXPECT_LT(regular.lfWeight, FW_BOLD);
  EXPECT_STREQ(bold.lfFaceName, regular.lfFaceName);
  EXPECT_EQ(bold.lfHeight, regular.lfHeight);
  const LOGFONTW button = FontOf("btn_Close");
  EXPECT_STREQ(button.lfFaceName, regular.lfFaceName);
  EXPECT_EQ(button.lfWeight, regular.lfWeight);
}

TEST_F(Win32FormTest, MenuBarHoldsArquivoWithSair) {
  HMENU bar = ::GetMenu(window());
  ASSERT_EQ(::GetMenuItemCount(bar), 1);
  wchar_t text[64]{};
  ::GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Arquivo");
  HMENU arquivo = ::GetSubMenu(bar, 0);
  ASSERT_NE(arquivo, nullptr);
  ASSERT_EQ(::GetMenuItemCount(arquivo), 1);
  ::GetMenuStringW(arquivo, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Sai&r");

  // Choosing the item runs its click handler, with the item as the sender.
  ::SendMessageW(window(), WM_COMMAND, MAKEWPARAM(::GetMenuItemID(arquivo, 0), 0), 0);
  EXPECT_THAT(log.events, ::testing::ElementsAre("CloseClick MenuItem2"));

  form->Find("MenuItem2").SetEnabled(false);
  EXPECT_TRUE(::GetMenuState(arquivo, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(form->Find("MenuItem2").Enabled());
}

TEST_F(Win32FormTest, ControlsReportTheirLiveState) {
  ui::Control& close = form->Find("btn_Close");
  EXPECT_TRUE(close.Visible()) << "visible by design even while the form is hidden";
  close.Hide();
  EXPECT_FALSE(::GetWindowLongW(child("btn_Close"), GWL_STYLE) & WS_VISIBLE);
  close.SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(child("btn_Close")));
  close.SetText("Atualização");
  EXPECT_EQ(close.Text(), "Atualização");

  ui::Control& bar = form->Find("ProgressBar4");
  bar.SetPosition(42);
  EXPECT_EQ(bar.Position(), 42);
  EXPECT_EQ(::SendMessageW(child("ProgressBar4"), PBM_GETRANGE, FALSE, 0), 100);

  form->SetCaption("Dostra - Atualização de Versão");
  EXPECT_EQ(form->Caption(), "Dostra - Atualização de Versão");
  EXPECT_THROW(form->Find("nothing"), std::out_of_range);
}

}  // namespace
