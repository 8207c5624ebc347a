#include "app/DOSTRA_UPDATE.h"

int main(int argc, char** argv) {
  auto application = ui::MakeNativeApplication(argc, argv);
  return app::RunUpdater(*application);
}
