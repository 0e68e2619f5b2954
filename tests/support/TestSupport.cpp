#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace vpr::test {

std::string sourcePath(const std::string& relative) { return std::string(VPR_SOURCE_DIR) + "/" + relative; }

std::string binaryPath(const std::string& relative) { return std::string(VPR_BINARY_DIR) + "/" + relative; }

namespace {
struct TempDirs {
  std::vector<std::filesystem::path> dirs;
  ~TempDirs() {
    std::error_code ec;
    for (const auto& d : dirs) std::filesystem::remove_all(d, ec);
  }
};
TempDirs& tempDirs() {
  static TempDirs dirs;
  return dirs;
}
} // namespace

std::string makeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vpr40t-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  tempDirs().dirs.emplace_back(pattern);
  return pattern;
}

} // namespace vpr::test
