#pragma once
#include <string>
#include <string_view>

namespace ui {

// The application's title when none is set: the executable's file name without its
// extension ("C:\Dostra\DOSTRA_UPDATE.exe" -> "DOSTRA_UPDATE"). Message boxes carry it.
std::string ApplicationTitle(std::string_view executablePath);

}  // namespace ui
