#include "model/RadioBackups.h"

#include "lang/PathText.h"
#include "model/CurrentFile.h"
#include "model/DataFile.h"
#include "model/FileContents.h"
#include "model/LocalTime.h"
#include "model/ModelCatalogue.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#endif

namespace vpr {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCompanyFolder = "Veskaro/VPR-40T";
constexpr const char* kUnknownName = "unknown";
constexpr std::time_t kSecondsPerDay = 24 * 60 * 60;

// The notes in a backup's file that say why it was taken.
struct ReasonNote {
  BackupReason reason;
  const char* note;
};
constexpr ReasonNote kReasonNotes[] = {
    {BackupReason::AfterRead, "backup after read"},
    {BackupReason::BeforeWrite, "backup before write"},
};

std::string_view noteFor(BackupReason reason) {
  for (const ReasonNote& entry : kReasonNotes)
    if (entry.reason == reason) return entry.note;
  return {};
}

BackupReason reasonOf(const std::string& note) {
  for (const ReasonNote& entry : kReasonNotes)
    if (note == entry.note) return entry.reason;
  return BackupReason::Unknown;
}

std::string withSeparator(std::string folder) {
  if (!folder.empty() && CurrentFile::kSeparators.find(folder.back()) == std::string_view::npos)
    folder.push_back(CurrentFile::kSeparators.front());
  return folder;
}

std::string safeForFileName(const std::string& text) {
  std::string safe = text.empty() ? kUnknownName : text;
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  }
  return safe;
}

// The names fileNameFor gives before the time stamp: "<model>_<band>" of every catalogue row,
// and the name of an image whose model code is not listed.
const std::vector<std::string>& backupPrefixes() {
  static const std::vector<std::string> prefixes = [] {
    std::vector<std::string> list{safeForFileName({}) + "_" + safeForFileName({})};
    for (int row = 0; row < ModelCatalogue::kRowCount; ++row) {
      const ModelCode code = ModelCatalogue::modelCodeForRow(row);
      list.push_back(safeForFileName(ModelCatalogue::modelNameText(code)) + "_" +
                     safeForFileName(ModelCatalogue::bandNameText(code)));
    }
    return list;
  }();
  return prefixes;
}

// The time of a name that is a backup's name as a whole: a prefix of backupPrefixes(), "_", a
// valid time stamp, maybe "_2", "_3" ... and ".dat". False for any other name, so that a user's
// "club_2023-01-05_19-00-00.dat" is never taken for a backup.
bool stampOf(const std::string& fileName, std::time_t& when) {
  static const std::regex pattern(
      R"(_((\d{4})-(\d{2})-(\d{2})_(\d{2})-(\d{2})-(\d{2}))(_[2-9]|_[1-9]\d+)?\.dat)");
  for (const std::string& prefix : backupPrefixes()) {
    std::smatch match;
    if (fileName.compare(0, prefix.size(), prefix) != 0 ||
        !std::regex_match(fileName.begin() + static_cast<std::ptrdiff_t>(prefix.size()), fileName.end(),
                          match, pattern))
      continue;
    std::tm local{};
    local.tm_year = std::stoi(match[2]) - 1900;
    local.tm_mon = std::stoi(match[3]) - 1;
    local.tm_mday = std::stoi(match[4]);
    local.tm_hour = std::stoi(match[5]);
    local.tm_min = std::stoi(match[6]);
    local.tm_sec = std::stoi(match[7]);
    local.tm_isdst = -1;
    when = std::mktime(&local);
    // A stamp that no clock shows ("2026-02-30") was not written by this program.
    return when != static_cast<std::time_t>(-1) && localTimeText(when, "%Y-%m-%d_%H-%M-%S") == match[1].str();
  }
  return false;
}

bool isDataFileName(const fs::path& path) {
  std::string extension = PathText::toText(path.extension());
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".dat";
}

#ifdef _WIN32
// The user's Documents folder as Windows knows it (it may have been moved); empty without one.
std::string documentsFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &path) == S_OK)
    folder = PathText::toText(path);
  CoTaskMemFree(path);
  return folder;
}
#else
// The home folder's XDG documents folder, else "~/Documents"; empty without a home.
std::string documentsFolder() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const fs::path dirs =
      (config && *config ? fs::path(config) : fs::path(home) / ".config") / "user-dirs.dirs";
  std::ifstream in(dirs);
  std::string line;
  const std::string key = "XDG_DOCUMENTS_DIR=";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    // A documents folder set to the home folder itself means there is none.
    if (!value.empty() && value.front() == '/' && fs::path(value) != fs::path(home)) return value;
  }
  return (fs::path(home) / "Documents").string();
}
#endif

} // namespace

std::string RadioBackups::folderBelow(const std::string& dataFolder) {
  return withSeparator(withSeparator(dataFolder) + kFolderName);
}

std::string RadioBackups::defaultDataFolder() {
  const std::string documents = documentsFolder();
  if (documents.empty()) return {};
  return withSeparator(PathText::toText((PathText::toPath(documents) / kCompanyFolder).make_preferred()));
}

std::string RadioBackups::fileNameFor(const RadioImage& image, std::time_t when) {
  const ModelCode code = modelCodeOf(image);
  return safeForFileName(ModelCatalogue::modelNameText(code)) + "_" +
         safeForFileName(ModelCatalogue::bandNameText(code)) + "_" +
         localTimeText(when, "%Y-%m-%d_%H-%M-%S") + ".dat";
}

std::string RadioBackups::store(const std::string& folder, const RadioImage& image, std::time_t when,
                                BackupReason reason, std::error_code& error) {
  // Several radios of a batch may finish at the same second: the free name is chosen and taken
  // by one of them at a time.
  static std::mutex choosing;
  const std::lock_guard<std::mutex> lock(choosing);
  error.clear();
  const fs::path base = PathText::toPath(folder);
  fs::create_directories(base, error);
  if (error) return {};
  const std::string name = fileNameFor(image, when);
  const std::string stem = name.substr(0, name.size() - 4);
  const auto bytes = DataFile::fileBytes(image, noteFor(reason));
  // Each name is taken only when no file has it: a second backup in the same second, by this
  // program or another one, gets the next suffix instead of replacing the first.
  for (int n = 1;; ++n) {
    const std::string written =
        PathText::toText(base / PathText::toPath(n == 1 ? name : stem + "_" + std::to_string(n) + ".dat"));
    if (createNew(written, bytes, error)) {
      prune(folder, when);
      return written;
    }
    if (error != std::errc::file_exists) return {};
  }
}

void RadioBackups::prune(const std::string& folder, std::time_t now) {
  struct Stamped {
    fs::path path;
    std::time_t time;
  };
  std::vector<Stamped> backups;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(PathText::toPath(folder), ec)) {
    std::time_t when = 0;
    if (entry.is_regular_file(ec) && stampOf(PathText::toText(entry.path().filename()), when))
      backups.push_back({entry.path(), when});
  }
  std::sort(backups.begin(), backups.end(),
            [](const Stamped& a, const Stamped& b) { return a.time > b.time; });
  for (std::size_t i = kKeepNewest; i < backups.size(); ++i)
    if (now - backups[i].time > kKeepDays * kSecondsPerDay) fs::remove(backups[i].path, ec);
}

std::vector<BackupEntry> RadioBackups::list(const std::string& folder) {
  std::vector<BackupEntry> entries;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(PathText::toPath(folder), ec)) {
    if (!isDataFileName(item.path()) || item.is_directory(ec)) continue;
    BackupEntry entry;
    entry.path = PathText::toText(item.path());
    entry.fileName = PathText::toText(item.path().filename());
    RadioImage image{};
    DataFile::Magic magic{};
    std::string bytes;
    entry.damaged = FileContents::read(entry.path, DataFile::kFileSize, bytes, ec, FileContents::Prefix) !=
                        FileContents::Read ||
                    DataFile::parseDataFile(bytes, image, magic) != DataFile::Read;
    if (!entry.damaged) {
      entry.model = ModelCatalogue::modelNameText(modelCodeOf(image));
      entry.band = ModelCatalogue::bandNameText(modelCodeOf(image));
      entry.reason = reasonOf(DataFile::noteOf(bytes));
    }
    if (!stampOf(entry.fileName, entry.time)) {
      const auto modified = item.last_write_time(ec);
      if (!ec)
        entry.time = std::chrono::system_clock::to_time_t(
            std::chrono::time_point_cast<std::chrono::system_clock::duration>(
                std::chrono::file_clock::to_sys(modified)));
    }
    entry.dateTime = localTimeText(entry.time, "%Y-%m-%d %H:%M:%S");
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
    return a.time != b.time ? a.time > b.time : a.fileName > b.fileName;
  });
  return entries;
}

} // namespace vpr
