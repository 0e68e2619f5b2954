#pragma once
// The write and read commands on several radios at once, and the job record of every radio
// they handle (and of a single write): progress per port on standard error, a table of port,
// model, result and backup (or file) on standard output, or with --json an array of objects,
// and one line in the job record for each radio. Exit status 0 only when every radio
// succeeded.

#include "cli/FleetArguments.h"
#include "cli/TerminalUserInterface.h"
#include "link/FleetRecorder.h"

#include <string>

namespace vpr::cli {

struct FleetDisplay {
  bool quiet = false;      // no progress
  bool onTerminal = false; // standard error is a terminal
};

// Writes the image of a data file into the radios of every port.
int writeToFleet(const FleetArguments& arguments, const std::string& file, const RadioImage& image,
                 const WriteSafety& safety, bool yes, const FleetDisplay& display);

// Reads every port's radio into a file of its own in the folder, named by port and time; backs
// each image up unless backupFolder is empty.
int readFromFleet(const FleetArguments& arguments, const std::string& folder, const std::string& backupFolder,
                  const FleetDisplay& display);

// The job record at recordPath, with the tool's texts.
FleetRecorder recorderFor(const std::string& recordPath);

} // namespace vpr::cli
