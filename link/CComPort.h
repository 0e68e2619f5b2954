#pragma once
// One serial port for the radio programming cable: owns the device and its line parameters,
// opens and closes the device on demand, and offers blocking byte-level writes and reads with
// a total read time-out. It knows nothing of the radio protocol (see CRadioComm).
//
// Operations return true for success and false for failure; none shows a message. Every write
// first discards pending input, so the answer read after a command belongs to that command.

#include "link/SerialDevice.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace vpr {

class CComPort {
public:
  CComPort();
  // A port over a given back end (the platform's own by default).
  explicit CComPort(std::unique_ptr<SerialDevice> device);
  CComPort(const CComPort&) = delete;
  CComPort& operator=(const CComPort&) = delete;

  virtual bool WriteByte(std::uint8_t byte);
  virtual bool WriteString(const std::string& text);
  virtual bool WriteBuffer(const std::uint8_t* data, std::size_t count);
  // Reads count bytes within the read time-out. Bytes that arrived before a time-out stay in
  // the buffer, but the call fails.
  virtual bool ReadBytes(std::uint8_t* data, std::size_t count);
  virtual ~CComPort();

  // A nonzero number replaces the port number; an open device is closed and reopened.
  bool SetPortNumber(std::uint8_t number);
  bool SetInQueueSize(std::uint16_t size);
  bool SetOutQueueSize(std::uint16_t size);
  // Stored with every space removed; applied at once when open.
  bool SetLineSettings(const std::string& mode);
  bool SetReadTimeout(int milliseconds);
  bool SetOpen(bool open);

  bool IsRs232Port();
  // Clears the line's error state; fails on a framing error or a break (and when the query fails).
  bool CheckLineErrors();
  // Spins on the monotonic clock for the given pause without yielding or handling messages.
  static void BusyWait(unsigned milliseconds);
  // The mode string from its first comma on, searched from the second character (",N,8,2").
  std::string GetLineSettingsTail() const;

  bool IsOpen() const { return isOpen != 0; }
  std::uint8_t PortNumber() const { return portNumber; }
  std::uint16_t InQueueSize() const { return inQueueSize; }
  std::uint16_t OutQueueSize() const { return outQueueSize; }
  const std::string& LineSettings() const { return lineSettings; }
  int ReadTimeout() const { return readTimeoutMs; }
  int ReadTimeoutMultiplier() const { return readTimeoutMultiplier; }

  // Device names: each numbered port has the platform's default device, which an override
  // (from the settings, or a path given on the command line) replaces. An empty path removes
  // the override.
  void SetPortPath(int number, const std::string& path);
  std::string PortPath(int number) const;
  // Whether the numbered port's device exists, without opening it (see serialDeviceExists).
  bool PortExists(int number) const;
  // The device that opening uses now.
  std::string DeviceName() const { return PortPath(portNumber); }
  // The operating system's error code of the last failed device call (0 if none).
  int LastSystemError() const;
  // The message for a port that does not open: text 10026002, then the port with its device
  // and the system's reason for the last failure, with who may use the device or that another
  // program holds it.
  std::string OpenFailureText() const;
  // The system's reason for the last failure and what it means for the user; empty when the
  // system gave none.
  std::string OpenFailureCause() const;

  // Sees every byte that was written (sent) or that arrived, as it happens: for the bug reports
  // of the command-line tool's --verbose. An empty function stops it.
  using ByteTrace = std::function<void(bool sent, const std::uint8_t* data, std::size_t count)>;
  void SetByteTrace(ByteTrace trace) { byteTrace = std::move(trace); }

protected:
  bool ApplyLineSettings();
  bool ApplyTimeouts();

private:
  bool Open();
  bool Close();
  bool ApplyQueueSizes();

  std::unique_ptr<SerialDevice> handle;
  ByteTrace byteTrace;
  int isOpen = 0;
  std::uint8_t portNumber = 1;
  std::uint16_t inQueueSize = 512;
  std::uint16_t outQueueSize = 512;
  std::string lineSettings = "9600,N,8,2";
  int readTimeoutMs = 1000;
  int readTimeoutMultiplier = 0;

  std::map<int, std::string> portPaths;
};

} // namespace vpr
