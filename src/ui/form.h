#pragma once
// A live form and its controls, as the updater sees them whatever the toolkit.
#include <string>
#include <string_view>

#include "ui/form_description.h"

namespace ui {

class Control {
 public:
  virtual ~Control() = default;
  virtual const ControlDescription& Description() const = 0;
  const std::string& Name() const { return Description().name; }

  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual std::string Text() const = 0;
  virtual void SetText(std::string_view text) = 0;
  // Progress bars: the bar's position within its range.
  virtual int Position() const = 0;
  virtual void SetPosition(int position) = 0;
  virtual void SetFocus() = 0;
  virtual bool Focused() const = 0;
  // Paints the control now instead of at the next pass of the event loop.
  virtual void Repaint() = 0;
  // Current position and size within the client area.
  virtual Bounds CurrentBounds() const = 0;

  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
};

class Form {
 public:
  virtual ~Form() = default;
  virtual const FormDescription& Description() const = 0;

  // The named control; throws std::out_of_range when the form has none of that name.
  virtual Control& Find(std::string_view name) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  // Outer top-left corner, screen pixels.
  virtual void SetPosition(int left, int top) = 0;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual bool Visible() const = 0;
};

}  // namespace ui
