#pragma once
// Pictures embedded as PNG files (RCDATA resources), decoded once into a bitmap with
// premultiplied alpha so that painting can blend them over the window's background.
#include <string_view>

#include "ui/win32/win32_handles.h"

namespace ui::win32 {

struct PngImage {
  BitmapHandle bitmap;  // 32-bit top-down DIB section, premultiplied alpha
  int width = 0;
  int height = 0;
};

// Decodes the RCDATA resource of that name (resource names ignore case). Throws
// std::runtime_error naming the picture when it is missing or not a readable image.
PngImage LoadPngResource(HMODULE module, std::string_view name);

// Blends the image over what is already painted, unscaled, its top-left at x, y.
void DrawPngImage(HDC dc, const PngImage& image, int x, int y);

}  // namespace ui::win32
