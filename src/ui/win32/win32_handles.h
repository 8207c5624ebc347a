#pragma once
// Owners for the Win32 handles of the back end: each frees its handle exactly once and
// cannot be copied, only moved.
#include <windows.h>

#include <utility>

namespace ui::win32 {

template <class Handle, class Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other)
      Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives the handle up, for when the system takes ownership (a menu set on a window).
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr)
      Traits::Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

struct WindowTraits {
  static void Free(HWND window) { ::DestroyWindow(window); }
};
struct MenuTraits {
  static void Free(HMENU menu) { ::DestroyMenu(menu); }
};
struct GdiObjectTraits {
  static void Free(HGDIOBJ object) { ::DeleteObject(object); }
};

// A top-level window; child windows are destroyed with their parent and are not owned.
using WindowHandle = UniqueHandle<HWND, WindowTraits>;
// A menu not (yet) attached to a window; a window destroys its menu bar itself.
using MenuHandle = UniqueHandle<HMENU, MenuTraits>;
using FontHandle = UniqueHandle<HFONT, GdiObjectTraits>;
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectTraits>;

// A device context of the screen, for measuring text.
class ScreenDeviceContext {
 public:
  ScreenDeviceContext() : dc_(::GetDC(nullptr)) {}
  ScreenDeviceContext(const ScreenDeviceContext&) = delete;
  ScreenDeviceContext& operator=(const ScreenDeviceContext&) = delete;
  ~ScreenDeviceContext() {
    if (dc_ != nullptr)
      ::ReleaseDC(nullptr, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A memory device context compatible with another one.
class MemoryDeviceContext {
 public:
  explicit MemoryDeviceContext(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
  MemoryDeviceContext(const MemoryDeviceContext&) = delete;
  MemoryDeviceContext& operator=(const MemoryDeviceContext&) = delete;
  ~MemoryDeviceContext() {
    if (dc_ != nullptr)
      ::DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects a GDI object into a device context and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { ::SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint/EndPaint of one WM_PAINT.
class PaintSession {
 public:
  explicit PaintSession(HWND window) : window_(window) { dc_ = ::BeginPaint(window_, &paint_); }
  PaintSession(const PaintSession&) = delete;
  PaintSession& operator=(const PaintSession&) = delete;
  ~PaintSession() { ::EndPaint(window_, &paint_); }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace ui::win32
