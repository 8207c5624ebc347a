#pragma once
// The application object a toolkit back end provides: one per process, owner of the
// components, the event loop and the two ways to end.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form.h"
#include "ui/handlers.h"

namespace ui {

enum class Cursor { Default, Hourglass };

// Something the application owns for the whole run and destroys at shutdown: the data
// module and the forms. Construction only allocates; Load builds the object from its
// design description and Created runs its creation handler.
class Component {
 public:
  virtual ~Component() = default;
  virtual void Load() = 0;
  virtual void Created() = 0;
};

class Application {
 public:
  Application() = default;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  virtual ~Application();

  // Builds a native form from its description. The first form built becomes the main
  // form: the one shown by Run, whose closing ends the program.
  virtual std::unique_ptr<Form> CreateForm(const FormDescription& description,
                                           const Handlers& handlers) = 0;

  // Shows the main form (its activation handler runs) and runs the event loop. Each
  // pass handles every message pending at that moment; the loop ends after the first
  // pass that finds termination requested.
  virtual void Run() = 0;
  // Handles the messages pending now, from inside a handler.
  virtual void ProcessMessages() = 0;

  // The termination request: returns at once; the running handlers finish first.
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // The immediate exit: destroys the components and ends the process from inside the
  // running handler. Handlers further up the call chain never resume.
  [[noreturn]] void Halt(int exitCode);

  virtual void SetCursor(Cursor cursor) = 0;
  virtual Cursor CurrentCursor() const = 0;

  // Modal information box titled with Title(); each line break starts a new line.
  virtual void ShowMessage(std::string_view text) = 0;
  // The toolkit's standard box for an exception that escaped a handler.
  virtual void ShowException(std::string_view message) = 0;
  // A fixed wait that blocks the thread.
  virtual void Wait(int milliseconds) = 0;

  // The application's title: the executable's file name without extension.
  virtual std::string Title() const = 0;

  // Runs a handler; an exception escaping it goes to the standard exception box.
  void Dispatch(const std::function<void()>& call);

  // Takes ownership of a component; components are destroyed in reverse order.
  void Own(std::unique_ptr<Component> component);
  void DestroyComponents();

 private:
  bool terminated_ = false;
  std::vector<std::unique_ptr<Component>> components_;
};

// Allocates a component, assigns the caller's reference before anything of the
// component runs (creation handlers reach the object through that reference), loads
// it and runs its creation handler, whose exceptions go to the standard box.
template <class T>
T& CreateComponent(Application& app, T*& reference) {
  auto object = std::make_unique<T>(app);
  T& created = *object;
  reference = &created;
  app.Own(std::move(object));
  created.Load();
  app.Dispatch([&created] { created.Created(); });
  return created;
}

// The application object of the toolkit this program was built with.
std::unique_ptr<Application> MakeNativeApplication(int& argc, char** argv);

}  // namespace ui
