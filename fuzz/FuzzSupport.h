#pragma once
// What the fuzz targets share: a user interface that records only how many messages were
// shown, a scratch file for the readers that take a path, and a check that reports a broken
// invariant as a crash, so that libFuzzer keeps the input that broke it.

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace vpr::fuzz {

class CountingUserInterface : public UserInterface {
public:
  MessageAnswer showMessage(const MessageRequest&) override {
    ++messages;
    return MessageAnswer::Ok;
  }
  std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
  void pumpOneMessage() override {}
  void reportProgress(int, int, const std::string&) override {}
  int messages = 0;
};

// A file of this process in memory (/dev/shm) or else below the temporary folder, rewritten for
// every input; each name is a file of its own.
inline std::string scratchPath(const char* name) {
  static const std::string prefix = [] {
    const char* folder = std::getenv("TMPDIR");
    if (::access("/dev/shm", W_OK) == 0) folder = "/dev/shm";
    return std::string(folder && *folder ? folder : "/tmp") + "/vpr40t-fuzz-" + std::to_string(getpid()) +
           "-";
  }();
  return prefix + name;
}

inline void writeScratch(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Loads the shipped language file into the process-wide table once, so that texts compared
// or shown by the code under test are the real ones. True when it loaded.
inline bool loadShippedLanguage() {
  static const bool loaded = [] {
    CountingUserInterface ui;
    return languageTable().loadLanguageFileAt(std::string(VPR_SOURCE_RES_DIR) + "/vpr40t.lng", "English", ui);
  }();
  return loaded;
}

// A broken invariant: the message goes to standard error and the process aborts.
inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

} // namespace vpr::fuzz
