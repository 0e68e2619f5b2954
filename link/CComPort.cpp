#include "link/CComPort.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/MessageContext.h"

#include <chrono>

namespace vpr {

CComPort::CComPort() : CComPort(makeSerialDevice()) {}

CComPort::CComPort(std::unique_ptr<SerialDevice> device) : handle(std::move(device)) {}

CComPort::~CComPort() {
  if (isOpen) Close();
}

bool CComPort::SetPortNumber(std::uint8_t number) {
  if (number != 0) portNumber = number;
  if (!isOpen) return true;
  bool closed = Close();
  bool opened = Open();
  return closed && opened;
}

bool CComPort::SetInQueueSize(std::uint16_t size) {
  inQueueSize = size;
  return isOpen ? handle->setQueueSizes(inQueueSize, outQueueSize) : true;
}

bool CComPort::SetOutQueueSize(std::uint16_t size) {
  outQueueSize = size;
  return isOpen ? handle->setQueueSizes(inQueueSize, outQueueSize) : true;
}

bool CComPort::SetLineSettings(const std::string& mode) {
  lineSettings.clear();
  for (char c : mode)
    if (c != ' ') lineSettings += c;
  return isOpen ? ApplyLineSettings() : true;
}

bool CComPort::SetReadTimeout(int milliseconds) {
  readTimeoutMs = milliseconds;
  return isOpen ? ApplyTimeouts() : true;
}

bool CComPort::SetOpen(bool open) {
  if (open == (isOpen != 0)) return true;
  return open ? Open() : Close();
}

bool CComPort::Open() {
  if (!handle->open(DeviceName())) return false;
  isOpen = 1;
  // Every step runs even after one failed; a failure leaves the device open for the next close.
  bool ok = handle->setQueueSizes(inQueueSize, outQueueSize);
  ok = handle->setQueueSizes(inQueueSize, outQueueSize) && ok;
  ok = ApplyLineSettings() && ok;
  ok = ApplyTimeouts() && ok;
  ok = handle->clearRts() && ok;
  return ok;
}

bool CComPort::Close() {
  isOpen = 0;
  return handle->close();
}

bool CComPort::ApplyLineSettings() {
  bool ok = handle->applyLineSettings(lineSettings);
  return handle->clearRts() && ok;
}

bool CComPort::ApplyTimeouts() {
  auto clampMs = [](int v) { return static_cast<std::uint32_t>(v < 0 ? 0 : v); };
  return handle->setReadTimeouts(clampMs(readTimeoutMultiplier), clampMs(readTimeoutMs));
}

bool CComPort::WriteByte(std::uint8_t byte) {
  return WriteBuffer(&byte, 1);
}

bool CComPort::WriteString(const std::string& text) {
  return WriteBuffer(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

bool CComPort::WriteBuffer(const std::uint8_t* data, std::size_t count) {
  if (!isOpen) return false;
  count %= 65536;
  handle->purgeInput();
  const bool written = handle->write(data, count);
  if (written && byteTrace) byteTrace(true, data, count);
  return written;
}

bool CComPort::ReadBytes(std::uint8_t* data, std::size_t count) {
  if (!isOpen) return false;
  count %= 65536;
  std::size_t received = 0;
  bool ok = handle->read(data, count, received);
  if (received > 0 && byteTrace) byteTrace(false, data, received);
  return ok && received >= count;
}

bool CComPort::IsRs232Port() {
  if (!isOpen) return false;
  BusyWait(10);
  bool rs232 = handle->isRs232();
  BusyWait(10);
  return rs232;
}

bool CComPort::CheckLineErrors() {
  if (!isOpen) return false;
  bool framingOrBreak = false;
  if (!handle->clearLineErrors(framingOrBreak)) return false;
  return !framingOrBreak;
}

void CComPort::BusyWait(unsigned milliseconds) {
  auto start = std::chrono::steady_clock::now();
  auto pause = std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() - start < pause) {
  }
}

std::string CComPort::GetLineSettingsTail() const {
  if (lineSettings.size() < 2) return {};
  auto comma = lineSettings.find(',', 1);
  return comma == std::string::npos ? std::string() : lineSettings.substr(comma);
}

void CComPort::SetPortPath(int number, const std::string& path) {
  if (path.empty())
    portPaths.erase(number);
  else
    portPaths[number] = path;
}

std::string CComPort::PortPath(int number) const {
  auto it = portPaths.find(number);
  return it != portPaths.end() ? it->second : defaultSerialDeviceName(number);
}

bool CComPort::PortExists(int number) const {
  return serialDeviceExists(PortPath(number));
}

int CComPort::LastSystemError() const {
  return handle->lastError();
}

std::string CComPort::OpenFailureCause() const {
  constexpr int textGroupHasAccess = 10050102;
  constexpr int textHeldByAnother = 10050103;
  const int error = LastSystemError();
  if (error == 0) return {};
  std::string cause = serialErrorText(error);
  switch (serialErrorKind(error)) {
  case SerialErrorKind::AccessDenied:
    if (const std::string group = serialDeviceGroup(DeviceName()); !group.empty())
      cause += "; " + formatText(textOf(textGroupHasAccess), {group});
    break;
  case SerialErrorKind::Busy:
    cause += "; " + textOf(textHeldByAnother);
    break;
  case SerialErrorKind::Other:
    break;
  }
  return cause;
}

std::string CComPort::OpenFailureText() const {
  constexpr int textOpenFailed = 10026002;
  return MessageContext::aboutPort(textOf(textOpenFailed), portNumber, DeviceName(), OpenFailureCause());
}

} // namespace vpr
