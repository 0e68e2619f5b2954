#include "model/RecordClipboard.h"

#include <utility>

namespace vpr {

void RecordClipboard::clear() {
  entries_.clear();
  first_ = 0;
  last_ = 0;
}

void RecordClipboard::store(std::vector<Entry> entries, int first, int last) {
  entries_ = std::move(entries);
  if (entries_.empty()) {
    first_ = 0;
    last_ = 0;
  } else {
    first_ = first;
    last_ = last;
  }
}

} // namespace vpr
