#include "app/CWriteDlg.h"

#include "lang/TextFormat.h"
#include "link/RecordedWrite.h"
#include "model/RadioData.h"
#include "views/QtText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr int textKeepConnected = 10017013;
constexpr int textCancelled = 10026008;

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
                     QWidget* parent, WriteSafety safety, JobLine jobLine)
    : CTransferDlg(writeKind, ui, std::move(help), parent), radio_(withEightByteBlocks(radio)),
      editImage_(editImage), safety_(std::move(safety)), jobLine_(std::move(jobLine)) {
  auto* note = new QLabel(qtText(textKeepConnected), this);
  note->setObjectName("keepConnectedNote");
  note->setWordWrap(true);
  contentLayout()->insertWidget(0, note);
  contentLayout()->insertSpacing(1, 8);
}

bool CWriteDlg::run(QWidget* parent, UserInterface& ui, const HelpCallback& help, const WriteSafety& safety,
                    const JobLine& jobLine) {
  CWriteDlg dialog(g_radioComm, radioData().editImage, ui, help, parent, safety, jobLine);
  return dialog.exec() == QDialog::Accepted;
}

int CWriteDlg::transfer(UserInterface& ui) {
  if (jobLine_.recordPath.empty()) return runSafeWrite(radio_, ui, editImage_, safety_, report_);
  FleetRecorder recorder(
      jobLine_.recordPath, [](int id) { return textOf(id); }, textOf(textCancelled));
  const RecordedWrite written = writeAndRecord(radio_, ui, editImage_, safety_, recorder,
                                               formatText("COM%d", {radio_.PortNumber()}), jobLine_.file);
  report_ = written.outcome.write;
  if (!written.recordProblem.empty())
    ui.showMessage({MessageKind::Product, written.recordProblem, textOf(writeKind.idleCaption),
                    MessageButtons::Ok, MessageIcon::Stop, MessageAnswer::Ok});
  return written.outcome.status;
}

std::string CWriteDlg::successText() const {
  return writeSuccessText(report_);
}

} // namespace vpr
