#include "app/CReadDlg.h"

#include "link/RadioTransfer.h"
#include "model/RadioData.h"

namespace vpr {

namespace {

const CTransferDlg::Kind readKind{
    10014001, // idle caption
    10014002, // busy caption
    10002005, // Read
    10014003, // success text
    10014005, // success caption
    CReadDlg::kHelpContext,
    kReadBlockCount,
};

} // namespace

CReadDlg::CReadDlg(CRadioComm& radio, RadioImage& transferImage, UserInterface& ui, HelpCallback help,
                   QWidget* parent)
    : CTransferDlg(readKind, ui, std::move(help), parent), radio_(radio), transferImage_(transferImage) {}

bool CReadDlg::run(QWidget* parent, UserInterface& ui, const HelpCallback& help) {
  CReadDlg dialog(g_radioComm, radioData().transferImage, ui, help, parent);
  return dialog.exec() == QDialog::Accepted;
}

int CReadDlg::transfer(UserInterface& ui) {
  return runReadTransfer(radio_, ui, transferImage_);
}

} // namespace vpr
