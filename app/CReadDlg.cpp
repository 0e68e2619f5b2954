#include "app/CReadDlg.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "link/RadioTransfer.h"
#include "model/RadioData.h"

namespace vpr {

namespace {

constexpr int textBackupKept = 10065050;

const CTransferDlg::Kind readKind{
    10014001, // idle caption
    10014002, // busy caption
    10002005, // Read
    10014003, // success text
    10014005, // success caption
    CReadDlg::kHelpContext,
    kReadBlockCount,
};

const CTransferDlg::Kind compareKind{
    10065046, // idle caption: Compare with Radio
    10065047, // busy caption
    10002005, // Read
    10065048, // success text: read for the comparison, the working data unchanged
    10065046, // success caption
    CReadDlg::kCompareHelpContext,
    kReadBlockCount,
};

} // namespace

CReadDlg::CReadDlg(CRadioComm& radio, RadioImage& transferImage, UserInterface& ui, HelpCallback help,
                   QWidget* parent, Purpose purpose)
    : CTransferDlg(purpose == Purpose::Compare ? compareKind : readKind, ui, std::move(help), parent),
      radio_(radio), transferImage_(transferImage) {}

bool CReadDlg::run(QWidget* parent, UserInterface& ui, const HelpCallback& help,
                   const std::string& backupFolder) {
  CReadDlg dialog(g_radioComm, radioData().transferImage, ui, help, parent);
  dialog.setBackupFolder(backupFolder);
  return dialog.exec() == QDialog::Accepted;
}

int CReadDlg::transfer(UserInterface& ui) {
  backupPath_.clear();
  const int result = runReadTransfer(radio_, ui, transferImage_);
  // The backup is taken before the closing message, so that the message can say where it went.
  if (result == 0 && !backupFolder_.empty()) backupPath_ = backUpReadImage(ui, transferImage_, backupFolder_);
  return result;
}

std::string CReadDlg::successText() const {
  std::string text = CTransferDlg::successText();
  if (!backupPath_.empty()) text += "\n\n" + formatText(textOf(textBackupKept), {backupPath_});
  return text;
}

} // namespace vpr
