#pragma once
// Runs vpr40t-cli as a process of its own for the command-line tests.

#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace vpr::test {

struct CliRun {
  int status; // the exit code; -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

inline std::string readFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The word quoted for the shell, whatever characters it holds.
inline std::string shellQuoted(const std::string& word) {
  std::string text = "'";
  for (const char c : word)
    text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

// The Backups folder the tool uses when run by runCli in folder.
inline std::filesystem::path backupFolderOf(const std::filesystem::path& folder) {
  return folder / "Documents" / "Veskaro" / "VPR-40T" / "Backups";
}

// Runs the tool in folder with the arguments; input, when given, goes to its standard input.
// What it printed is handed back and its capture files removed.
inline CliRun runCli(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                     const std::optional<std::string>& input = std::nullopt) {
  // The folder is the tool's home too, so that backups and settings stay inside it.
  std::string command = "cd " + shellQuoted(folder.string()) + " && HOME=" + shellQuoted(folder.string()) +
                        " XDG_CONFIG_HOME=" + shellQuoted((folder / ".config").string()) + " " +
                        shellQuoted(binaryPath("cli/vpr40t-cli"));
  for (const auto& argument : arguments)
    command += " " + shellQuoted(argument);
  if (input) {
    const std::filesystem::path inputFile = folder / "stdin.txt";
    std::ofstream(inputFile, std::ios::binary) << *input;
    command += " <" + shellQuoted(inputFile.string());
  }
  command += " >stdout.txt 2>stderr.txt";
  const int raw = std::system(command.c_str());
  CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFileBytes(folder / "stdout.txt"),
             readFileBytes(folder / "stderr.txt")};
  std::filesystem::remove(folder / "stdout.txt");
  std::filesystem::remove(folder / "stderr.txt");
  return run;
}

} // namespace vpr::test
