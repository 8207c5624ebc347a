#include "ui/application_title.h"

#include "platform/executable_path.h"

namespace ui {

std::string ApplicationTitle(std::string_view executablePath) {
  std::string_view name = executablePath.substr(platform::FolderOf(executablePath).size());
  const auto dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0)
    name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace ui
