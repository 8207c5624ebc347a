// Reads a running program from outside, for the end-to-end rig: its main window and
// the child windows in it, or the resources of an executable file. One line per item,
// fields separated by '|', UTF-8.
//
//   inspect_windows window CLASS   the visible top-level window of that class
//   inspect_windows resources EXE  resource types and names, and the manifest's text
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/utf16.h"

namespace {

// Fields joined by '|'.
std::string Fields(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty())
      line += '|';
    line += field;
  }
  return line;
}

void Print(const std::string& line) {
  const std::string out = line + "\n";
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()),
              &written, nullptr);
}

// Text of a window of another process: WM_GETTEXT with a time limit, so that a hung
// program cannot hang the rig.
std::string TextOf(HWND window) {
  wchar_t text[512]{};
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &copied);
  std::string utf8 = platform::Utf8FromWide(std::wstring(text, copied));
  for (char& c : utf8) {
    if (c == '\r' || c == '\n' || c == '|')
      c = ' ';
  }
  return utf8;
}

std::string ClassOf(HWND window) {
  wchar_t name[256]{};
  ::GetClassNameW(window, name, 256);
  return platform::Utf8FromWide(name);
}

std::string Flags(HWND window) {
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  return Fields({(style & WS_VISIBLE) ? "visible" : "hidden",
                 (style & WS_DISABLED) ? "disabled" : "enabled"});
}

std::string Numbers(std::initializer_list<long> numbers, char separator) {
  std::string text;
  for (long n : numbers) {
    if (!text.empty())
      text += separator;
    text += std::to_string(n);
  }
  return text;
}

std::string Rect(const RECT& r) {
  return Numbers({r.left, r.top, r.right - r.left, r.bottom - r.top}, ',');
}

// The middle of the close box, in screen pixels, found by asking the window itself
// what lies under points of its caption bar.
POINT CloseBox(HWND window) {
  RECT outer{};
  ::GetWindowRect(window, &outer);
  POINT client{0, 0};
  ::ClientToScreen(window, &client);
  for (int y = outer.top + 1; y < client.y; ++y) {
    int first = -1;
    int last = -1;
    for (int x = outer.right - 1; x > outer.left; --x) {
      DWORD_PTR hit = 0;
      ::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000,
                            &hit);
      if (hit == HTCLOSE) {
        if (last < 0)
          last = x;
        first = x;
      } else if (last >= 0) {
        break;
      }
    }
    if (last >= 0) {
      // Go down to the middle of the box as well.
      int bottom = y;
      while (bottom + 1 < client.y) {
        DWORD_PTR hit = 0;
        ::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM((first + last) / 2, bottom + 1),
                              SMTO_ABORTIFHUNG, 2000, &hit);
        if (hit != HTCLOSE)
          break;
        ++bottom;
      }
      return {(first + last) / 2, (y + bottom) / 2};
    }
  }
  return {-1, -1};
}

struct Search {
  std::wstring className;
  HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  wchar_t name[256]{};
  ::GetClassNameW(window, name, 256);
  if (search->className == name && ::IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

int InspectWindow(const std::wstring& className) {
  Search search{className};
  ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr)
    return 1;
  HWND form = search.found;
  RECT outer{};
  ::GetWindowRect(form, &outer);
  RECT client{};
  ::GetClientRect(form, &client);
  const POINT close = CloseBox(form);
  Print(Fields({"form", ClassOf(form), TextOf(form), Flags(form), Rect(outer),
                "client=" + Numbers({client.right, client.bottom}, 'x'),
                "closebox=" + Numbers({close.x, close.y}, ',')}));
  std::vector<HWND> children;
  ::EnumChildWindows(form, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    Print(Fields({"control", ClassOf(child), TextOf(child), Flags(child), Rect(r)}));
  }
  return 0;
}

std::string ResourceId(LPCWSTR id) {
  if (IS_INTRESOURCE(id))
    return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(id));
  return platform::Utf8FromWide(id);
}

BOOL CALLBACK PrintName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR) {
  Print(Fields({"resource", ResourceId(type), ResourceId(name)}));
  if (type == RT_MANIFEST) {
    HRSRC found = ::FindResourceW(module, name, type);
    const char* text = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    const std::string manifest(text, ::SizeofResource(module, found));
    size_t start = 0;
    while (start < manifest.size()) {
      size_t end = manifest.find('\n', start);
      if (end == std::string::npos)
        end = manifest.size();
      std::string line = manifest.substr(start, end - start);
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      Print("manifest|" + line);
      start = end + 1;
    }
  }
  return TRUE;
}

BOOL CALLBACK PrintType(HMODULE module, LPWSTR type, LONG_PTR) {
  ::EnumResourceNamesW(module, type, PrintName, 0);
  return TRUE;
}

int InspectResources(const std::wstring& file) {
  HMODULE module = ::LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) {
    const std::string error = "inspect_windows: cannot load " + platform::Utf8FromWide(file) +
                              " as data (error " + std::to_string(::GetLastError()) + ")\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), error.data(), static_cast<DWORD>(error.size()),
                &written, nullptr);
    return 1;
  }
  ::EnumResourceTypesW(module, PrintType, 0);
  ::FreeLibrary(module);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"window")
    return InspectWindow(argv[2]);
  if (argc == 3 && std::wstring(argv[1]) == L"resources")
    return InspectResources(argv[2]);
  Print("usage: inspect_windows window CLASS | resources EXE");
  return 2;
}
