#include "app/HelpCommands.h"

#include "app/CAboutDlg.h"
#include "app/CHelpSystem.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"

namespace vpr {

HelpCommands::HelpCommands(CMainFrame& frame, CommandTable& table) : frame_(frame) {
  table.add(cmd::HelpTopics, [this] { frame_.showHelpFor(0); });
  table.add(cmd::HelpInBrowser, [this] { openInBrowser(); });
  table.add(cmd::About, [this] { CAboutDlg::run(&frame_); });
}

void HelpCommands::openInBrowser() {
  if (!CHelpSystem::openInBrowser(0)) frame_.showWarning(kNoBrowserText);
}

} // namespace vpr
