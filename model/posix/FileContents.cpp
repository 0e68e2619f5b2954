#include "model/FileContents.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vpr {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() {
  return {errno, std::generic_category()};
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

// Reads up to size bytes, as many as the file has; -1 on a read error.
ssize_t readFully(int fd, char* buffer, std::size_t size) {
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

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// Overwrites a regular file with the bytes, in place. The old contents are read first; when the
// write fails half-way they are written back, so the file is left as it was or complete.
FileContents::WriteResult writeInPlace(const fs::path& target, std::span<const std::uint8_t> bytes,
                                       std::error_code& error) {
  error.clear();
  const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    error = lastError();
    return FileContents::CannotCreate;
  }
  struct stat status {};
  std::vector<char> old;
  bool ready = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  if (ready) {
    old.resize(static_cast<std::size_t>(status.st_size));
    ready = readFully(fd, old.data(), old.size()) == static_cast<ssize_t>(old.size());
  }
  if (!ready) {
    error = lastError();
    ::close(fd);
    return FileContents::CannotCreate;
  }
  const auto putBytes = [fd](const std::uint8_t* content, std::size_t size) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeFully(fd, content, size) &&
           ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::fsync(fd) == 0;
  };
  if (!putBytes(bytes.data(), bytes.size())) {
    error = lastError();
    putBytes(reinterpret_cast<const std::uint8_t*>(old.data()), old.size());
  }
  if (::close(fd) != 0 && !error) error = lastError();
  return error ? FileContents::WriteFailed : FileContents::Written;
}

} // namespace

bool FileContents::readRegular(const std::string& path, std::size_t wanted, std::string& bytes,
                               std::error_code& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = lastError();
    return false;
  }
  struct stat status {};
  // Only regular files: a directory cannot be read, and a pipe or device could block forever.
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    error = S_ISDIR(status.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                    : std::make_error_code(std::errc::invalid_argument);
    ::close(fd);
    return false;
  }
  bytes.assign(wanted, '\0');
  const ssize_t done = readFully(fd, bytes.data(), wanted);
  if (done < 0) error = lastError();
  ::close(fd);
  if (done < 0) return false;
  bytes.resize(static_cast<std::size_t>(done));
  return true;
}

FileContents::WriteResult FileContents::replace(const fs::path& target, std::span<const std::uint8_t> bytes,
                                                std::error_code& error) {
  mode_t mode = 0666 & ~currentUmask();
  std::optional<struct stat> existing;
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode)) {
      error = std::make_error_code(std::errc::is_a_directory);
      return CannotCreate;
    }
    // A pipe, a device or a socket is never replaced by a file nor written to.
    if (!S_ISREG(status.st_mode)) return NotARegularFile;
    // A file the user may not write stays as it is, as it would when written in place.
    if (::access(target.c_str(), W_OK) != 0) {
      error = lastError();
      return CannotCreate;
    }
    mode = status.st_mode & 07777;
    existing = status;
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
    // A folder that takes no new entries while the file itself is writable (a shared file in a
    // protected folder): the file is overwritten in place instead.
    if (existing && (errno == EACCES || errno == EPERM)) return writeInPlace(target, bytes, error);
    return CannotCreate;
  }
  ::fchmod(fd, mode);
  // Root saving a user's file hands it back to its owner, so that the user can still open it.
  if (existing && ::geteuid() == 0) {
    if (::fchown(fd, existing->st_uid, existing->st_gid) == 0) ::fchmod(fd, mode);
  }

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

} // namespace vpr
