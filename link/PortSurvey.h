#pragma once
// The numbered ports as someone choosing among them sees them: each with its device, and
// whether a radio can be reached through it now or why not (no such device, held by another
// program, no access, not a serial port). Used before several radios are written at once; the
// Communication Port dialog keeps its own scan of the one port it sets.

#include "link/CComPort.h"

#include <string>
#include <vector>

namespace vpr {

struct PortState {
  int number = 0;
  std::string device;
  bool usable = false;
  std::string reason; // why not usable, on one line
};

// Opens the device of each numbered port (devices[0] is port 1's), one after the other, and
// closes it again.
std::vector<PortState> surveyPorts(const std::vector<std::string>& devices);

// Why the port's last open failed: the device, then the system's cause and what it means for
// the user ("/dev/ttyUSB0: Device or resource busy; the port is held by another program"), on
// one line for a table.
std::string portOpenFailure(const CComPort& port);

} // namespace vpr
