#pragma once
// The in-memory clipboard for copied records (one for channels, one for test frequencies; not
// the system clipboard). An entry without bytes stands for an empty source channel, which a
// paste skips.

#include "model/RadioImage.h"

#include <optional>
#include <vector>

namespace vpr {

class RecordClipboard {
public:
  using Entry = std::optional<RecordBytes>;

  // Discards everything.
  void clear();
  // Replaces the contents with the entries copied from rows first..last.
  void store(std::vector<Entry> entries, int first, int last);

  bool isEmpty() const { return entries_.empty(); }
  const std::vector<Entry>& entries() const { return entries_; }
  // The first and last row of the last copy (0 when empty).
  int firstCopied() const { return first_; }
  int lastCopied() const { return last_; }

private:
  std::vector<Entry> entries_;
  int first_ = 0;
  int last_ = 0;
};

} // namespace vpr
