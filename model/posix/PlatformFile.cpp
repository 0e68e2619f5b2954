#include "model/PlatformFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vpr {

namespace {

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

bool PlatformFile::readRegular(const std::string& path, std::uint8_t* buffer, std::size_t size,
                               std::size_t& count) {
  count = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat status {};
  // Only regular files: a directory cannot be read, and a pipe or device could block forever.
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return false;
  }
  const ssize_t n = readFully(fd, buffer, size);
  ::close(fd);
  if (n < 0) return false;
  count = static_cast<std::size_t>(n);
  return true;
}

PlatformFile::Outcome PlatformFile::replace(const std::filesystem::path& target, const std::uint8_t* data,
                                            std::size_t size, std::error_code& error) {
  mode_t mode = 0666 & ~currentUmask();
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    // A file the user may not write stays as it is, as it would when written in place.
    if (::access(target.c_str(), W_OK) != 0) {
      error = lastError();
      return Outcome::CannotCreate;
    }
    mode = existing.st_mode & 07777;
  }

  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  // A hidden name beside the target: ".<name>.XXXXXX", the X replaced by mkstemp.
  std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    error = lastError();
    return Outcome::CannotCreate;
  }
  ::fchmod(fd, mode);

  const bool written = writeFully(fd, data, size) && ::fsync(fd) == 0;
  if (!written) error = lastError();
  if (::close(fd) != 0 && !error) error = lastError();
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = lastError();
  if (error) {
    ::unlink(temporary.c_str());
    return Outcome::WriteFailed;
  }
  // Make the new directory entry itself durable; a folder that cannot be synced is no failure.
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return Outcome::Replaced;
}

} // namespace vpr
