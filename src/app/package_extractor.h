#pragma once
// The window's ZIP extractor, kept for the window's whole life. Extraction itself
// arrives with the installation step; until then Extract reports that it is missing.
#include <functional>
#include <string>

#include "ui/handlers.h"

namespace app {

class TPackageUnZipper {
 public:
  using ProgressEvent = std::function<void(ui::Sender, double percent)>;

  std::string ArchivePath;
  std::string OutputFolder;
  ProgressEvent OnProgress;

  void Extract();
};

}  // namespace app
