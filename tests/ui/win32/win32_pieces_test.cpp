// The small parts of the Win32 back end: text at the API boundary, the embedded
// pictures and the application's title.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/win32/png_image.h"
#include "ui/win32/win32_application.h"
#include "ui/win32/win32_text.h"

namespace {

using namespace ui::win32;

TEST(Win32Text, WideRoundTripKeepsNonAsciiText) {
  const std::string text = "Dostra - Atualização de Versão";
  EXPECT_EQ(Wide(text), L"Dostra - Atualiza\u00e7\u00e3o de Vers\u00e3o");
  EXPECT_EQ(Utf8(Wide(text)), text);
}

TEST(Win32Application, TitleIsTheProgramNameWithoutExtension) {
  Win32Application app;
  EXPECT_EQ(app.Title(), "ui_win32_tests");
}

TEST(PngResource, DecodesWithTransparencyAndPremultipliedAlpha) {
  const PngImage image = LoadPngResource(::GetModuleHandleW(nullptr), "CLOUD_DOWNLOAD.png");
  ASSERT_TRUE(image.bitmap);
  EXPECT_EQ(image.width, 32);
  EXPECT_EQ(image.height, 32);
  DIBSECTION dib{};
  ASSERT_EQ(::GetObjectW(image.bitmap.Get(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
  const auto* pixels = static_cast<const BYTE*>(dib.dsBm.bmBits);
  int transparent = 0;
  int opaque = 0;
  for (int i = 0; i < 32 * 32; ++i) {
    const BYTE* bgra = pixels + i * 4;
    EXPECT_LE(std::max({bgra[0], bgra[1], bgra[2]}), bgra[3]) << "not premultiplied at " << i;
    transparent += bgra[3] == 0;
    opaque += bgra[3] == 255;
  }
  EXPECT_EQ(pixels[3], 0) << "the top-left corner is transparent";
  EXPECT_GT(transparent, 100);
  EXPECT_GT(opaque, 100);
}

TEST(PngResource, AMissingPictureIsNamedInTheError) {
  try {
    LoadPngResource(::GetModuleHandleW(nullptr), "nuvem.png");
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Picture \"nuvem.png\": resource not found");
  }
}

}  // namespace
