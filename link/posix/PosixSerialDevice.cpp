#include "link/posix/PosixSerialDevice.h"

#include "link/LineMode.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <optional>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

#if defined(__linux__)
#include <linux/serial.h>
#endif

namespace vpr {

namespace {

using Clock = std::chrono::steady_clock;

// A request the device kind does not offer (modem lines, counters on a pseudo-terminal).
bool notSupported(int error) {
  return error == ENOTTY || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

std::optional<speed_t> speedOf(unsigned baud) {
  switch (baud) {
  case 110:
    return B110;
  case 150:
    return B150;
  case 300:
    return B300;
  case 600:
    return B600;
  case 1200:
    return B1200;
  case 2400:
    return B2400;
  case 4800:
    return B4800;
  case 9600:
    return B9600;
  case 19200:
    return B19200;
  case 38400:
    return B38400;
  case 57600:
    return B57600;
  case 115200:
    return B115200;
  default:
    return std::nullopt;
  }
}

bool isPseudoTerminal(int fd) {
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
#if defined(__linux__)
  // Unix98 pseudo-terminal slaves have the major numbers 136 to 143.
  unsigned maj = major(st.st_rdev);
  return maj >= 136 && maj <= 143;
#else
  return false;
#endif
}

} // namespace

std::unique_ptr<SerialDevice> makeSerialDevice() {
  return std::make_unique<PosixSerialDevice>();
}

std::string defaultSerialDeviceName(int portNumber) {
  if (portNumber >= 1 && portNumber <= 8) return "/dev/ttyUSB" + std::to_string(portNumber - 1);
  if (portNumber >= 9 && portNumber <= 12) return "/dev/ttyACM" + std::to_string(portNumber - 9);
  if (portNumber >= 13 && portNumber <= 20) return "/dev/ttyS" + std::to_string(portNumber - 13);
  return {};
}

bool serialDeviceExists(const std::string& deviceName) {
  struct stat st {};
  return stat(deviceName.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

SerialErrorKind serialErrorKind(int error) {
  if (error == EACCES || error == EPERM) return SerialErrorKind::AccessDenied;
  if (error == EBUSY) return SerialErrorKind::Busy;
  return SerialErrorKind::Other;
}

std::string serialErrorText(int error) {
  return std::generic_category().message(error);
}

std::string serialDeviceGroup(const std::string& deviceName) {
  struct stat st {};
  if (stat(deviceName.c_str(), &st) != 0) return {};
  const group* g = getgrgid(st.st_gid);
  return g ? g->gr_name : std::string();
}

PosixSerialDevice::~PosixSerialDevice() {
  if (fd_ >= 0) ::close(fd_);
}

bool PosixSerialDevice::fail() {
  error_ = errno;
  return false;
}

bool PosixSerialDevice::open(const std::string& deviceName) {
  if (fd_ >= 0) {
    error_ = EBUSY;
    return false;
  }
  if (deviceName.empty()) {
    error_ = ENOENT;
    return false;
  }
  int fd = ::open(deviceName.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail();
  if (!isatty(fd)) {
    ::close(fd);
    error_ = ENOTTY;
    return false;
  }
  // flock keeps every other opener off, root included; TIOCEXCL adds the terminal's own lock.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error_ = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return false;
  }
  if (ioctl(fd, TIOCEXCL) != 0 && !notSupported(errno)) {
    error_ = errno;
    ::close(fd);
    return false;
  }
  fd_ = fd;
  std::error_code ignored;
  const std::filesystem::path resolved = std::filesystem::canonical(deviceName, ignored);
  ttyName_ = (resolved.empty() ? std::filesystem::path(deviceName) : resolved).filename().string();
  lastFrameCount_ = 0;
  lastBreakCount_ = 0;
  bool dummy = false;
  clearLineErrors(dummy); // start counting line errors from now
  error_ = 0;
  return true;
}

bool PosixSerialDevice::close() {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  ioctl(fd_, TIOCNXCL);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return fail();
  return true;
}

bool PosixSerialDevice::setQueueSizes(std::uint16_t inSize, std::uint16_t outSize) {
  // The kernel sizes its own buffers; a size the driver could not take is a parameter error.
  if (fd_ < 0 || inSize == 0 || outSize == 0) {
    error_ = fd_ < 0 ? EBADF : EINVAL;
    return false;
  }
  return true;
}

bool PosixSerialDevice::modemLine(unsigned long request, int line) {
  if (ioctl(fd_, request, &line) == 0 || notSupported(errno)) return true;
  return fail();
}

bool PosixSerialDevice::applyLineSettings(const std::string& modeString) {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  std::optional<LineMode> mode = parseLineMode(modeString);
  if (!mode) {
    error_ = EINVAL;
    return false;
  }
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return fail();
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  // The descriptor is non-blocking and waits are made with poll; VMIN 1 makes an empty line
  // read as EAGAIN, so that a read of 0 bytes always means the line hung up.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;

  if (mode->baud) {
    std::optional<speed_t> speed = speedOf(*mode->baud);
    if (!speed) {
      error_ = EINVAL;
      return false;
    }
    cfsetispeed(&tio, *speed);
    cfsetospeed(&tio, *speed);
    baud_ = *mode->baud;
  }
  if (mode->parity) {
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    switch (*mode->parity) {
    case Parity::None:
      break;
    case Parity::Even:
      tio.c_cflag |= PARENB;
      break;
    case Parity::Odd:
      tio.c_cflag |= PARENB | PARODD;
      break;
    case Parity::Mark:
      tio.c_cflag |= PARENB | PARODD | CMSPAR;
      break;
    case Parity::Space:
      tio.c_cflag |= PARENB | CMSPAR;
      break;
    }
    if (*mode->parity != Parity::None) tio.c_iflag |= INPCK;
  }
  if (mode->dataBits) {
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag |= sizes[*mode->dataBits - 5];
  }
  if (mode->stopBits) {
    // termios knows one or two stop bits; one and a half is sent as two.
    if (*mode->stopBits == StopBits::One)
      tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    else
      tio.c_cflag |= CSTOPB;
  }
  if (mode->handshake == Handshake::Software) tio.c_iflag |= IXON | IXOFF;
  if (mode->handshake == Handshake::Hardware) tio.c_cflag |= CRTSCTS;

  if (tcsetattr(fd_, TCSANOW, &tio) != 0) return fail();
  return modemLine(TIOCMBIS, TIOCM_DTR) && clearRts();
}

bool PosixSerialDevice::clearRts() {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  return modemLine(TIOCMBIC, TIOCM_RTS);
}

bool PosixSerialDevice::setReadTimeouts(std::uint32_t multiplierMs, std::uint32_t constantMs) {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  readMultiplierMs_ = multiplierMs;
  readConstantMs_ = constantMs;
  return true;
}

bool PosixSerialDevice::purgeInput() {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  if (tcflush(fd_, TCIFLUSH) != 0) return fail();
  return true;
}

bool PosixSerialDevice::write(const std::uint8_t* data, std::size_t count) {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  // Without flow control the line drains at the baud rate; allow that time plus a second
  // so that a device that stopped taking data cannot hold the caller for ever.
  auto lineTime = std::chrono::milliseconds(count * 11 * 1000 / (baud_ ? baud_ : 9600) + 1000);
  auto deadline = Clock::now() + lineTime;
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::write(fd_, data + done, count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return fail();
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      error_ = ETIMEDOUT;
      return false;
    }
    pollfd p{fd_, POLLOUT, 0};
    int r = poll(&p, 1, static_cast<int>(left));
    if (r < 0 && errno != EINTR) return fail();
    if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) {
      error_ = EIO;
      return false;
    }
  }
  if (tcdrain(fd_) != 0) return fail();
  return true;
}

bool PosixSerialDevice::read(std::uint8_t* data, std::size_t count, std::size_t& received) {
  received = 0;
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  auto total =
      std::chrono::milliseconds(static_cast<std::uint64_t>(count) * readMultiplierMs_ + readConstantMs_);
  auto deadline = Clock::now() + total;
  while (received < count) {
    ssize_t n = ::read(fd_, data + received, count - received);
    if (n > 0) {
      received += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (n < 0 && errno != EAGAIN)) {
      // End of file or an error: the line is gone (a pulled cable, a closed far end).
      error_ = n == 0 ? EIO : errno;
      return false;
    }
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    pollfd p{fd_, POLLIN, 0};
    int r = poll(&p, 1, static_cast<int>(left));
    if (r < 0 && errno != EINTR) return fail();
    if (r > 0 && !(p.revents & POLLIN) && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) {
      error_ = EIO;
      return false;
    }
  }
  return true;
}

bool PosixSerialDevice::clearLineErrors(bool& framingOrBreak) {
  framingOrBreak = false;
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
#if defined(TIOCGICOUNT)
  serial_icounter_struct counts{};
  if (ioctl(fd_, TIOCGICOUNT, &counts) != 0) {
    if (notSupported(errno)) return true;
    return fail();
  }
  framingOrBreak = counts.frame != lastFrameCount_ || counts.brk != lastBreakCount_;
  lastFrameCount_ = counts.frame;
  lastBreakCount_ = counts.brk;
#endif
  return true;
}

std::optional<bool> PosixSerialDevice::hasSerialHardware(const std::filesystem::path& sysfsRoot,
                                                         const std::string& ttyName) {
  // USB serial (ttyUSB), ACM modems (ttyACM) and other drivers report PORT_UNKNOWN as their
  // UART type although they work; only the legacy ttyS ports exist without hardware.
  if (!ttyName.starts_with("ttyS")) return true;
  const std::filesystem::path device = sysfsRoot / "class" / "tty" / ttyName;
  std::error_code error;
  if (std::filesystem::exists(device / "device" / "driver", error)) {
    std::ifstream typeFile(device / "type");
    int type = 0;
    if (typeFile >> type) return type != 0; // 0 is PORT_UNKNOWN: no UART answered
    return std::nullopt;
  }
  // A ttyS without a bound driver is a placeholder; without a sysfs tree nothing can be told.
  if (std::filesystem::exists(sysfsRoot / "class" / "tty", error)) return false;
  return std::nullopt;
}

bool PosixSerialDevice::isRs232() {
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return fail();
  if (isPseudoTerminal(fd_)) return true;
#if defined(__linux__)
  if (const std::optional<bool> known = hasSerialHardware("/sys", ttyName_)) return *known;
#endif
#if defined(TIOCGSERIAL)
  serial_struct info{};
  if (ioctl(fd_, TIOCGSERIAL, &info) != 0) return notSupported(errno) || fail();
  return info.type != PORT_UNKNOWN;
#else
  return true;
#endif
}

} // namespace vpr
