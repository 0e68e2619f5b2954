#include "model/FileContents.h"

#include <cerrno>
#include <filesystem>

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

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

} // namespace

FileContents::ReadResult FileContents::read(const std::string& path, std::size_t limit, std::string& out,
                                            std::error_code& error, Length length) {
  error.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = lastError();
    return CannotOpen;
  }
  struct stat status {};
  // Only regular files: a directory cannot be read, and a pipe or device could block forever.
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    error = S_ISDIR(status.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                    : std::make_error_code(std::errc::invalid_argument);
    ::close(fd);
    return CannotOpen;
  }
  // One byte more than the limit tells a file that is too long.
  const std::size_t wanted = length == Whole ? limit + 1 : limit;
  std::string bytes(wanted, '\0');
  std::size_t done = 0;
  while (done < wanted) {
    const ssize_t n = ::read(fd, bytes.data() + done, wanted - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = lastError();
      ::close(fd);
      return CannotOpen;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (done > limit) return TooLarge;
  bytes.resize(done);
  out = std::move(bytes);
  return Read;
}

FileContents::WriteResult FileContents::write(const std::string& path, std::string_view text,
                                              std::error_code& error) {
  return write(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, error);
}

FileContents::WriteResult FileContents::write(const std::string& path, std::span<const std::uint8_t> bytes,
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
