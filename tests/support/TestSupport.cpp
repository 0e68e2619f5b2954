#include "support/TestSupport.h"

#include "model/JobRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
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

std::string readFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> jobRecordLines(const std::string& path) {
  std::vector<std::string> lines = linesOf(readFileBytes(path));
  if (lines.empty()) {
    ADD_FAILURE() << path << " holds no record";
    return lines;
  }
  EXPECT_EQ(lines.front(), JobRecord::kHeader) << path;
  lines.erase(lines.begin());
  return lines;
}

} // namespace vpr::test
