#pragma once
// The platform's serial device as CComPort uses it. Each back end (link/posix, link/win32)
// implements these operations with the platform's own calls; CComPort keeps the fields, the
// order of the steps and the waits, so the line behaviour is the same on every platform.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vpr {

class SerialDevice {
public:
  virtual ~SerialDevice() = default;

  // Opens the named device for reading and writing, exclusively: a device that another
  // program (or another object of this program) holds is not opened.
  virtual bool open(const std::string& deviceName) = 0;
  virtual bool close() = 0;

  // Receive and transmit queue sizes.
  virtual bool setQueueSizes(std::uint16_t inSize, std::uint16_t outSize) = 0;
  // Applies a mode string ("9600,N,8,2") over the device's current settings, with no hardware
  // or software flow control, DTR on and RTS off.
  virtual bool applyLineSettings(const std::string& modeString) = 0;
  // RTS line off.
  virtual bool clearRts() = 0;
  // Total read time-out: a read of n bytes gives up after n * multiplierMs + constantMs.
  virtual bool setReadTimeouts(std::uint32_t multiplierMs, std::uint32_t constantMs) = 0;

  // Discards input that arrived and was not read yet.
  virtual bool purgeInput() = 0;
  // Writes all bytes and waits until they have been handed to the line.
  virtual bool write(const std::uint8_t* data, std::size_t count) = 0;
  // Reads up to count bytes within the total read time-out; received tells how many arrived.
  // True only if the read itself did not fail (a time-out is not a failure of the call).
  virtual bool read(std::uint8_t* data, std::size_t count, std::size_t& received) = 0;

  // Queries and clears the line's error state. framingOrBreak tells whether a framing error
  // or a break was seen since the last query. False when the query itself failed.
  virtual bool clearLineErrors(bool& framingOrBreak) = 0;
  // Whether the device is a plain RS-232 port (CComPort adds the pauses around the query).
  virtual bool isRs232() = 0;

  // The operating system's error code of the last failed call (errno or GetLastError).
  virtual int lastError() const = 0;
};

// The back end of this platform.
std::unique_ptr<SerialDevice> makeSerialDevice();

// The platform's device name for a numbered port (1..20), before any override.
std::string defaultSerialDeviceName(int portNumber);

// Whether a device of that name exists, found without opening it: a port that another program
// holds exists too. On POSIX a character device; on Windows a DOS device name the system knows
// ("COM3", also written "\\.\COM3"), however it is connected.
bool serialDeviceExists(const std::string& deviceName);

// What an error code of lastError() means for someone trying to open a port.
enum class SerialErrorKind {
  Other,
  AccessDenied, // the user may not use the device (see serialDeviceGroup)
  Busy,         // another program holds the device
};
SerialErrorKind serialErrorKind(int error);
// The operating system's own text for an error code of lastError().
std::string serialErrorText(int error);
// The group whose members may use the device, where the platform grants device access by
// group; empty where it does not, or when the device cannot be examined.
std::string serialDeviceGroup(const std::string& deviceName);

} // namespace vpr
