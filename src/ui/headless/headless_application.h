#pragma once
// A toolkit without a display, for tests: control state lives in memory, input is
// queued by the test and delivered at the next message pump, and waits are reported to
// the test instead of slept.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/application.h"

namespace ui::headless {

class HeadlessForm;

struct RecordedBox {
  std::string text;
  Cursor cursorWhileShown;
};

class HeadlessApplication : public Application {
 public:
  explicit HeadlessApplication(std::string title = "DOSTRA_UPDATE");
  ~HeadlessApplication() override;

  std::unique_ptr<Form> CreateForm(const FormDescription& description,
                                   const Handlers& handlers) override;
  void Run() override;
  void ProcessMessages() override;
  void SetCursor(Cursor cursor) override { cursor_ = cursor; }
  Cursor CurrentCursor() const override { return cursor_; }
  void ShowMessage(std::string_view text) override;
  void ShowException(std::string_view message) override;
  void Wait(int milliseconds) override;
  std::string Title() const override { return title_; }

  // Input, delivered at the next message pump in the order queued.
  void QueueKey(std::uint16_t key, ShiftState shift = kShiftNone);
  // A click reaches a button only when it is visible and enabled, as on a screen.
  void QueueClick(std::string controlName);
  void QueueMenu(std::string itemName);
  // The close box (or Alt+F4): a termination request.
  void QueueClose();
  // Any test action, run at the next message pump.
  void QueueAction(std::function<void()> action);

  // Observations.
  HeadlessForm* MainForm() const { return mainForm_; }
  const std::vector<RecordedBox>& Messages() const { return messages_; }
  const std::vector<std::string>& Exceptions() const { return exceptions_; }
  int LoopPasses() const { return loopPasses_; }

  // Called while a message box is open (the box is modal: the caller is blocked).
  std::function<void(const RecordedBox&)> onMessage;
  // Called at every fixed wait instead of sleeping.
  std::function<void(int milliseconds)> onWait;
  // Called when the event loop has no input left and would wait for the user. A hook
  // that queues input lets the loop go on; otherwise Run returns.
  std::function<void()> onIdle;

  void FormDestroyed(HeadlessForm* form);

 private:
  std::string title_;
  Cursor cursor_ = Cursor::Default;
  HeadlessForm* mainForm_ = nullptr;
  struct Input {
    unsigned long long sequence;
    std::function<void()> deliver;
  };
  void Queue(std::function<void()> deliver);

  // One queue, as on a real system: a pump nested in a handler also sees what was
  // already pending when the outer pump began.
  std::deque<Input> input_;
  unsigned long long nextSequence_ = 0;
  std::vector<RecordedBox> messages_;
  std::vector<std::string> exceptions_;
  int loopPasses_ = 0;
};

}  // namespace ui::headless
