#pragma once
// The Help menu: the manual's contents in the program's own help window, the same page handed to
// a web browser, and the About box.

#include "app/CommandTable.h"

namespace vpr {

class CMainFrame;

class HelpCommands {
public:
  // No web browser took the manual.
  static constexpr int kNoBrowserText = 10061011;

  HelpCommands(CMainFrame& frame, CommandTable& table);

private:
  void openInBrowser();

  CMainFrame& frame_;
};

} // namespace vpr
