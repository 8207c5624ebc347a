#include "app/package_extractor.h"

#include <stdexcept>

namespace app {

void TPackageUnZipper::Extract() {
  throw std::logic_error("Package extraction is not available in this build");
}

}  // namespace app
