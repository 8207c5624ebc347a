#include "ui/win32/win32_form.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "ui/win32/win32_application.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_menu.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

namespace {

// Command identifiers of controls and menu items: this plus the index in the
// description. Kept clear of IDOK and IDCANCEL, which the dialog navigation sends for
// Enter and Esc.
constexpr int kFirstControlId = 100;

DWORD FormStyle(const FormDescription& description) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (description.sizeable)
    style |= WS_THICKFRAME;
  if (description.minimizeBox)
    style |= WS_MINIMIZEBOX;
  if (description.maximizeBox)
    style |= WS_MAXIMIZEBOX;
  return style;
}

// Tab and arrow keys move between the controls, as in a dialog.
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

bool HasMenu(const FormDescription& description) {
  return std::any_of(description.controls.begin(), description.controls.end(),
                     [](const ControlDescription& c) { return c.kind == ControlKind::MainMenu; });
}

}  // namespace

Win32Form::Win32Form(Win32Application& app, const FormDescription& description, Handlers handlers)
    : app_(app),
      description_(description),
      handlers_(std::move(handlers)),
      fonts_(CreateGuiFonts()) {
  handlers_.CheckBindings(description_);

  const DWORD style = FormStyle(description_);
  RECT outer{0, 0, description_.bounds.width, description_.bounds.height};
  ::AdjustWindowRectEx(&outer, style, HasMenu(description_) ? TRUE : FALSE, kFormExStyle);
  // The window procedure takes the handle over at WM_NCCREATE.
  HWND created = ::CreateWindowExW(
      kFormExStyle, app_.FormClassName(), Wide(description_.caption).c_str(), style,
      description_.bounds.left, description_.bounds.top, outer.right - outer.left,
      outer.bottom - outer.top, nullptr, nullptr, app_.Instance(), this);
  if (created == nullptr)
    throw std::runtime_error("CreateWindowEx failed for " + description_.name);
  try {
    ::SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    CreateControls();
    ApplyTabOrder();
    FitClientArea();
  } catch (...) {
    ::SetWindowLongPtrW(created, GWLP_USERDATA, 0);
    throw;
  }
}

Win32Form::~Win32Form() {
  app_.FormDestroyed(this);
  // The window may be destroyed from inside one of its own handlers (the immediate
  // exit); unhook it first so that the messages of its destruction find no half-gone
  // form.
  ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
  window_.Reset();
}

HINSTANCE Win32Form::Instance() const {
  return app_.Instance();
}

const wchar_t* Win32Form::PictureClassName() const {
  return app_.PictureClassName();
}

void Win32Form::CreateControls() {
  MenuBuild menus = BuildMenus(description_.controls, window_.Get(), kFirstControlId);
  std::vector<std::unique_ptr<Control>> ordered(description_.controls.size());
  for (auto& [index, control] : menus.controls)
    ordered[index] = std::move(control);
  for (size_t index = 0; index < description_.controls.size(); ++index) {
    if (ordered[index])
      continue;
    auto child = CreateChildControl(*this, description_.controls[index],
                                    kFirstControlId + static_cast<int>(index));
    childControls_.push_back(child.get());
    ordered[index] = std::move(child);
  }
  controls_ = std::move(ordered);
  if (menus.bar) {
    if (!::SetMenu(window_.Get(), menus.bar.Get()))
      throw std::runtime_error("SetMenu failed for " + description_.name);
    menus.bar.Release();  // the window destroys its menu bar
  }
}

// The tab order is the order of the child windows: tab stops first, by their position
// in the tab order, then the rest as created.
void Win32Form::ApplyTabOrder() {
  std::vector<Win32Control*> stops;
  for (Win32Control* control : childControls_) {
    if (control->Description().tabOrder >= 0)
      stops.push_back(control);
  }
  std::stable_sort(stops.begin(), stops.end(), [](Win32Control* a, Win32Control* b) {
    return a->Description().tabOrder < b->Description().tabOrder;
  });
  HWND after = HWND_TOP;
  for (Win32Control* control : stops) {
    ::SetWindowPos(control->Window(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = control->Window();
  }
}

// AdjustWindowRectEx assumes a one-line menu bar and the system's metrics; correct
// whatever the live window came out with.
void Win32Form::FitClientArea() {
  RECT client{};
  ::GetClientRect(window_.Get(), &client);
  const int dw = description_.bounds.width - (client.right - client.left);
  const int dh = description_.bounds.height - (client.bottom - client.top);
  if (dw == 0 && dh == 0)
    return;
  RECT outer{};
  ::GetWindowRect(window_.Get(), &outer);
  ::SetWindowPos(window_.Get(), nullptr, 0, 0, outer.right - outer.left + dw,
                 outer.bottom - outer.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Control& Win32Form::Find(std::string_view name) {
  for (auto& control : controls_) {
    if (control->Name() == name)
      return *control;
  }
  throw ComponentNotFound(name, description_.name);
}

std::string Win32Form::Caption() const {
  return WindowText(window_.Get());
}

void Win32Form::SetCaption(std::string_view caption) {
  ::SetWindowTextW(window_.Get(), Wide(caption).c_str());
}

void Win32Form::SetPosition(int left, int top) {
  ::SetWindowPos(window_.Get(), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Form::Left() const {
  RECT rect{};
  ::GetWindowRect(window_.Get(), &rect);
  return rect.left;
}

int Win32Form::Top() const {
  RECT rect{};
  ::GetWindowRect(window_.Get(), &rect);
  return rect.top;
}

bool Win32Form::Visible() const {
  return (::GetWindowLongW(window_.Get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Form::ShowAndActivate() {
  ::ShowWindow(window_.Get(), SW_SHOWNORMAL);
  // Without a window manager (or when another program is in front) showing does not
  // always activate; the activation handler must run on show all the same.
  if (::GetActiveWindow() != window_.Get())
    ::SetForegroundWindow(window_.Get());
  if (::GetActiveWindow() != window_.Get())
    ::SetActiveWindow(window_.Get());
  ::UpdateWindow(window_.Get());
}

bool Win32Form::PreviewKey(std::uint16_t& key, ShiftState shift) {
  if (!description_.keyPreview)
    return false;
  const KeyHandler* handler = handlers_.FindKey(description_.onKeyDown);
  if (handler == nullptr)
    return false;
  app_.Dispatch([&] { (*handler)(description_.name, key, shift); });
  return true;
}

void Win32Form::Raise(const std::string& handlerName, std::string_view sender) {
  if (const NotifyHandler* handler = handlers_.FindNotify(handlerName))
    app_.Dispatch([&] { (*handler)(sender); });
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* form = static_cast<Win32Form*>(create->lpCreateParams);
    form->window_.Reset(window);  // from here on the form owns the window
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Form*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr)
    return ::DefWindowProcW(window, message, wParam, lParam);
  return form->HandleMessage(message, wParam, lParam);
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_.Get();
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam);
      return 0;
    case WM_CLOSE:
      // Nothing on a form objects to closing; closing the main form ends the program
      // when the event loop has finished its pass, so the window stays until then.
      if (app_.IsMainForm(this))
        app_.Terminate();
      else
        ::ShowWindow(window, SW_HIDE);
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED)
        OnSize(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_SETCURSOR:
      if (OnSetCursor(lParam))
        return TRUE;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void Win32Form::OnCommand(WPARAM wParam) {
  const int index = static_cast<int>(LOWORD(wParam)) - kFirstControlId;
  const int notification = HIWORD(wParam);
  if (index < 0 || index >= static_cast<int>(controls_.size()))
    return;
  const ControlDescription& control = description_.controls[static_cast<size_t>(index)];
  const bool fromMenu = control.kind == ControlKind::MenuItem && notification == 0;
  const bool clicked = control.kind == ControlKind::Button && notification == BN_CLICKED;
  if (fromMenu || clicked)
    Raise(control.onClick, control.name);
}

void Win32Form::OnActivate(WPARAM wParam) {
  HWND window = window_.Get();
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focused = ::GetFocus();
    if (focused != nullptr && ::IsChild(window, focused))
      focusBeforeDeactivation_ = focused;
    return;
  }
  // Give the keyboard focus back to the control that had it, as a dialog does; else
  // the form takes it, and its key preview still sees every key.
  HWND restore = focusBeforeDeactivation_;
  focusBeforeDeactivation_ = nullptr;
  if (restore != nullptr && ::IsChild(window, restore) && ::IsWindowVisible(restore) &&
      ::IsWindowEnabled(restore))
    ::SetFocus(restore);
  else if (HIWORD(wParam) == 0)
    ::SetFocus(window);
  Raise(description_.onActivate, description_.name);
}

void Win32Form::OnSize(int clientWidth, int clientHeight) {
  const int dx = clientWidth - description_.bounds.width;
  const int dy = clientHeight - description_.bounds.height;
  for (Win32Control* control : childControls_) {
    if (control->Description().anchors != (kAnchorLeft | kAnchorTop))
      control->FollowAnchors(dx, dy);
  }
}

// The application-wide hourglass wins over every class cursor of the form and its
// controls: the controls pass WM_SETCURSOR up to their parent before using their own.
bool Win32Form::OnSetCursor(LPARAM lParam) {
  if (app_.CurrentCursor() != Cursor::Hourglass || LOWORD(lParam) != HTCLIENT)
    return false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

}  // namespace ui::win32
