#pragma once
// Helpers shared by all test programs.
#include <filesystem>
#include <string>
#include <vector>

namespace vpr::test {

// Path of a file in the source tree, e.g. sourcePath("res/vpr40t.lng").
std::string sourcePath(const std::string& relative);
// Path of a file in the build tree, e.g. binaryPath("cli/vpr40t-cli").
std::string binaryPath(const std::string& relative);
// A fresh, empty directory for one test; removed at process exit.
std::string makeTempDir();

// The bytes of a file (empty when it cannot be read), and a file made to hold exactly the bytes.
std::string readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, const std::string& bytes);
// The lines of a text, each without its line end (LF or CRLF).
std::vector<std::string> linesOf(const std::string& text);
// The lines of a job record file after its header; a missing or wrong header fails the test.
std::vector<std::string> jobRecordLines(const std::string& path);

} // namespace vpr::test
