#include "ui/headless/headless_form.h"

#include <stdexcept>

#include "ui/headless/headless_application.h"

namespace ui::headless {

HeadlessControl::HeadlessControl(HeadlessForm& form, const ControlDescription& description)
    : form_(form),
      description_(description),
      visible_(description.visible),
      enabled_(description.enabled),
      text_(description.text),
      position_(description.ClampedPosition(description.position)) {}

void HeadlessControl::SetPosition(int position) {
  position_ = description_.ClampedPosition(position);
}

void HeadlessControl::SetFocus() {
  form_.SetFocused(description_.name);
}

bool HeadlessControl::Focused() const {
  return form_.FocusedControl() == description_.name;
}

HeadlessForm::HeadlessForm(HeadlessApplication& app, const FormDescription& description,
                           Handlers handlers)
    : app_(app),
      description_(description),
      handlers_(std::move(handlers)),
      caption_(description.caption),
      left_(description.bounds.left),
      top_(description.bounds.top) {
  handlers_.CheckBindings(description_);
  for (const auto& control : description_.controls) {
    controls_.push_back(std::make_unique<HeadlessControl>(*this, control));
  }
}

HeadlessForm::~HeadlessForm() {
  app_.FormDestroyed(this);
}

HeadlessControl& HeadlessForm::Find(std::string_view name) {
  for (auto& control : controls_) {
    if (control->Name() == name)
      return *control;
  }
  throw ComponentNotFound(name, description_.name);
}

void HeadlessForm::SetPosition(int left, int top) {
  left_ = left;
  top_ = top;
}

void HeadlessForm::Show() {
  visible_ = true;
  Activate();
}

void HeadlessForm::Activate() {
  ++activations_;
  Raise(description_.onActivate, description_.name);
}

void HeadlessForm::PressKey(std::uint16_t key, ShiftState shift) {
  if (description_.keyPreview) {
    if (const KeyHandler* handler = handlers_.FindKey(description_.onKeyDown)) {
      app_.Dispatch([&] { (*handler)(description_.name, key, shift); });
    }
  }
  // Keys left over would go to the focused control; no control here reacts to them.
}

bool HeadlessForm::Click(std::string_view controlName) {
  HeadlessControl& control = Find(controlName);
  if (!visible_ || !control.Visible() || !control.Enabled())
    return false;
  if (control.Description().kind == ControlKind::Button)
    SetFocused(control.Name());
  Raise(control.Description().onClick, control.Name());
  return true;
}

void HeadlessForm::ChooseMenu(std::string_view itemName) {
  HeadlessControl& item = Find(itemName);
  if (item.Description().kind != ControlKind::MenuItem) {
    throw std::invalid_argument(std::string(itemName) + " is not a menu item");
  }
  if (item.Enabled())
    Raise(item.Description().onClick, item.Name());
}

void HeadlessForm::Raise(const std::string& handlerName, std::string_view sender) {
  if (const NotifyHandler* handler = handlers_.FindNotify(handlerName)) {
    app_.Dispatch([&] { (*handler)(sender); });
  }
}

}  // namespace ui::headless
