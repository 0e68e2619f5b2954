#include "app/CommandTable.h"

#include <cassert>

namespace vpr {

void CommandTable::add(int command, Handler handler, OpenEntry entry) {
  [[maybe_unused]] const bool added = entries_.emplace(command, Entry{std::move(handler), entry}).second;
  assert(added && "a command has one handler");
}

bool CommandTable::run(int command) const {
  const auto it = entries_.find(command);
  if (it == entries_.end()) return false;
  if (it->second.entry == OpenEntry::StoredFirst && storeOpenEntry_) storeOpenEntry_();
  it->second.handler();
  return true;
}

} // namespace vpr
