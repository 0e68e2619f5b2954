#include "link/win32/Win32SerialDevice.h"

#include "lang/PathText.h"
#include "link/CComPort.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

namespace vpr {

namespace {

// The DCB's flag word follows DCBlength and BaudRate.
constexpr std::size_t kFlagWordOffset = offsetof(DCB, BaudRate) + sizeof(DWORD);
// Keeps fBinary, fParity, fDsrSensitivity, fOutX, fInX, fErrorChar, fNull and the reserved bits;
// clears CTS and DSR flow control, fTXContinueOnXoff, the RTS control field and fAbortOnError.
constexpr DWORD kKeptFlags = 0xFFFF8F53;
// fDtrControl = DTR_CONTROL_ENABLE.
constexpr DWORD kDtrEnable = 0x10;

} // namespace

std::unique_ptr<SerialDevice> makeSerialDevice() {
  return std::make_unique<Win32SerialDevice>();
}

std::string defaultSerialDeviceName(int portNumber) {
  // Two-digit ports need the device-namespace form.
  return (portNumber < 10 ? "COM" : "\\\\.\\COM") + std::to_string(portNumber);
}

bool serialDeviceExists(const std::string& deviceName) {
  // The system's list of DOS device names knows every port, free or held, without opening it.
  constexpr std::string_view kDeviceNamespace = "\\\\.\\";
  std::string_view name = deviceName;
  if (name.substr(0, kDeviceNamespace.size()) == kDeviceNamespace)
    name.remove_prefix(kDeviceNamespace.size());
  if (name.empty() || name.find_first_of("\\/:") != std::string_view::npos) return false;
  const std::filesystem::path wide = PathText::toPath(name);
  wchar_t target[512];
  return QueryDosDeviceW(wide.c_str(), target, std::size(target)) != 0 ||
         GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

SerialErrorKind serialErrorKind(int error) {
  // A port opened without sharing refuses every further open with "access denied".
  if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY)
    return SerialErrorKind::Busy;
  return SerialErrorKind::Other;
}

std::string serialErrorText(int error) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(error), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length && buffer ? std::string(buffer, length) : std::string();
  LocalFree(buffer);
  // The system's text ends with a full stop and a line break, which the caller's sentence does not want.
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(error) : text;
}

std::string serialDeviceGroup(const std::string&) {
  return {};
}

Win32SerialDevice::~Win32SerialDevice() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool Win32SerialDevice::result(BOOL ok) {
  if (!ok) error_ = GetLastError();
  return ok != FALSE;
}

bool Win32SerialDevice::open(const std::string& deviceName) {
  if (handle_ != INVALID_HANDLE_VALUE) {
    error_ = ERROR_BUSY;
    return false;
  }
  HANDLE h =
      CreateFileA(deviceName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error_ = GetLastError();
    return false;
  }
  handle_ = h;
  return true;
}

bool Win32SerialDevice::close() {
  HANDLE h = handle_;
  handle_ = INVALID_HANDLE_VALUE;
  return result(CloseHandle(h));
}

bool Win32SerialDevice::setQueueSizes(std::uint16_t inSize, std::uint16_t outSize) {
  return result(SetupComm(handle_, inSize, outSize));
}

bool Win32SerialDevice::applyLineSettings(const std::string& modeString) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  bool ok = result(GetCommState(handle_, &dcb));
  DWORD flags = 0;
  std::memcpy(&flags, reinterpret_cast<const char*>(&dcb) + kFlagWordOffset, sizeof flags);
  flags = (flags & kKeptFlags) | kDtrEnable;
  std::memcpy(reinterpret_cast<char*>(&dcb) + kFlagWordOffset, &flags, sizeof flags);
  ok = result(BuildCommDCBA(modeString.c_str(), &dcb)) && ok;
  return result(SetCommState(handle_, &dcb)) && ok;
}

bool Win32SerialDevice::clearRts() {
  // A device without modem lines (a virtual port, or Wine's port on a pseudo-terminal) does not
  // support the request; there is no RTS line to clear, which is no failure.
  if (EscapeCommFunction(handle_, CLRRTS)) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) return true;
  error_ = error;
  return false;
}

bool Win32SerialDevice::setReadTimeouts(std::uint32_t multiplierMs, std::uint32_t constantMs) {
  COMMTIMEOUTS timeouts{};
  bool ok = result(GetCommTimeouts(handle_, &timeouts));
  timeouts.ReadIntervalTimeout = 0;
  timeouts.ReadTotalTimeoutMultiplier = multiplierMs;
  timeouts.ReadTotalTimeoutConstant = constantMs;
  return result(SetCommTimeouts(handle_, &timeouts)) && ok;
}

bool Win32SerialDevice::purgeInput() {
  return result(PurgeComm(handle_, PURGE_RXCLEAR));
}

bool Win32SerialDevice::write(const std::uint8_t* data, std::size_t count) {
  DWORD written = 0;
  if (!result(WriteFile(handle_, data, static_cast<DWORD>(count), &written, nullptr))) return false;
  // A write time-out set by another program ends the call early without an error.
  if (written == count) return true;
  error_ = ERROR_WRITE_FAULT;
  return false;
}

bool Win32SerialDevice::read(std::uint8_t* data, std::size_t count, std::size_t& received) {
  DWORD got = 0;
  SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
  BOOL ok = ReadFile(handle_, data, static_cast<DWORD>(count), &got, nullptr);
  if (!ok) error_ = GetLastError();
  SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  received = got;
  return ok != FALSE;
}

bool Win32SerialDevice::clearLineErrors(bool& framingOrBreak) {
  DWORD errors = 0;
  COMSTAT status{};
  framingOrBreak = false;
  if (!result(ClearCommError(handle_, &errors, &status))) return false;
  framingOrBreak = (errors & (CE_FRAME | CE_BREAK)) != 0;
  return true;
}

bool Win32SerialDevice::isRs232() {
  // First learn the provider's packet length, then ask again with a block of four times that.
  COMMPROP first{};
  if (!result(GetCommProperties(handle_, &first))) return false;
  CComPort::BusyWait(10);
  const std::size_t size = std::max<std::size_t>(sizeof(COMMPROP), 4u * first.wPacketLength);
  std::vector<unsigned char> block(size);
  auto* props = reinterpret_cast<COMMPROP*>(block.data());
  props->wPacketLength = static_cast<WORD>(std::min<std::size_t>(size, 0xFFFF));
  props->dwProvSpec1 = COMMPROP_INITIALIZED;
  if (!result(GetCommProperties(handle_, props))) return false;
  return props->dwProvSubType == PST_RS232;
}

} // namespace vpr
