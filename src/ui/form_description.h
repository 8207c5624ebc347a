#pragma once
// A form described as data: the controls, their design values and the names of the
// handlers they raise. Each toolkit back end builds native controls from it and binds
// the handlers by name, so the window looks and behaves the same on every toolkit.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

enum class ControlKind { Picture, Label, ProgressBar, Button, MainMenu, MenuItem };

enum Anchor : unsigned {
  kAnchorLeft = 1u << 0,
  kAnchorTop = 1u << 1,
  kAnchorRight = 1u << 2,
  kAnchorBottom = 1u << 3,
};

// Left, top, width, height in pixels; for controls relative to the form's client area.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct ControlDescription {
  std::string name{};
  ControlKind kind = ControlKind::Label;
  Bounds bounds{};
  std::string text{};
  unsigned anchors = kAnchorLeft | kAnchorTop;
  int tabOrder = -1;  // position in the tab order; -1 for controls that take no focus
  bool visible = true;
  bool enabled = true;
  bool bold = false;
  bool autoSize = false;  // labels: the size follows the text
  bool wordWrap = false;
  int wrapWidth = 0;      // auto-sized, word-wrapped labels: widest line in pixels, 0 = no limit
  std::string picture{};  // pictures: name of the embedded image, drawn unscaled at top-left
  int minimum = 0;        // progress bars
  int maximum = 100;
  int position = 0;
  std::string parent{};   // menu items: the menu or item they belong to
  std::string onClick{};  // name of the click handler, empty for none

  // A progress bar's position held to its range, as native bars hold it; a range whose
  // maximum lies below its minimum holds the minimum only.
  int ClampedPosition(int requested) const;
};

struct FormDescription {
  std::string name{};
  std::string caption{};
  // Outer top-left corner on the screen and the size of the client area below the menu bar.
  Bounds bounds{};
  bool sizeable = true;
  bool minimizeBox = false;
  bool maximizeBox = false;
  bool keyPreview = true;  // the form sees every key before the focused control
  std::string onCreate{};
  std::string onActivate{};
  std::string onKeyDown{};
  std::vector<ControlDescription> controls;  // in creation order

  // The description of the named control; throws std::out_of_range when there is none.
  const ControlDescription& Control(std::string_view controlName) const;
};

// What every lookup of a control by a name the form lacks throws.
std::out_of_range ComponentNotFound(std::string_view controlName, std::string_view formName);

}  // namespace ui
