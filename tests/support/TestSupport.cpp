#include "support/TestSupport.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <vector>

namespace vpr::test {

std::string sourcePath(const std::string& relative) {
  return std::string(VPR_SOURCE_DIR) + "/" + relative;
}

std::string binaryPath(const std::string& relative) {
  return std::string(VPR_BINARY_DIR) + "/" + relative;
}

namespace {
struct TempDirs {
  std::vector<std::filesystem::path> dirs;
  ~TempDirs() {
    std::error_code ec;
    for (const auto& d : dirs)
      std::filesystem::remove_all(d, ec);
  }
};
TempDirs& tempDirs() {
  static TempDirs dirs;
  return dirs;
}
} // namespace

std::string makeTempDir() {
  // create_directory fails on a name that exists, so a taken name is never shared.
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vpr40t-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(dir)) {
      tempDirs().dirs.push_back(dir);
      return dir.string();
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

} // namespace vpr::test
