#include "ui/win32/win32_menu.h"

#include <map>
#include <stdexcept>

#include "ui/win32/win32_text.h"

namespace ui::win32 {

Win32MenuItem::Win32MenuItem(const ControlDescription& description, HWND form, HMENU parent,
                             UINT position)
    : Win32MenuControl(description), form_(form), parent_(parent), position_(position) {
  if (!description.enabled)
    SetEnabled(false);
}

bool Win32MenuItem::Enabled() const {
  const UINT state = ::GetMenuState(parent_, position_, MF_BYPOSITION);
  return state != static_cast<UINT>(-1) && (state & (MF_DISABLED | MF_GRAYED)) == 0;
}

void Win32MenuItem::SetEnabled(bool enabled) {
  ::EnableMenuItem(parent_, position_, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
  Repaint();
}

void Win32MenuItem::SetText(std::string_view text) {
  text_ = std::string(text);
  const std::wstring wide = Wide(text_);
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STRING;
  item.dwTypeData = const_cast<wchar_t*>(wide.c_str());
  ::SetMenuItemInfoW(parent_, position_, TRUE, &item);
  Repaint();
}

void Win32MenuItem::Repaint() {
  if (form_ != nullptr && ::GetMenu(form_) != nullptr)
    ::DrawMenuBar(form_);
}

MenuBuild BuildMenus(const std::vector<ControlDescription>& descriptions, HWND form,
                     int firstCommandId) {
  MenuBuild build;
  // Menus built so far, by name, with the number of items they hold.
  struct Menu {
    HMENU handle;
    UINT items = 0;
  };
  std::map<std::string, Menu, std::less<>> menus;

  auto hasItems = [&descriptions](const std::string& name) {
    for (const auto& d : descriptions) {
      if (d.kind == ControlKind::MenuItem && d.parent == name)
        return true;
    }
    return false;
  };

  for (size_t index = 0; index < descriptions.size(); ++index) {
    const ControlDescription& d = descriptions[index];
    if (d.kind == ControlKind::MainMenu) {
      if (build.bar)
        throw std::invalid_argument(d.name + ": a form has one main menu");
      build.bar.Reset(::CreateMenu());
      menus[d.name] = {build.bar.Get()};
      build.controls.emplace_back(index, std::make_unique<Win32MainMenu>(d));
    } else if (d.kind == ControlKind::MenuItem) {
      const auto parent = menus.find(d.parent);
      if (parent == menus.end())
        throw std::invalid_argument(d.name + ": menu \"" + d.parent + "\" not found before it");
      // An item that holds items opens a submenu; any other gives a command.
      MenuHandle popup;
      UINT flags = MF_STRING;
      UINT_PTR idOrPopup = static_cast<UINT_PTR>(firstCommandId + static_cast<int>(index));
      if (hasItems(d.name)) {
        popup.Reset(::CreatePopupMenu());
        flags |= MF_POPUP;
        idOrPopup = reinterpret_cast<UINT_PTR>(popup.Get());
      }
      if (!::AppendMenuW(parent->second.handle, flags, idOrPopup, Wide(d.text).c_str()))
        throw std::runtime_error("AppendMenu failed for " + d.name);
      if (popup)
        menus[d.name] = {popup.Release()};  // now destroyed with its parent
      const UINT position = parent->second.items++;
      build.controls.emplace_back(
          index, std::make_unique<Win32MenuItem>(d, form, parent->second.handle, position));
    }
  }
  return build;
}

}  // namespace ui::win32
