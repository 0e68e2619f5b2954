#include "cli/ProgramStart.h"

#include <cstdlib>
#include <filesystem>

namespace vpr::cli {

std::vector<std::string> ProgramStart::arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::string ProgramStart::environmentLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return {};
}

std::string ProgramStart::programFolder() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.parent_path().string();
}

void ProgramStart::prepareStandardStreams() {}

} // namespace vpr::cli
