#pragma once
// The Backups folder: copies of a radio's memory taken before every write and after every
// read, kept as ordinary data files named "<model>_<band>_<yyyy-mm-dd_hh-mm-ss>.dat" (local
// time), so that any of them can be opened, compared or written back like any data file.
//
// Each backup says in its file why it was taken (after a read, before a write), so that the
// restore list can tell the backups of one radio apart; backups written before that say nothing
// and are listed without a reason. The names do not change with the reason.
//
// Backups older than a year are removed, but never the newest twenty. Only files whose whole
// names are backup names are ever removed; other files in the folder are left alone, also when
// the folder is one the user named.
// Nothing here talks to the user or to a radio: callers report the errors handed back.

#include "model/RadioImage.h"

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace vpr {

// Why a backup was taken; Unknown for a file that does not say (an older backup, a user's file).
enum class BackupReason { Unknown, AfterRead, BeforeWrite };

// One file of the Backups folder as the restore list shows it.
struct BackupEntry {
  std::string path;
  std::string fileName;
  std::string model;    // the model name; empty when damaged or not a listed model
  std::string band;     // the band name; as above
  std::string dateTime; // "yyyy-mm-dd hh:mm:ss" from the name, else the file's modification time
  std::time_t time = 0; // the same as a time, for ordering
  bool damaged = false; // the file is not a data file that opens
  BackupReason reason = BackupReason::Unknown;
};

class RadioBackups {
public:
  static constexpr const char* kFolderName = "Backups";
  static constexpr int kKeepDays = 365;
  static constexpr int kKeepNewest = 20;

  // "<data folder>/Backups/".
  static std::string folderBelow(const std::string& dataFolder);
  // The data folder of a user without the desktop program's settings: "VPR-40T" of the company
  // folder below the documents folder (XDG_DOCUMENTS_DIR as the user's "user-dirs.dirs" names
  // it, else "~/Documents"; on Windows the known folder Documents), with a separator at the end.
  static std::string defaultDataFolder();

  // The file name for a backup of the image taken at a time. Characters a file system refuses
  // (path separators, ":*?\"<>|" and control characters) become "_", so a name never leaves
  // the folder.
  static std::string fileNameFor(const RadioImage& image, std::time_t when);

  // Stores the image as a data file in the folder (created when missing), noting the reason in
  // the file, and then prunes the folder. The file is created exclusively: a name already taken gets "_2",
  // "_3" ... before
  // ".dat", so no backup overwrites another. Returns the path written, or an empty string with
  // the system's error.
  static std::string store(const std::string& folder, const RadioImage& image, std::time_t when,
                           BackupReason reason, std::error_code& error);

  // Removes backups older than kKeepDays before now, keeping the kKeepNewest newest whatever
  // their age. A backup is a file whose whole name is one fileNameFor gives (with its suffix);
  // any other file stays, whatever its name ends with. Errors are ignored: a backup that cannot
  // be removed simply stays.
  static void prune(const std::string& folder, std::time_t now);

  // The ".dat" files of the folder, newest first; an empty list when there is no folder.
  static std::vector<BackupEntry> list(const std::string& folder);

private:
  // The platform's part: creates the file at path, which must not exist yet, with the bytes and
  // flushes it to the disk. False with the error (std::errc::file_exists when the name is taken);
  // a file that could not be written whole is removed again.
  static bool createNew(const std::string& path, std::span<const std::uint8_t> bytes, std::error_code& error);
};

} // namespace vpr
