#pragma once
// The Windows serial back end: the communications calls of kernel32 on a synchronous,
// non-overlapped handle, with the process raised to real-time priority around each read.

#include "link/SerialDevice.h"

#include <windows.h>

namespace vpr {

class Win32SerialDevice : public SerialDevice {
public:
  Win32SerialDevice() = default;
  ~Win32SerialDevice() override;
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

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
  int lastError() const override { return static_cast<int>(error_); }

private:
  bool result(BOOL ok);

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  DWORD error_ = 0;
};

} // namespace vpr
