#include "cli/BackupOptions.h"

#include "model/RadioBackups.h"

namespace vpr::cli {

void BackupOptions::addTo(CLI::App& command) {
  command.add_flag("--no-backup", off, "Do not back up the radio's memory");
  command.add_option("--backup-dir", folder,
                     "Folder for the radio's backups (default: the Backups data folder)");
}

std::string BackupOptions::resolvedFolder() const {
  if (!folder.empty()) return folder;
  const std::string data = RadioBackups::defaultDataFolder();
  return data.empty() ? std::string() : RadioBackups::folderBelow(data);
}

} // namespace vpr::cli
