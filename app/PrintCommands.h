#pragma once
// The File menu's printing commands: Print and Export as PDF open the Print Out List dialog (one
// at a time), Print Preview shows every section without asking (one preview at a time). While
// either is open the main window's close request only brings it forward or ends the preview.

#include "app/CPrintListDlg.h"
#include "app/CommandTable.h"

#include <QPointer>

namespace vpr {

class CMainFrame;

class PrintCommands {
public:
  PrintCommands(CMainFrame& frame, CommandTable& table);

  // The Print Out List dialog while it is open, and the preview of Print Preview while it is open.
  CPrintListDlg* printList() const { return printList_; }
  QWidget* menuPreview() const { return menuPreview_; }
  // A close request of the main window: ends the menu's preview or brings the Print Out List
  // forward, and tells whether either was open (the window then stays).
  bool takeCloseRequest();

private:
  void openPrintList(CPrintListDlg::Purpose purpose);
  void previewEverything();

  CMainFrame& frame_;
  CPrintListDlg* printList_ = nullptr;
  QPointer<QWidget> menuPreview_;
};

} // namespace vpr
