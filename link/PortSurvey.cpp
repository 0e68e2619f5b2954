#include "link/PortSurvey.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"

namespace vpr {

namespace {

constexpr int kTextGroupHasAccess = 10050102;
constexpr int kTextHeldByAnother = 10050103;
constexpr int kTextNoSuchDevice = 10068201;
constexpr int kTextNotSerial = 10068202;

// The system's cause of the port's last failure and what it means; empty when none is known.
std::string failureCause(const CComPort& port, const std::function<std::string(int id)>& text) {
  const int error = port.LastSystemError();
  if (error == 0) return {};
  std::string cause = serialErrorText(error);
  switch (serialErrorKind(error)) {
  case SerialErrorKind::AccessDenied:
    if (const std::string group = serialDeviceGroup(port.DeviceName()); !group.empty())
      cause += "; " + formatText(text(kTextGroupHasAccess), {group});
    break;
  case SerialErrorKind::Busy:
    cause += "; " + text(kTextHeldByAnother);
    break;
  case SerialErrorKind::Other:
    break;
  }
  return cause;
}

} // namespace

std::vector<PortState> surveyPorts(const std::vector<std::string>& devices) {
  std::vector<PortState> states;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    PortState state;
    state.number = static_cast<int>(i) + 1;
    state.device = devices[i];
    CComPort port;
    port.SetPortPath(1, state.device);
    if (!serialDeviceExists(state.device)) {
      state.reason = textOf(kTextNoSuchDevice);
    } else if (!port.SetOpen(true)) {
      state.reason = failureCause(port, [](int id) { return textOf(id); });
    } else {
      state.usable = port.IsRs232Port();
      if (!state.usable) state.reason = textOf(kTextNotSerial);
      port.SetOpen(false);
    }
    states.push_back(std::move(state));
  }
  return states;
}

std::string portOpenFailure(const CComPort& port, const std::function<std::string(int id)>& text) {
  const std::string cause = failureCause(port, text);
  return cause.empty() ? port.DeviceName() : port.DeviceName() + ": " + cause;
}

} // namespace vpr
