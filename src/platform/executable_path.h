#pragma once
// Where the running program lives. The updater names every file it touches relative
// to its own folder, never the working directory: it is often started from a
// shortcut whose working directory is elsewhere.
#include <string>
#include <string_view>

namespace platform {

// Full path of the running executable, UTF-8. Long and non-ASCII paths are kept whole.
std::string ExecutablePath();

// The folder part of a path, with its trailing separator ("C:\App\x.exe" -> "C:\App\").
// On Windows both '\' and '/' separate; elsewhere only '/'.
std::string FolderOf(std::string_view path);

// FolderOf(ExecutablePath()).
std::string ApplicationFolder();

}  // namespace platform
