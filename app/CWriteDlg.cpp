#include "app/CWriteDlg.h"

#include "model/RadioData.h"
#include "views/QtText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr int textKeepConnected = 10017013;

const CTransferDlg::Kind writeKind{
    10017001, // idle caption
    10017002, // busy caption
    10002006, // Write
    10017003, // success text
    10017012, // success caption
    CWriteDlg::kHelpContext,
    kWriteBlockCount,
};

CRadioComm& withEightByteBlocks(CRadioComm& radio) {
  radio.SetWriteBlockSize(8);
  return radio;
}

} // namespace

CWriteDlg::CWriteDlg(CRadioComm& radio, const RadioImage& editImage, UserInterface& ui, HelpCallback help,
                     QWidget* parent, WriteSafety safety)
    : CTransferDlg(writeKind, ui, std::move(help), parent), radio_(withEightByteBlocks(radio)),
      editImage_(editImage), safety_(std::move(safety)) {
  auto* note = new QLabel(qtText(textKeepConnected), this);
  note->setObjectName("keepConnectedNote");
  note->setWordWrap(true);
  contentLayout()->insertWidget(0, note);
  contentLayout()->insertSpacing(1, 8);
}

bool CWriteDlg::run(QWidget* parent, UserInterface& ui, const HelpCallback& help, const WriteSafety& safety) {
  CWriteDlg dialog(g_radioComm, radioData().editImage, ui, help, parent, safety);
  return dialog.exec() == QDialog::Accepted;
}

int CWriteDlg::transfer(UserInterface& ui) {
  return runSafeWrite(radio_, ui, editImage_, safety_, report_);
}

std::string CWriteDlg::successText() const {
  return writeSuccessText(report_);
}

} // namespace vpr
