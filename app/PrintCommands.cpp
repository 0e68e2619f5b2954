#include "app/PrintCommands.h"

#include "app/CMainFrame.h"
#include "app/CRPSView.h"
#include "app/CommandIds.h"
#include "model/RadioData.h"

#include <QPrintPreviewDialog>

namespace vpr {

PrintCommands::PrintCommands(CMainFrame& frame, CommandTable& table) : frame_(frame) {
  for (int command : {cmd::FilePrint, cmd::FilePrintAlt})
    table.add(command, [this] { openPrintList(CPrintListDlg::Purpose::Print); });
  table.add(cmd::FileExportPdf, [this] { openPrintList(CPrintListDlg::Purpose::ExportPdf); });
  table.add(cmd::FilePrintPreview, [this] { previewEverything(); });
}

bool PrintCommands::takeCloseRequest() {
  // Closing while the preview of the menu command is open ends the preview only.
  if (menuPreview_) {
    menuPreview_->close();
    if (printList_) printList_->activateWindow();
    return true;
  }
  if (printList_) {
    printList_->activateWindow();
    return true;
  }
  return false;
}

void PrintCommands::openPrintList(CPrintListDlg::Purpose purpose) {
  if (printList_) {
    printList_->activateWindow();
    return;
  }
  frame_.commitPendingEdits();
  CPrintListDlg dialog(radioData(), frame_.printing(), frame_.helpCallback(), purpose, &frame_);
  printList_ = &dialog;
  dialog.exec();
  printList_ = nullptr;
}

void PrintCommands::previewEverything() {
  if (menuPreview_) {
    menuPreview_->activateWindow();
    return;
  }
  frame_.commitPendingEdits();
  menuPreview_ =
      frame_.printing().openPreview(&frame_, PrintSelection::everything(radioData().channelCount()));
}

} // namespace vpr
