#pragma once
// The POSIX serial back end: termios in raw mode, an exclusive open (TIOCEXCL and flock),
// poll-based reads with a total time-out. Modem-line and counter requests that the device
// kind does not support (a pseudo-terminal) count as done.

#include "link/SerialDevice.h"

#include <cstdint>

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

private:
  bool fail();
  bool modemLine(unsigned long request, int line);

  int fd_ = -1;
  int error_ = 0;
  std::uint32_t readMultiplierMs_ = 0;
  std::uint32_t readConstantMs_ = 1000;
  unsigned baud_ = 9600;
  // Error counters at the last query, so that each query reports what is new.
  int lastFrameCount_ = 0;
  int lastBreakCount_ = 0;
};

} // namespace vpr
