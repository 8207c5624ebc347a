#include "ui/application_title.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplicationTitle, IsTheExecutablesFileNameWithoutExtension) {
  struct Case {
    const char* path;
    const char* title;
  };
  const Case cases[] = {
      {"/opt/app/DOSTRA_UPDATE", "DOSTRA_UPDATE"},
      {"/opt/my.app/tool.v2.bin", "tool.v2"},
      {"/opt/app/.hidden", ".hidden"},
      {"/opt/atualização/Atualizar", "Atualizar"},
#ifdef _WIN32
      {"C:\\Dostra\\DOSTRA_UPDATE.exe", "DOSTRA_UPDATE"},
      {"C:\\Área\\v1.2\\Atualizador", "Atualizador"},
      {"Z:/tmp/app.x.exe", "app.x"},
#endif
  };
  for (const auto& c : cases)
    EXPECT_EQ(ui::ApplicationTitle(c.path), c.title) << c.path;
}

}  // namespace
