#include "model/JobRecord.h"

#include "model/CurrentFile.h"
#include "model/LocalTime.h"

#include <filesystem>
#include <fstream>

namespace vpr {

namespace fs = std::filesystem;

namespace {

// A CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a line end.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text)
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + '"';
}

fs::path folderOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

} // namespace

std::string JobRecord::pathBelow(const std::string& dataFolder) {
  std::string path = dataFolder;
  if (!path.empty() && CurrentFile::kSeparators.find(path.back()) == std::string_view::npos)
    path.push_back(CurrentFile::kSeparators.front());
  return path + kFileName;
}

bool JobRecord::check(std::error_code& error) const {
  error.clear();
  const fs::path folder = folderOf(path_);
  fs::create_directories(folder, error);
  if (error) return false;
  const fs::space_info space = fs::space(folder, error);
  if (error) return false;
  if (space.available < kMinimumFreeBytes) {
    error = std::make_error_code(std::errc::no_space_on_device);
    return false;
  }
  std::ofstream file(fs::path(path_), std::ios::binary | std::ios::app);
  if (!file) error = std::make_error_code(std::errc::permission_denied);
  return !error;
}

bool JobRecord::append(const JobEntry& entry, std::error_code& error) {
  error.clear();
  const std::lock_guard<std::mutex> lock(mutex_);
  std::error_code ignored;
  const bool fresh = !fs::exists(fs::path(path_), ignored) || fs::file_size(fs::path(path_), ignored) == 0;
  std::ofstream file(fs::path(path_), std::ios::binary | std::ios::app);
  if (!file) {
    error = std::make_error_code(std::errc::permission_denied);
    return false;
  }
  // The whole text goes out in one write, so that another program appending meanwhile cannot
  // come between its lines either.
  std::string text = fresh ? std::string(kHeader) + "\r\n" : std::string();
  text += lineOf(entry) + "\r\n";
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  if (!file) error = std::make_error_code(std::errc::no_space_on_device);
  return !error;
}

std::string JobRecord::lineOf(const JobEntry& entry) {
  std::string line = localTimeText(entry.time, "%Y-%m-%d %H:%M:%S");
  for (const std::string* field : {&entry.port, &entry.model, &entry.band, &entry.identity, &entry.file,
                                   &entry.result, &entry.backupPath})
    line += ',' + csvField(*field);
  return line;
}

} // namespace vpr
