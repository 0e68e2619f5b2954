#pragma once
// One channel as a configuration or channel-list file writes it: the texts of the channel grid's
// cells (receive and transmit frequency, receive and transmit tone, options A and B) and where in
// the file they stood.
//
// An entry is read from a record the way the grid shows it, checked with the entry rules, and
// stored into a channel through the same record operations the grid's cell editors use, so a
// channel from a file ends up exactly as if its cells had been typed. It knows nothing of file
// syntax; the YAML and CSV readers fill it in.

#include "model/ChannelRecord.h"
#include "model/ImportProblem.h"
#include "model/RadioData.h"

#include <string>
#include <vector>

namespace vpr {

// One text of an entry: what the file gave, whether it gave it at all, and its line.
struct EntryField {
  std::string text;
  bool given = false;
  int line = 0;

  void set(std::string value, int atLine) {
    text = std::move(value);
    given = true;
    line = atLine;
  }
  bool operator==(const EntryField& other) const { return given == other.given && text == other.text; }
};

class ChannelEntry {
public:
  int number = 0;
  int line = 0;
  EntryField rxFrequency;
  EntryField txFrequency; // empty: a receive-only channel
  EntryField rxTone;      // "off", "88.5", "D023N", "D023I"
  EntryField txTone;      // only with a transmit frequency
  EntryField optionA;     // "on" (bit 0) or "off" (bit 1); only with a transmit frequency
  EntryField optionB;

  // The entry for channel n as the grid shows the record: every cell the grid offers is given,
  // the transmit tone and option A only when the channel has transmit. Numbers use the current
  // decimal separator.
  static ChannelEntry fromRecord(int n, const ChannelRecord& record);

  // Whether both entries give the same texts (the line numbers do not count).
  bool sameCells(const ChannelEntry& other) const;

  // Checks every cell against the entry rules for the current band; a problem is added for each
  // refused cell, with the cell's line (the entry's when the cell has none). The channel number
  // is the caller's business.
  bool check(const RadioData& data, std::vector<ImportProblem>& problems) const;

  // Stores the checked entry into channel `number` of data's working image: the receive
  // frequency first (which creates an empty channel), then the transmit frequency (an empty one
  // makes the channel receive-only), the tones and the options. Cells the entry does not give
  // keep what the record operations leave in them.
  void store(RadioData& data) const;

  // Makes value the wide/narrow setting that channels created from now on get, leaving every
  // record as it is (an image built record by record from a file).
  static void useNarrowSetting(RadioData& data, int value);
};

} // namespace vpr
