#include "app/u_dm.h"

namespace app {

Tdm* dm = nullptr;

Tdm::~Tdm() {
  if (dm == this)
    dm = nullptr;
}

void Tdm::Created() {
  DataModuleCreate("dm");
}

// The database check arrives with its own step.
void Tdm::DataModuleCreate(ui::Sender) {}

}  // namespace app
