#pragma once
// The current folder and file name: where Save writes and where the file dialogs start.
// The folder ends with a separator; the name carries its extension but no folder.

#include <string>
#include <string_view>

namespace vpr {

class CurrentFile {
public:
  static constexpr const char* kDefaultFileName = "vpr40t.dat";
#ifdef _WIN32
  // The characters that end a folder in a path; the first is the one this class adds.
  static constexpr std::string_view kSeparators = "\\/";
#else
  static constexpr std::string_view kSeparators = "/";
#endif

  // The file name of a path: what follows its last separator.
  static std::string fileNameOf(const std::string& path);

  const std::string& folder() const {
    return folder_;
  }
  const std::string& fileName() const {
    return fileName_;
  }
  // The folder followed by the file name.
  std::string path() const {
    return folder_ + fileName_;
  }

  // Any folder; a separator is added when it has none at its end (an empty folder stays empty,
  // which means the working folder).
  void setFolder(const std::string& folder);
  void setFileName(const std::string& name) {
    fileName_ = name;
  }
  void resetFileName() {
    fileName_ = kDefaultFileName;
  }
  // Takes folder and name from a full path: the folder is everything up to and including the
  // last separator.
  void setFromPath(const std::string& path);

private:
  std::string folder_;
  std::string fileName_ = kDefaultFileName;
};

// The program's one current file.
CurrentFile& currentFile();

} // namespace vpr
