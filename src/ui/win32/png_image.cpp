#include "ui/win32/png_image.h"

// GDI+ decodes PNG on every Windows version we support and under Wine; only its flat
// API is used, and only while decoding.
#include <objidl.h>
#include <shlwapi.h>
// gdiplus.h expects min and max, which NOMINMAX keeps out of windows.h.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "ui/win32/win32_text.h"

namespace ui::win32 {

namespace {

namespace gp = Gdiplus::DllExports;

class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession() {
    if (ok_)
      Gdiplus::GdiplusShutdown(token_);
  }
  bool Ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

class ComStream {
 public:
  ComStream(const void* bytes, DWORD size)
      : stream_(::SHCreateMemStream(static_cast<const BYTE*>(bytes), size)) {}
  ComStream(const ComStream&) = delete;
  ComStream& operator=(const ComStream&) = delete;
  ~ComStream() {
    if (stream_ != nullptr)
      stream_->Release();
  }
  IStream* Get() const { return stream_; }

 private:
  IStream* stream_;
};

class GdiplusBitmap {
 public:
  explicit GdiplusBitmap(IStream* stream) {
    if (gp::GdipCreateBitmapFromStream(stream, &bitmap_) != Gdiplus::Ok)
      bitmap_ = nullptr;
  }
  GdiplusBitmap(const GdiplusBitmap&) = delete;
  GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;
  ~GdiplusBitmap() {
    if (bitmap_ != nullptr)
      gp::GdipDisposeImage(bitmap_);
  }
  Gdiplus::GpBitmap* Get() const { return bitmap_; }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

class LockedBits {
 public:
  LockedBits(Gdiplus::GpBitmap* bitmap, int width, int height) : bitmap_(bitmap) {
    const Gdiplus::GpRect area(0, 0, width, height);
    locked_ = gp::GdipBitmapLockBits(bitmap_, &area, Gdiplus::ImageLockModeRead,
                                     PixelFormat32bppPARGB, &data_) == Gdiplus::Ok;
  }
  LockedBits(const LockedBits&) = delete;
  LockedBits& operator=(const LockedBits&) = delete;
  ~LockedBits() {
    if (locked_)
      gp::GdipBitmapUnlockBits(bitmap_, &data_);
  }
  bool Locked() const { return locked_; }
  const Gdiplus::BitmapData& Data() const { return data_; }

 private:
  Gdiplus::GpBitmap* bitmap_;
  Gdiplus::BitmapData data_{};
  bool locked_ = false;
};

[[noreturn]] void Fail(std::string_view name, const char* what) {
  throw std::runtime_error("Picture \"" + std::string(name) + "\": " + what);
}

}  // namespace

PngImage LoadPngResource(HMODULE module, std::string_view name) {
  const std::wstring resourceName = Wide(name);
  HRSRC resource = ::FindResourceW(module, resourceName.c_str(), RT_RCDATA);
  if (resource == nullptr)
    Fail(name, "resource not found");
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  const DWORD size = ::SizeofResource(module, resource);
  if (bytes == nullptr || size == 0)
    Fail(name, "resource is empty");

  GdiplusSession session;
  if (!session.Ok())
    Fail(name, "GDI+ is not available");
  ComStream stream(bytes, size);
  if (stream.Get() == nullptr)
    Fail(name, "out of memory");
  GdiplusBitmap decoded(stream.Get());
  UINT width = 0;
  UINT height = 0;
  if (decoded.Get() == nullptr || gp::GdipGetImageWidth(decoded.Get(), &width) != Gdiplus::Ok ||
      gp::GdipGetImageHeight(decoded.Get(), &height) != Gdiplus::Ok || width == 0 || height == 0)
    Fail(name, "not a readable image");
  LockedBits pixels(decoded.Get(), static_cast<int>(width), static_cast<int>(height));
  if (!pixels.Locked())
    Fail(name, "cannot read the pixels");

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, like GDI+'s rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* target = nullptr;
  PngImage image;
  image.bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &target, nullptr, 0));
  if (!image.bitmap || target == nullptr)
    Fail(name, "cannot create the bitmap");
  const auto& data = pixels.Data();
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  for (UINT row = 0; row < height; ++row) {
    std::memcpy(static_cast<BYTE*>(target) + row * rowBytes,
                static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(row) * data.Stride,
                rowBytes);
  }
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  return image;
}

void DrawPngImage(HDC dc, const PngImage& image, int x, int y) {
  if (!image.bitmap)
    return;
  MemoryDeviceContext source(dc);
  SelectedObject selected(source.Get(), image.bitmap.Get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(dc, x, y, image.width, image.height, source.Get(), 0, 0, image.width, image.height,
               blend);
}

}  // namespace ui::win32
