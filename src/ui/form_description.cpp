#include "ui/form_description.h"

#include <stdexcept>

namespace ui {

const ControlDescription& FormDescription::Control(std::string_view controlName) const {
  for (const auto& control : controls) {
    if (control.name == controlName)
      return control;
  }
  throw std::out_of_range("Component \"" + std::string(controlName) + "\" not found in " + name);
}

}  // namespace ui
