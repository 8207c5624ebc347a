#pragma once
// The data module: created before any window; its creation handler is the start-up
// database check.
#include "ui/application.h"

namespace app {

class Tdm : public ui::Component {
 public:
  // Components are made with the application; the data module needs nothing of it yet.
  explicit Tdm(ui::Application&) {}
  ~Tdm() override;

  void Load() override {}
  void Created() override;

  void DataModuleCreate(ui::Sender Sender);
};

extern Tdm* dm;

}  // namespace app
