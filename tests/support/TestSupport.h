#pragma once
// Helpers shared by all test programs.
#include <string>

namespace vpr::test {

// Path of a file in the source tree, e.g. sourcePath("res/vpr40t.lng").
std::string sourcePath(const std::string& relative);
// Path of a file in the build tree, e.g. binaryPath("cli/vpr40t-cli").
std::string binaryPath(const std::string& relative);
// A fresh, empty directory for one test; removed at process exit.
std::string makeTempDir();

} // namespace vpr::test
