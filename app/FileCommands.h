#pragma once
// The File menu's data-file commands: New, Open, Save, Save As, the export and import of the
// configuration (YAML) and of channel lists (CSV), and Exit. The core's flows ask every question
// and do the work; this file hands them the main window's way of closing its views and shows the
// image they leave behind.

#include "app/CommandTable.h"

namespace vpr {

class CMainFrame;
class InterchangeFlows;

class FileCommands {
public:
  FileCommands(CMainFrame& frame, CommandTable& table);

private:
  void fileNew();
  void fileOpen();
  void saveAs();
  void importConfiguration();
  // Export and import with this window's way of closing and refreshing the views.
  InterchangeFlows interchangeFlows();

  CMainFrame& frame_;
};

} // namespace vpr
