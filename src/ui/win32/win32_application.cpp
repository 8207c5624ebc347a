#include "ui/win32/win32_application.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/executable_path.h"
#include "platform/waits.h"
#include "ui/application_title.h"
#include "ui/line_breaks.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

namespace {

HICON ApplicationIcon(HINSTANCE instance, int size) {
  // The icon of the program's resources; test programs have none.
  if (auto icon = static_cast<HICON>(
          ::LoadImageW(instance, L"MAINICON", IMAGE_ICON, size, size, LR_SHARED)))
    return icon;
  return static_cast<HICON>(::LoadImageW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */,
                                         IMAGE_ICON, size, size, LR_SHARED));
}

WNDCLASSEXW FormClass(HINSTANCE instance) {
  WNDCLASSEXW form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = Win32Form::WindowProc;
  form.hInstance = instance;
  form.hIcon = ApplicationIcon(instance, ::GetSystemMetrics(SM_CXICON));
  form.hIconSm = ApplicationIcon(instance, ::GetSystemMetrics(SM_CXSMICON));
  form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = L"DostraForm";
  return form;
}

WNDCLASSEXW PictureClass(HINSTANCE instance) {
  WNDCLASSEXW picture{};
  picture.cbSize = sizeof(picture);
  picture.lpfnWndProc = Win32Picture::WindowProc;
  picture.hInstance = instance;
  picture.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  picture.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  picture.lpszClassName = L"DostraPicture";
  return picture;
}

ShiftState CurrentShiftState() {
  unsigned state = kShiftNone;
  if (::GetKeyState(VK_SHIFT) < 0)
    state |= kShift;
  if (::GetKeyState(VK_MENU) < 0)
    state |= kAlt;
  if (::GetKeyState(VK_CONTROL) < 0)
    state |= kCtrl;
  return static_cast<ShiftState>(state);
}

}  // namespace

Win32Application::Win32Application()
    : instance_(::GetModuleHandleW(nullptr)), title_(ApplicationTitle(platform::ExecutablePath())) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  formClass_ = std::make_unique<WindowClass>(FormClass(instance_));
  pictureClass_ = std::make_unique<WindowClass>(PictureClass(instance_));
}

// Components hold forms; destroy them while the window classes are still registered.
Win32Application::~Win32Application() {
  DestroyComponents();
}

std::unique_ptr<Form> Win32Application::CreateForm(const FormDescription& description,
                                                   const Handlers& handlers) {
  auto form = std::make_unique<Win32Form>(*this, description, handlers);
  forms_.push_back(form.get());
  if (mainForm_ == nullptr)
    mainForm_ = form.get();
  return form;
}

void Win32Application::FormDestroyed(Win32Form* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (mainForm_ == form)
    mainForm_ = nullptr;
}

void Win32Application::Run() {
  if (mainForm_ == nullptr)
    return;
  mainForm_->ShowAndActivate();
  for (;;) {
    ++loopPasses_;
    HandlePendingMessages();
    if (Terminated())
      break;
    ::WaitMessage();
  }
}

void Win32Application::ProcessMessages() {
  HandlePendingMessages();
}

void Win32Application::HandlePendingMessages() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      Terminate();
      continue;
    }
    if (!KeyPassesPreview(message))
      continue;
    HWND root = message.hwnd != nullptr ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && FormOf(root) != nullptr && ::IsDialogMessageW(root, &message))
      continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

bool Win32Application::KeyPassesPreview(MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
    return true;
  Win32Form* form =
      FormOf(message.hwnd != nullptr ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr);
  if (form == nullptr)
    return true;
  auto key = static_cast<std::uint16_t>(message.wParam);
  if (!form->PreviewKey(key, CurrentShiftState()))
    return true;
  if (key == 0)
    return false;  // the form kept the key from the focused control
  message.wParam = key;
  return true;
}

Win32Form* Win32Application::FormOf(HWND window) const {
  if (window == nullptr)
    return nullptr;
  for (Win32Form* form : forms_) {
    if (form->Window() == window)
      return form;
  }
  return nullptr;
}

void Win32Application::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  ::SetCursor(::LoadCursorW(nullptr, cursor == Cursor::Hourglass ? IDC_WAIT : IDC_ARROW));
}

HWND Win32Application::MessageBoxOwner() const {
  HWND active = ::GetActiveWindow();
  if (active != nullptr)
    return active;
  if (mainForm_ != nullptr && mainForm_->Visible())
    return mainForm_->Window();
  return nullptr;
}

void Win32Application::ShowBox(std::string_view text, UINT icon) const {
  ::MessageBoxW(MessageBoxOwner(), Wide(WithLineBreaks(text, "\r\n")).c_str(), Wide(title_).c_str(),
                MB_OK | icon);
}

void Win32Application::ShowMessage(std::string_view text) {
  ShowBox(text, MB_ICONINFORMATION);
}

void Win32Application::ShowException(std::string_view message) {
  ShowBox(message, MB_ICONERROR);
}

// Blocks the thread, window and all, on purpose: the updater's fixed waits do.
void Win32Application::Wait(int milliseconds) {
  platform::SleepMilliseconds(milliseconds);
}

}  // namespace ui::win32
