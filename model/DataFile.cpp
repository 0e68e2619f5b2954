#include "model/DataFile.h"

#include "model/ModelCatalogue.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vpr {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kVersionOffset = 10;
constexpr std::size_t kHeaderModelCodeOffset = 15;
constexpr char kVersion[] = "V0420";

std::error_code lastError() {
  return {errno, std::generic_category()};
}

// Reads up to size bytes, as many as the file has; -1 on a read error.
ssize_t readFully(int fd, std::uint8_t* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, buffer + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

bool writeFully(int fd, const std::uint8_t* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, buffer + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

} // namespace

const DataFile::Magic& DataFile::magic() {
  static const Magic bytes = {'V', 'P', 'R', '4', '0', 'T', 0xFF, 0xFF, 0xFF, 0xFF};
  return bytes;
}

DataFile::ReadResult DataFile::readDataFile(const std::string& path, RadioImage& target, Magic& magicOut) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return CannotOpen;
  struct stat status {};
  // Only regular files: a directory cannot be read, and a pipe or device could block forever.
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return CannotOpen;
  }
  std::array<std::uint8_t, kFileSize> bytes{};
  const ssize_t count = readFully(fd, bytes.data(), bytes.size());
  ::close(fd);
  if (count < 0) return CannotOpen;
  const auto length = static_cast<std::size_t>(count);

  if (length < kMagicSize || !std::equal(magic().begin(), magic().end(), bytes.begin())) {
    magicOut.fill(0xFF);
    std::copy_n(bytes.begin(), std::min(length, kMagicSize), magicOut.begin());
    return WrongMagic;
  }
  if (length < kHeaderSize) return TooShort;

  ModelCode headerCode{};
  std::copy_n(bytes.begin() + kHeaderModelCodeOffset, kModelCodeSize, headerCode.begin());
  const bool checkedVersion = std::equal(kVersion, kVersion + 3, bytes.begin() + kVersionOffset);
  if (checkedVersion && !ModelCatalogue::isListedModel(headerCode)) return UnlistedModel;

  if (length < kFileSize) return TooShort;
  std::copy_n(bytes.begin() + kHeaderSize, kImageSize, target.begin());
  return Read;
}

std::array<std::uint8_t, DataFile::kFileSize> DataFile::fileBytes(const RadioImage& image) {
  std::array<std::uint8_t, kFileSize> bytes{};
  bytes.fill(0xFF);
  std::copy(magic().begin(), magic().end(), bytes.begin());
  std::copy_n(kVersion, 5, bytes.begin() + kVersionOffset);
  std::copy_n(image.begin() + layout::kModelCode, kModelCodeSize, bytes.begin() + kHeaderModelCodeOffset);
  std::copy(image.begin(), image.end(), bytes.begin() + kHeaderSize);
  return bytes;
}

DataFile::WriteResult DataFile::writeDataFile(const std::string& path, const RadioImage& image,
                                              std::error_code& error) {
  error.clear();
  std::error_code ec;
  fs::path target(path);
  // Replace the file a link points to, not the link.
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }

  mode_t mode = 0666 & ~currentUmask();
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) {
      error = std::make_error_code(std::errc::is_a_directory);
      return CannotCreate;
    }
    // A file the user may not write stays as it is, as it would when written in place.
    if (::access(target.c_str(), W_OK) != 0) {
      error = lastError();
      return CannotCreate;
    }
    mode = existing.st_mode & 07777;
  }

  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  // A hidden name beside the target: ".<name>.XXXXXX", the X replaced by mkstemp.
  std::string hiddenName(1, '.');
  hiddenName += target.filename().string();
  hiddenName += ".XXXXXX";
  std::string temporary = (folder / hiddenName).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    error = lastError();
    return CannotCreate;
  }
  ::fchmod(fd, mode);

  const auto bytes = fileBytes(image);
  const bool written = writeFully(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  if (!written) error = lastError();
  if (::close(fd) != 0 && !error) error = lastError();
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = lastError();
  if (error) {
    ::unlink(temporary.c_str());
    return WriteFailed;
  }
  // Make the new directory entry itself durable; a folder that cannot be synced is no failure.
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return Written;
}

std::string DataFile::magicText(const Magic& magic) {
  std::string text;
  for (const std::uint8_t byte : magic) {
    if (byte == 0xFF || byte == 0) break;
    text.push_back(static_cast<char>(byte));
  }
  return text;
}

} // namespace vpr
