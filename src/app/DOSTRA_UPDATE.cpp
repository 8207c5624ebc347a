#include "app/DOSTRA_UPDATE.h"

#include "app/u_dm.h"
#include "app/u_fmain.h"

namespace app {

int RunUpdater(ui::Application& application) {
  ui::CreateComponent(application, dm);
  // A failed database check asks for termination: no window, no update check.
  if (!application.Terminated()) {
    ui::CreateComponent(application, fMain);
    application.Run();
  }
  application.DestroyComponents();
  return 0;
}

}  // namespace app
