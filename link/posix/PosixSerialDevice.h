#pragma once
// The POSIX serial back end: termios in raw mode, an exclusive open (TIOCEXCL and flock),
// poll-based reads with a total time-out. Modem-line and counter requests that the device
// kind does not support (a pseudo-terminal) count as done. Whether a port has hardware behind
// it is decided from what the kernel publishes in sysfs, not from the UART type alone.

#include "link/SerialDevice.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace vpr {

class PosixSerialDevice : public SerialDevice {
public:
  PosixSerialDevice() = default;
  ~PosixSerialDevice() override;
  PosixSerialDevice(const PosixSerialDevice&) = delete;
  PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

  bool open(const std::string& deviceName) override;
  bool close() override;
  bool setQueueSizes(std::uint16_t inSize, std::uint16_t outSize) override;
  bool applyLineSettings(const std::string& modeString) override;
  bool clearRts() override;
  bool setReadTimeouts(std::uint32_t multiplierMs, std::uint32_t constantMs) override;
  bool purgeInput() override;
  bool write(const std::uint8_t* data, std::size_t count) override;
  bool read(std::uint8_t* data, std::size_t count, std::size_t& received) override;
  bool clearLineErrors(bool& framingOrBreak) override;
  bool isRs232() override;
  int lastError() const override { return error_; }

  // Whether the terminal device ttyName (the name below /dev, such as "ttyUSB0") has hardware
  // behind it, from the sysfs tree at sysfsRoot ("/sys" on a running system). USB serial
  // adapters, ACM modems and the other serial drivers count; a ttyS port counts only with a
  // driver bound and a known UART type. Nothing when sysfs does not say (no type published for
  // a ttyS port), so that the caller can ask the driver itself.
  static std::optional<bool> hasSerialHardware(const std::filesystem::path& sysfsRoot,
                                               const std::string& ttyName);

private:
  bool fail();
  bool modemLine(unsigned long request, int line);

  int fd_ = -1;
  // The device's name below /dev after following links ("ttyUSB0" for /dev/serial/by-id/...).
  std::string ttyName_;
  int error_ = 0;
  std::uint32_t readMultiplierMs_ = 0;
  std::uint32_t readConstantMs_ = 1000;
  unsigned baud_ = 9600;
  // Error counters at the last query, so that each query reports what is new.
  int lastFrameCount_ = 0;
  int lastBreakCount_ = 0;
};

} // namespace vpr
