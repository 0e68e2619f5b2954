#include "app/FileCommands.h"

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "model/CurrentFile.h"
#include "model/DataFileFlows.h"
#include "model/InterchangeFlows.h"
#include "model/RadioData.h"

namespace vpr {

FileCommands::FileCommands(CMainFrame& frame, CommandTable& table) : frame_(frame) {
  using enum CommandTable::OpenEntry;
  table.add(
      cmd::FileNew, [this] { fileNew(); }, StoredFirst);
  table.add(
      cmd::FileOpen, [this] { fileOpen(); }, StoredFirst);
  table.add(
      cmd::FileSave, [this] { frame_.dataFileFlows().saveDataFile(); }, StoredFirst);
  table.add(
      cmd::FileSaveAs, [this] { saveAs(); }, StoredFirst);
  table.add(
      cmd::ExportConfiguration, [this] { interchangeFlows().exportConfiguration(); }, StoredFirst);
  table.add(
      cmd::ImportConfiguration, [this] { importConfiguration(); }, StoredFirst);
  table.add(
      cmd::ExportChannels, [this] { interchangeFlows().exportChannels(); }, StoredFirst);
  table.add(
      cmd::ImportChannels, [this] { interchangeFlows().importChannels(); }, StoredFirst);
  // Exit is a close request, posted: the close sequence asks its questions once the menu is gone.
  table.add(cmd::AppExit, [this] { QTimer::singleShot(0, &frame_, &QWidget::close); });
}

void FileCommands::fileNew() {
  if (!frame_.dataFileFlows().newData()) return;
  frame_.updateTitle();
  frame_.openView(ViewKind::ChannelInfo);
}

void FileCommands::fileOpen() {
  if (frame_.dataFileFlows().openDataFile()) frame_.showReplacedImage();
}

void FileCommands::saveAs() {
  if (frame_.dataFileFlows().saveDataFileAs()) frame_.updateTitle();
}

void FileCommands::importConfiguration() {
  if (!frame_.dataFileFlows().promptSaveChanges() && interchangeFlows().importConfiguration())
    frame_.showReplacedImage();
}

InterchangeFlows FileCommands::interchangeFlows() {
  InterchangeFlows flows(radioData(), currentFile(), frame_.ui());
  flows.setBeforeReplace([this] { frame_.closeAllWindows(); });
  flows.setChannelsChanged([this] {
    frame_.updateTitle();
    frame_.reloadViews();
    frame_.openView(ViewKind::ChannelInfo);
  });
  return flows;
}

} // namespace vpr
