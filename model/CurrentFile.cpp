#include "model/CurrentFile.h"

namespace vpr {

void CurrentFile::setFolder(const std::string& folder) {
  folder_ = folder;
  if (!folder_.empty() && kSeparators.find(folder_.back()) == std::string_view::npos)
    folder_.push_back(kSeparators.front());
}

std::string CurrentFile::fileNameOf(const std::string& path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

void CurrentFile::setFromPath(const std::string& path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  if (separator == std::string::npos) {
    folder_.clear();
    fileName_ = path;
  } else {
    folder_ = path.substr(0, separator + 1);
    fileName_ = path.substr(separator + 1);
  }
}

CurrentFile& currentFile() {
  static CurrentFile file;
  return file;
}

} // namespace vpr
