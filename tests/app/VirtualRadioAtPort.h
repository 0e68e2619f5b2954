#pragma once
// A virtual radio on its own pseudo-terminal, reachable as port 1 of a radio link, for the
// dialog tests. The radio stops when the object goes out of scope.

#include "link/CRadioComm.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/TestImages.h"

#include <stdexcept>

namespace vpr::test {

struct VirtualRadioAtPort {
  explicit VirtualRadioAtPort(const RadioImage& memory, sim::VirtualRadioOptions options = {})
      : radio(memory, std::move(options)) {
    if (!radio.start()) throw std::runtime_error(radio.error());
    link.SetPortPath(1, radio.devicePath());
    link.SetPortNumber(1);
  }

  sim::VirtualRadio radio;
  CRadioComm link;
};

} // namespace vpr::test
