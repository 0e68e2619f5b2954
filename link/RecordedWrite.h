#pragma once
// One radio's write with its line in the job record, as the command-line tool and the desktop
// program do it for a single radio. The write starts only while the record can take lines, so
// that no radio is written unrecorded; the line carries the failure's own words.

#include "link/FleetRecorder.h"
#include "link/RadioTransfer.h"

#include <string>

namespace vpr {

class CRadioComm;

struct RecordedWrite {
  FleetPortResult outcome;
  // Why the record took no line (before the write, which then did not start, or after it).
  std::string recordProblem;
};

// Writes editImage through radio (on the port it is set to, recorded as portName) and appends
// the radio's line for file to the recorder's record.
RecordedWrite writeAndRecord(CRadioComm& radio, UserInterface& ui, const RadioImage& editImage,
                             const WriteSafety& safety, FleetRecorder& recorder, const std::string& portName,
                             const std::string& file);

} // namespace vpr
