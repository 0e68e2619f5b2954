#include "app/RadioCommands.h"

#include "app/CAppSettings.h"
#include "app/CComPortDlg.h"
#include "app/CCompareDlg.h"
#include "app/CFleetWriteDlg.h"
#include "app/CMainFrame.h"
#include "app/COptionsDlg.h"
#include "app/CRPSView.h"
#include "app/CReadDlg.h"
#include "app/CRestoreDlg.h"
#include "app/CTestModeDlg.h"
#include "app/CWriteDlg.h"
#include "app/CommandIds.h"
#include "link/CRadioComm.h"
#include "link/RadioFlows.h"
#include "model/CurrentFile.h"
#include "model/DataFileFlows.h"
#include "model/RadioData.h"

namespace vpr {

RadioCommands::RadioCommands(CMainFrame& frame, CommandTable& table) : frame_(frame) {
  using enum CommandTable::OpenEntry;
  table.add(
      cmd::ReadData, [this] { readFromRadio(); }, StoredFirst);
  table.add(
      cmd::WriteData, [this] { writeToRadio(); }, StoredFirst);
  table.add(
      cmd::WriteSeveralRadios, [this] { writeToSeveralRadios(); }, StoredFirst);
  table.add(
      cmd::TestMode, [this] { testMode(); }, StoredFirst);
  table.add(
      cmd::FileCompareFile, [this] { compareWithFile(); }, StoredFirst);
  table.add(
      cmd::FileCompareRadio, [this] { compareWithRadio(); }, StoredFirst);
  table.add(
      cmd::FileRestoreBackup, [this] { restoreBackup(); }, StoredFirst);
  table.add(cmd::CommunicationPort, [this] { communicationPort(); });
  table.add(cmd::SetupOptions,
            [this] { COptionsDlg::run(&frame_, frame_.settings(), frame_.helpCallback()); });
}

RadioFlows RadioCommands::radioFlows() {
  RadioFlows::Setup setup;
  setup.dataFolder = frame_.dataFolder().toStdString();
  setup.backupRadio = frame_.settings().backupRadio();
  setup.verifyWrite = frame_.settings().verifyWrite();
  RadioFlows flows(radioData(), currentFile(), frame_.ui(), setup);
  flows.setCloseViews([this] { frame_.closeAllWindows(); });
  return flows;
}

void RadioCommands::readFromRadio() {
  if (frame_.dataFileFlows().promptSaveChanges()) return;
  RadioFlows flows = radioFlows();
  if (!CReadDlg::run(&frame_, frame_.ui(), frame_.helpCallback(), flows.readBackupFolder())) return;
  flows.adoptReadImage();
  frame_.showReplacedImage();
}

void RadioCommands::writeToRadio() {
  const RadioFlows flows = radioFlows();
  CWriteDlg::run(&frame_, frame_.ui(), frame_.helpCallback(), flows.writeSafety(),
                 {flows.jobRecordPath(), flows.recordedFile()});
}

void RadioCommands::writeToSeveralRadios() {
  const RadioFlows flows = radioFlows();
  CFleetWriteDlg::Job job;
  job.image = radioData().editImage;
  job.safety = flows.writeSafety();
  job.recordPath = flows.jobRecordPath();
  job.file = flows.recordedFile();
  CFleetWriteDlg::run(&frame_, frame_.ui(), frame_.helpCallback(), std::move(job));
}

void RadioCommands::testMode() {
  CTestModeDlg::run(&frame_, frame_.ui(), frame_.helpCallback(), frame_.demonstrationMode(), g_radioComm,
                    radioData().editImage, [this](QWidget* parent, const std::vector<AdjustmentLine>& lines) {
                      frame_.printing().printAdjustments(parent, lines);
                    });
  // The test mode loaded and adjusted the alignment values of the image.
  frame_.reloadViews();
  frame_.updateTitle();
}

void RadioCommands::compareWithFile() {
  RadioFlows flows = radioFlows();
  if (const auto other = flows.chooseFileToCompare())
    CCompareDlg(other->name, flows.differencesFrom(*other), frame_.helpCallback(), &frame_).exec();
}

void RadioCommands::compareWithRadio() {
  // The radio lands in a scratch image: the working image and the transfer image stay as they are.
  RadioImage image = clearedImage();
  RadioFlows flows = radioFlows();
  CReadDlg dialog(g_radioComm, image, frame_.ui(), frame_.helpCallback(), &frame_,
                  CReadDlg::Purpose::Compare);
  dialog.setBackupFolder(flows.readBackupFolder());
  if (dialog.exec() != QDialog::Accepted) return;
  const RadioFlows::Other radio = flows.radioToCompare(image);
  CCompareDlg(radio.name, flows.differencesFrom(radio), frame_.helpCallback(), &frame_).exec();
}

void RadioCommands::restoreBackup() {
  RadioFlows flows = radioFlows();
  const std::optional<std::string> path =
      CRestoreDlg::run(&frame_, flows.backupFolder(), frame_.helpCallback());
  if (!path || !flows.restoreBackup(*path)) return;
  frame_.showReplacedImage();
  if (flows.confirmWriteRestored()) writeToRadio();
}

void RadioCommands::communicationPort() {
  if (CComPortDlg::run(&frame_, frame_.helpCallback())) frame_.updatePortPane();
}

} // namespace vpr
