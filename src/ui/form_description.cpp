#include "ui/form_description.h"

#include <algorithm>
#include <stdexcept>

namespace ui {

const ControlDescription& FormDescription::Control(std::string_view controlName) const {
  for (const auto& control : controls) {
    if (control.name == controlName)
      return control;
  }
  throw ComponentNotFound(controlName, name);
}

int ControlDescription::ClampedPosition(int requested) const {
  return std::clamp(requested, minimum, std::max(minimum, maximum));
}

std::out_of_range ComponentNotFound(std::string_view controlName, std::string_view formName) {
  return std::out_of_range("Component \"" + std::string(controlName) + "\" not found in " +
                           std::string(formName));
}

}  // namespace ui
