#pragma once
// Runs vpr40t-cli as a process of its own for the command-line tests.

#include "support/TestSupport.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vpr::test {

struct CliRun {
  int status; // the exit code; -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

#ifdef _WIN32
// Windows: the command interpreter runs the tool, which writes its lines with CR LF.
inline std::string shellQuoted(const std::string& word) {
  return '"' + word + '"';
}

inline std::string withoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

inline constexpr const char* kToolFileName = "vpr40t-cli.exe";

// A command line that runs in folder.
inline std::string inFolder(const std::filesystem::path& folder, const std::string& command) {
  // The interpreter drops the first and the last quote of a command that starts with one.
  return "\"cd /d " + shellQuoted(folder.string()) + " && " + command + "\"";
}

inline std::string toolCommand() {
  return shellQuoted(std::filesystem::absolute(binaryPath("cli/vpr40t-cli.exe")).make_preferred().string());
}

inline int exitCodeOf(int status) {
  return status;
}
#else
// The word quoted for the shell, whatever characters it holds.
inline std::string shellQuoted(const std::string& word) {
  std::string text = "'";
  for (const char c : word)
    text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

inline std::string withoutCarriageReturns(std::string text) {
  return text;
}

inline constexpr const char* kToolFileName = "vpr40t-cli";

// A command line that runs in folder, which is its home too, so that backups and settings stay
// inside it. It speaks English whatever the language of the environment the tests run in; a
// command that starts with its own language variables overrides that.
inline std::string inFolder(const std::filesystem::path& folder, const std::string& command) {
  return "cd " + shellQuoted(folder.string()) + " && HOME=" + shellQuoted(folder.string()) +
         " XDG_CONFIG_HOME=" + shellQuoted((folder / ".config").string()) + " LC_ALL=C.UTF-8 " + command;
}

inline std::string toolCommand() {
  return shellQuoted(binaryPath("cli/vpr40t-cli"));
}

inline int exitCodeOf(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The Backups folder the tool uses when run by runCli in folder.
inline std::filesystem::path backupFolderOf(const std::filesystem::path& folder) {
  return folder / "Documents" / "Veskaro" / "VPR-40T" / "Backups";
}
#endif

// Runs the tool in folder with the arguments; input, when given, goes to its standard input, and
// environment ("NAME=value ...", quoted for the shell) is set for it. What it printed is handed
// back. The capture files live in a folder of their own, not in folder, so that they never count
// among the files the tool made, and each run has its own: on Windows a file just deleted can stay
// "delete pending" for a moment and refuse to be made again under the same name.
inline CliRun runCli(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                     const std::optional<std::string>& input = std::nullopt,
                     const std::string& environment = {}) {
  static const std::filesystem::path captures = makeTempDir();
  static std::atomic<int> runs = 0;
  const std::string run = std::to_string(++runs);
  const std::filesystem::path outFile = captures / ("stdout" + run + ".txt");
  const std::filesystem::path errFile = captures / ("stderr" + run + ".txt");
  std::string command = environment.empty() ? toolCommand() : environment + " " + toolCommand();
  for (const auto& argument : arguments)
    command += " " + shellQuoted(argument);
  if (input) {
    const std::filesystem::path inputFile = captures / ("stdin" + run + ".txt");
    std::ofstream(inputFile, std::ios::binary) << *input;
    command += " <" + shellQuoted(inputFile.string());
  }
  command += " >" + shellQuoted(outFile.string()) + " 2>" + shellQuoted(errFile.string());
  const int raw = std::system(inFolder(folder, command).c_str());
  // Standard output carries bytes unchanged (a data file may be written there); messages on
  // standard error have the platform's line ends.
  return {exitCodeOf(raw), readFileBytes(outFile), withoutCarriageReturns(readFileBytes(errFile))};
}

} // namespace vpr::test
