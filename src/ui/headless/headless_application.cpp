#include "ui/headless/headless_application.h"

#include "ui/headless/headless_form.h"

namespace ui::headless {

HeadlessApplication::HeadlessApplication(std::string title) : title_(std::move(title)) {}

// Components hold forms; destroy them while this object is still whole.
HeadlessApplication::~HeadlessApplication() {
  DestroyComponents();
}

std::unique_ptr<Form> HeadlessApplication::CreateForm(const FormDescription& description,
                                                      const Handlers& handlers) {
  auto form = std::make_unique<HeadlessForm>(*this, description, handlers);
  if (mainForm_ == nullptr)
    mainForm_ = form.get();
  return form;
}

void HeadlessApplication::FormDestroyed(HeadlessForm* form) {
  if (mainForm_ == form)
    mainForm_ = nullptr;
}

void HeadlessApplication::Run() {
  if (mainForm_ == nullptr)
    return;
  mainForm_->Show();
  for (;;) {
    ++loopPasses_;
    ProcessMessages();
    if (Terminated())
      break;
    if (input_.empty() && onIdle)
      onIdle();
    if (input_.empty())
      break;  // a real loop would now wait for the user forever
  }
}

void HeadlessApplication::ProcessMessages() {
  // Only what is pending now; input queued by the handlers run here waits for the next pump.
  const auto limit = nextSequence_;
  while (!input_.empty() && input_.front().sequence < limit) {
    const auto deliver = std::move(input_.front().deliver);
    input_.pop_front();
    deliver();
  }
}

void HeadlessApplication::Queue(std::function<void()> deliver) {
  input_.push_back({nextSequence_++, std::move(deliver)});
}

void HeadlessApplication::ShowMessage(std::string_view text) {
  messages_.push_back({std::string(text), cursor_});
  if (onMessage)
    onMessage(messages_.back());
}

void HeadlessApplication::ShowException(std::string_view message) {
  exceptions_.emplace_back(message);
}

void HeadlessApplication::Wait(int milliseconds) {
  if (onWait)
    onWait(milliseconds);
}

void HeadlessApplication::QueueKey(std::uint16_t key, ShiftState shift) {
  Queue([this, key, shift] {
    if (mainForm_ != nullptr)
      mainForm_->PressKey(key, shift);
  });
}

void HeadlessApplication::QueueClick(std::string controlName) {
  Queue([this, name = std::move(controlName)] {
    if (mainForm_ != nullptr)
      mainForm_->Click(name);
  });
}

void HeadlessApplication::QueueMenu(std::string itemName) {
  Queue([this, name = std::move(itemName)] {
    if (mainForm_ != nullptr)
      mainForm_->ChooseMenu(name);
  });
}

void HeadlessApplication::QueueClose() {
  // Nothing on the main form objects to closing, and closing the main form ends the program.
  Queue([this] { Terminate(); });
}

void HeadlessApplication::QueueAction(std::function<void()> action) {
  Queue(std::move(action));
}

}  // namespace ui::headless
