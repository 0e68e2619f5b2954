#pragma once
// The routing of the main window's commands: each command identifier has one handler, which the
// command file of its subject registers. A command that saves, sends, replaces or reshapes the
// image first stores the entry still open in a view, so that it works on what the user sees.

#include <functional>
#include <map>

namespace vpr {

class CommandTable {
public:
  using Handler = std::function<void()>;
  // Whether a command first stores what a view holds uncommitted.
  enum class OpenEntry { Left, StoredFirst };

  // storeOpenEntry stores the entries still open in the views.
  explicit CommandTable(Handler storeOpenEntry) : storeOpenEntry_(std::move(storeOpenEntry)) {}

  // Registers the handler of a command; a command has exactly one.
  void add(int command, Handler handler, OpenEntry entry = OpenEntry::Left);
  // Runs the command's handler. False when no handler is registered for it.
  bool run(int command) const;
  bool handles(int command) const { return entries_.contains(command); }

private:
  struct Entry {
    Handler handler;
    OpenEntry entry;
  };
  Handler storeOpenEntry_;
  std::map<int, Entry> entries_;
};

} // namespace vpr
