#include "ui/win32/win32_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "ui/win32/label_size.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

Win32Control::Win32Control(const ControlDescription& description, HWND window)
    : description_(description), window_(window) {}

// A control's own flag, as the updater sees it: a control stays "visible" on a hidden
// form.
bool Win32Control::Visible() const {
  return (::GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Control::SetVisible(bool visible) {
  ::ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32Control::Enabled() const {
  return ::IsWindowEnabled(window_) != FALSE;
}

void Win32Control::SetEnabled(bool enabled) {
  ::EnableWindow(window_, enabled ? TRUE : FALSE);
}

std::string Win32Control::Text() const {
  return WindowText(window_);
}

void Win32Control::SetText(std::string_view text) {
  ::SetWindowTextW(window_, Wide(text).c_str());
}

void Win32Control::SetFocus() {
  ::SetFocus(window_);
}

bool Win32Control::Focused() const {
  return ::GetFocus() == window_;
}

void Win32Control::Repaint() {
  ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

Bounds Win32Control::CurrentBounds() const {
  RECT rect{};
  ::GetWindowRect(window_, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Win32Control::FollowAnchors(int dx, int dy) {
  const unsigned anchors = description_.anchors;
  const Bounds& design = description_.bounds;
  Bounds bounds = CurrentBounds();
  if (anchors & kAnchorRight) {
    if (anchors & kAnchorLeft)
      bounds.width = std::max(0, design.width + dx);
    else
      bounds.left = design.left + dx;
  }
  if (anchors & kAnchorBottom) {
    if (anchors & kAnchorTop)
      bounds.height = std::max(0, design.height + dy);
    else
      bounds.top = design.top + dy;
  }
  ::SetWindowPos(window_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Win32Label::Win32Label(const ControlDescription& description, HWND window)
    : Win32Control(description, window) {
  FitToText();
}

void Win32Label::SetText(std::string_view text) {
  Win32Control::SetText(text);
  FitToText();
}

void Win32Label::FitToText() {
  if (!description_.autoSize)
    return;
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
  const SIZE size = MeasureLabelText(font, Wide(Text()), description_.wrapWidth);
  ::SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(window_, nullptr, TRUE);
}

Win32ProgressBar::Win32ProgressBar(const ControlDescription& description, HWND window)
    : Win32Control(description, window) {
  ::SendMessageW(window_, PBM_SETRANGE32, static_cast<WPARAM>(description.minimum),
                 static_cast<LPARAM>(description.maximum));
  ::SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(description.position), 0);
}

int Win32ProgressBar::Position() const {
  return static_cast<int>(::SendMessageW(window_, PBM_GETPOS, 0, 0));
}

void Win32ProgressBar::SetPosition(int position) {
  ::SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

Win32Picture::Win32Picture(const ControlDescription& description, HWND window, PngImage image)
    : Win32Control(description, window), image_(std::move(image)) {
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&image_));
  ::InvalidateRect(window_, nullptr, TRUE);
}

Win32Picture::~Win32Picture() {
  if (::IsWindow(window_))
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

LRESULT CALLBACK Win32Picture::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintSession paint(window);
    if (const auto* image =
            reinterpret_cast<const PngImage*>(::GetWindowLongPtrW(window, GWLP_USERDATA)))
      DrawPngImage(paint.Get(), *image, 0, 0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

namespace {

struct NativeClass {
  const wchar_t* name;
  DWORD style;
};

NativeClass NativeClassOf(const ControlDescription& description, const wchar_t* pictureClass) {
  switch (description.kind) {
    case ControlKind::Picture:
      return {pictureClass, 0};
    case ControlKind::Label:
      return {L"STATIC", static_cast<DWORD>(description.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP)};
    case ControlKind::ProgressBar:
      return {PROGRESS_CLASSW, 0};
    case ControlKind::Button:
      // Never BS_DEFPUSHBUTTON: no button of ours is a default button.
      return {L"BUTTON", static_cast<DWORD>(BS_PUSHBUTTON | WS_TABSTOP)};
    default:
      throw std::invalid_argument(description.name + " is not a child window");
  }
}

}  // namespace

std::unique_ptr<Win32Control> CreateChildControl(Win32Form& form,
                                                 const ControlDescription& description, int id) {
  const NativeClass native = NativeClassOf(description, form.PictureClassName());
  DWORD style = WS_CHILD | native.style;
  if (description.visible)
    style |= WS_VISIBLE;
  if (!description.enabled)
    style |= WS_DISABLED;
  const Bounds& b = description.bounds;
  HWND window = ::CreateWindowExW(
      0, native.name, Wide(description.text).c_str(), style, b.left, b.top, b.width, b.height,
      form.Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), form.Instance(), nullptr);
  if (window == nullptr)
    throw std::runtime_error("CreateWindowEx failed for " + description.name);
  ::SendMessageW(window, WM_SETFONT,
                 reinterpret_cast<WPARAM>(description.bold ? form.BoldFont() : form.Font()), FALSE);

  switch (description.kind) {
    case ControlKind::Picture:
      return std::make_unique<Win32Picture>(description, window,
                                            LoadPngResource(form.Instance(), description.picture));
    case ControlKind::Label:
      return std::make_unique<Win32Label>(description, window);
    case ControlKind::ProgressBar:
      return std::make_unique<Win32ProgressBar>(description, window);
    default:
      return std::make_unique<Win32Control>(description, window);
  }
}

}  // namespace ui::win32
