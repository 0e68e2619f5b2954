#include "model/RadioBackups.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace vpr {

bool RadioBackups::createNew(const std::string& path, std::span<const std::uint8_t> bytes,
                             std::error_code& error) {
  error.clear();
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = {errno, std::generic_category()};
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (done < bytes.size() || ::fsync(fd) != 0) error = {errno ? errno : EIO, std::generic_category()};
  if (::close(fd) != 0 && !error) error = {errno, std::generic_category()};
  if (!error) return true;
  ::unlink(path.c_str());
  return false;
}

} // namespace vpr
