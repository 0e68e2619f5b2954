#pragma once
// The backup options of the commands that talk to a radio (--no-backup, --backup-dir DIR) and
// the folder they lead to: by default the Backups folder below the data folder the desktop
// program uses, so that both programs keep their backups in one place.

#include <CLI/CLI.hpp>

#include <string>

namespace vpr::cli {

struct BackupOptions {
  bool off = false;
  std::string folder; // --backup-dir; empty for the default

  // Adds --no-backup and --backup-dir to a command.
  void addTo(CLI::App& command);
  // The folder backups go to.
  std::string resolvedFolder() const;
};

} // namespace vpr::cli
