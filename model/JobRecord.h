#pragma once
// The job record: one CSV line for every radio a fleet wrote or read and for every single
// write, appended to a file in the data folder, so that a shop can tell later which radio got
// which configuration and how it went. Columns, after a header line that a new file gets:
//
//   time      local time the radio's transfer ended, "yyyy-mm-dd hh:mm:ss"
//   port      the port as the user named it
//   model     the radio's model name (empty when the radio was never identified)
//   band      the radio's band name (likewise)
//   identity  the radio's identification as text ("P4410 01 00 00")
//   file      the data file written, or for a read the file the image went to
//   result    "done", or "failed: " and the messages the radio's transfer showed
//   backup    the backup taken before writing, when there was one
//
// Appends from several threads never interleave: each line is written whole under a lock.
// Nothing here talks to the user: callers report the errors handed back.

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>
#include <system_error>

namespace vpr {

struct JobEntry {
  std::time_t time = 0;
  std::string port;
  std::string model;
  std::string band;
  std::string identity;
  std::string file;
  std::string result;
  std::string backupPath;
};

class JobRecord {
public:
  static constexpr const char* kFileName = "Job record.csv";
  static constexpr const char* kHeader = "time,port,model,band,identity,file,result,backup";
  static constexpr const char* kDone = "done";
  static constexpr const char* kFailed = "failed: ";
  // Below this much free space a disk counts as full: a line must never be cut short.
  static constexpr std::uintmax_t kMinimumFreeBytes = 64 * 1024;

  explicit JobRecord(std::string path) : path_(std::move(path)) {}
  // "<data folder>/Job record.csv".
  static std::string pathBelow(const std::string& dataFolder);

  const std::string& path() const { return path_; }
  // Whether lines can be appended: the folder is created when missing, the file opens for
  // appending, and its disk has room. False with the reason otherwise.
  bool check(std::error_code& error) const;
  // Appends the entry's line (and the header first, to an empty file). False with the reason.
  bool append(const JobEntry& entry, std::error_code& error);
  // The entry as one CSV line without its line end; fields quoted where CSV needs it.
  static std::string lineOf(const JobEntry& entry);

private:
  std::string path_;
  std::mutex mutex_;
};

} // namespace vpr
