#include "ui/handlers.h"

#include <stdexcept>

#include "ui/form_description.h"

namespace ui {

namespace {

template <class Table>
void Require(const Table& table, const std::string& handler, const std::string& where) {
  if (!handler.empty() && table.find(handler) == table.end()) {
    throw std::invalid_argument("Handler \"" + handler + "\" of " + where + " is not bound");
  }
}

template <class Table>
auto Lookup(const Table& table, std::string_view name) -> const typename Table::mapped_type* {
  if (name.empty())
    return nullptr;
  const auto it = table.find(name);
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace

void Handlers::CheckBindings(const FormDescription& description) const {
  Require(notify, description.onCreate, description.name);
  Require(notify, description.onActivate, description.name);
  Require(key, description.onKeyDown, description.name);
  for (const auto& control : description.controls)
    Require(notify, control.onClick, control.name);
}

const NotifyHandler* Handlers::FindNotify(std::string_view name) const {
  return Lookup(notify, name);
}

const KeyHandler* Handlers::FindKey(std::string_view name) const {
  return Lookup(key, name);
}

}  // namespace ui
