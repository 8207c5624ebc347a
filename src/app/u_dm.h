#pragma once
// The data module: created before any window; its creation handler is the start-up
// database check.
#include "ui/application.h"

namespace app {

class Tdm : public ui::Component {
 public:
  explicit Tdm(ui::Application& application);
  ~Tdm() override;

  void Load() override {}
  void Created() override;

  void DataModuleCreate(ui::Sender Sender);

 private:
  ui::Application& application_;
};

extern Tdm* dm;

}  // namespace app
