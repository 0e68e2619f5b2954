#include "link/PortSurvey.h"

#include "lang/CLanguageTable.h"

namespace vpr {

namespace {

constexpr int kTextNoSuchDevice = 10068201;
constexpr int kTextNotSerial = 10068202;

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
      state.reason = port.OpenFailureCause();
    } else {
      state.usable = port.IsRs232Port();
      if (!state.usable) state.reason = textOf(kTextNotSerial);
      port.SetOpen(false);
    }
    states.push_back(std::move(state));
  }
  return states;
}

std::string portOpenFailure(const CComPort& port) {
  const std::string cause = port.OpenFailureCause();
  return cause.empty() ? port.DeviceName() : port.DeviceName() + ": " + cause;
}

} // namespace vpr
