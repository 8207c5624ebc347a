#include "ui/application.h"

#include <exception>

#include "platform/process_exit.h"

namespace ui {

// Each back end destroys the components in its own destructor, while the toolkit they
// hold windows of is still whole; by the time this runs there is none left.
Application::~Application() = default;

void Application::Halt(int exitCode) {
  DestroyComponents();
  platform::ExitProcessNow(exitCode);
}

void Application::Dispatch(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception& error) {
    ShowException(error.what());
  } catch (...) {
    ShowException("Unknown exception");
  }
}

void Application::Own(std::unique_ptr<Component> component) {
  components_.push_back(std::move(component));
}

void Application::DestroyComponents() {
  while (!components_.empty())
    components_.pop_back();
}

}  // namespace ui
