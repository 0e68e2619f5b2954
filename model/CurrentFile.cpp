#include "model/CurrentFile.h"

namespace vpr {

void CurrentFile::setFolder(const std::string& folder) {
  folder_ = folder;
  if (!folder_.empty() && folder_.back() != '/') folder_.push_back('/');
}

void CurrentFile::setFromPath(const std::string& path) {
  const std::size_t separator = path.find_last_of('/');
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
