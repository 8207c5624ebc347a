#pragma once
// Event handlers, bound to controls by the names in a form description.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace ui {

struct FormDescription;

// The name of the form or control that raised the event.
using Sender = std::string_view;

enum ShiftState : unsigned {
  kShiftNone = 0,
  kShift = 1u << 0,
  kAlt = 1u << 1,
  kCtrl = 1u << 2,
};

inline constexpr std::uint16_t kKeyEscape = 27;

using NotifyHandler = std::function<void(Sender)>;
// The key code is passed by reference: a handler that sets it to 0 keeps it from the
// focused control.
using KeyHandler = std::function<void(Sender, std::uint16_t& key, ShiftState shift)>;

struct Handlers {
  std::map<std::string, NotifyHandler, std::less<>> notify;
  std::map<std::string, KeyHandler, std::less<>> key;

  // Throws std::invalid_argument naming the first handler that the description
  // names but this table lacks: a form is never built with a dangling binding.
  void CheckBindings(const FormDescription& description) const;
  const NotifyHandler* FindNotify(std::string_view name) const;
  const KeyHandler* FindKey(std::string_view name) const;
};

}  // namespace ui
