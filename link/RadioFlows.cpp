#include "link/RadioFlows.h"

#include "lang/CLanguageTable.h"
#include "lang/PathText.h"
#include "lang/TextFormat.h"
#include "model/DataFile.h"
#include "model/DataFileFlows.h"
#include "model/JobRecord.h"
#include "model/RadioBackups.h"

#include <filesystem>

namespace vpr {

std::string RadioFlows::dataFolder() const {
  return setup_.dataFolder.empty() ? RadioBackups::defaultDataFolder() : setup_.dataFolder;
}

std::string RadioFlows::backupFolder() const {
  return RadioBackups::folderBelow(dataFolder());
}

std::string RadioFlows::jobRecordPath() const {
  return JobRecord::pathBelow(dataFolder());
}

std::string RadioFlows::recordedFile() const {
  const std::string path = file_.path();
  std::error_code error;
  const bool saved = !data_.isModified() && std::filesystem::is_regular_file(PathText::toPath(path), error);
  return saved ? path : formatText(textOf(kTextUnsavedFile), {path});
}

WriteSafety RadioFlows::writeSafety() const {
  WriteSafety safety;
  safety.backup = setup_.backupRadio;
  safety.backupFolder = backupFolder();
  safety.verify = setup_.verifyWrite;
  return safety;
}

std::string RadioFlows::readBackupFolder() const {
  return setup_.backupRadio ? backupFolder() : std::string();
}

void RadioFlows::adoptReadImage() {
  adoptTransferImage();
}

void RadioFlows::adoptTransferImage() {
  if (closeViews_) closeViews_();
  data_.adoptTransferImage();
  file_.resetFileName();
}

std::optional<RadioFlows::Other> RadioFlows::chooseFileToCompare() {
  FileRequest request;
  request.folder = file_.folder();
  request.filterName = textOf(DataFileFlows::kTextFileType);
  request.extension = "dat";
  const std::optional<std::string> path = ui_.chooseFileToOpen(request);
  if (!path) return std::nullopt;
  Other other{CurrentFile::fileNameOf(*path)};
  if (!loadImageFile(*path, other.image)) return std::nullopt;
  return other;
}

RadioFlows::Other RadioFlows::radioToCompare(const RadioImage& image) {
  return Other{textOf(kTextTheRadio), image};
}

std::vector<ImageDifference> RadioFlows::differencesFrom(const Other& other) const {
  return ImageCompare::compare(data_.editImage, other.image);
}

bool RadioFlows::restoreBackup(const std::string& path) {
  if (DataFileFlows(data_, file_, ui_).promptSaveChanges()) return false;
  if (!loadImageFile(path, data_.transferImage)) return false;
  adoptTransferImage();
  return true;
}

bool RadioFlows::confirmWriteRestored() {
  return ui_.confirm(textOf(kTextWriteRestored));
}

bool RadioFlows::loadImageFile(const std::string& path, RadioImage& image) {
  DataFile::Magic magic{};
  std::error_code error;
  const auto result = DataFile::readDataFile(path, image, magic, error);
  if (result == DataFile::Read) return true;
  ui_.error(DataFileFlows::readFailureText(result, path, magic, error));
  return false;
}

} // namespace vpr
