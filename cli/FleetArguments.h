#pragma once
// The options of write and read that address several radios at once: --port given more than
// once, --ports with a range of port numbers ("1-8", "1,3,5-7"), --json for the results as
// JSON, and --record for the job record's file. One --port alone (without --json) keeps the
// single-radio command exactly as it was.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace vpr::cli {

struct FleetArguments {
  std::vector<std::string> ports; // --port, in the order given
  std::string portRanges;         // --ports
  bool json = false;
  std::string record; // --record; empty for the data folder's job record

  // Adds --port (required unless --ports is given), --ports, --json and --record.
  void addTo(CLI::App& command);
  // Every port named, --port ones first, as given (a port named twice stays twice).
  std::vector<std::string> portNames() const;
  // Whether the command works on several radios (the fleet's progress, table and exit status).
  bool isFleet() const;
  // The job record's file.
  std::string recordPath() const;
};

// The port numbers of a list of ranges; empty with an explanation in problem when it is not
// one ("1-8", "2,4", "1-3,9").
std::vector<int> portNumbersOf(const std::string& ranges, std::string& problem);

} // namespace vpr::cli
