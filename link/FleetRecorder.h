#pragma once
// The job record of the radios a fleet handles, and the texts every front end shows for them:
// whether the record can take lines before a batch starts, one line for each radio as its
// transfer ends, and a radio's model and failure on one line (the record, the command-line
// table and the desktop dialog say the same).
//
// Texts come through the caller's lookup, so that the command-line tool keeps its built-in
// English for a language file that lacks them. Nothing here talks to the user.

#include "link/RadioFleet.h"
#include "model/JobRecord.h"

#include <functional>
#include <string>

namespace vpr {

class FleetRecorder {
public:
  using TextLookup = std::function<std::string(int id)>;

  // declinedNote follows the messages of a radio whose model question was answered with Cancel.
  FleetRecorder(std::string recordPath, TextLookup text, std::string declinedNote);

  // Why the record cannot take lines now (a full disk, a folder that cannot be made), or empty.
  std::string problem() const;
  // Appends the line of a port's radio; file is the data file written or read into. problem
  // gets why the line could not be written, and stays as it was otherwise.
  JobEntry record(const FleetPortResult& result, const std::string& file, std::string& problem);
  // The record's entry for a port's radio, without writing it.
  JobEntry entryOf(const FleetPortResult& result, const std::string& file) const;

  // "HX-5470/5470M UHF 1", the identification for a radio the catalogue lacks, "unprogrammed",
  // or empty before the radio was identified.
  std::string modelText(const FleetPortResult& result) const;
  // Why the port failed, on one line.
  std::string failureText(const FleetPortResult& result) const;

  const std::string& path() const { return record_.path(); }

private:
  std::string recordFailure(const std::error_code& error) const;

  JobRecord record_;
  TextLookup text_;
  std::string declinedNote_;
};

} // namespace vpr
