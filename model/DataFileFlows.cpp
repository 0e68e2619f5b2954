#include "model/DataFileFlows.h"

#include "lang/CLanguageTable.h"
#include "lang/PathText.h"
#include "lang/TextFormat.h"
#include "model/MessageContext.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vpr {

namespace {

bool fileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(PathText::toPath(path), ec);
}

} // namespace

FileRequest DataFileFlows::fileRequest() const {
  FileRequest request;
  request.folder = file_.folder();
  request.filterName = textOf(kTextFileType);
  request.extension = "dat";
  return request;
}

bool DataFileFlows::confirmReplace(const std::string& name) {
  return ui_.confirm(formatText("%s\n\n%s : %s", {textOf(kTextReplaceFile), textOf(kTextFileName), name}));
}

bool DataFileFlows::promptSaveChanges() {
  if (!data_.isModified()) return false;
  MessageRequest request;
  request.kind = MessageKind::Product;
  request.caption = "VPR-40T";
  request.text = formatText("%s \"%s\" ?", {textOf(kTextSaveChanges), file_.fileName()});
  request.buttons = MessageButtons::YesNoCancel;
  request.icon = MessageIcon::Exclamation;
  switch (ui_.showMessage(request)) {
  case MessageAnswer::No:
    return false;
  case MessageAnswer::Yes:
    // The changes are dropped only when the user says so: a save that did not happen stops the
    // command that asked.
    return !saveDataFileAs();
  default:
    return true;
  }
}

bool DataFileFlows::newData() {
  if (!ui_.confirm(textOf(kTextReplaceData))) return false;
  if (promptSaveChanges()) return false;
  if (closeViews_) closeViews_();
  data_.newImage();
  file_.resetFileName();
  return true;
}

bool DataFileFlows::openDataFile() {
  if (promptSaveChanges()) return false;
  const auto chosen = ui_.chooseFileToOpen(fileRequest());
  return chosen && openDataFileAt(*chosen);
}

bool DataFileFlows::openDataFileAt(const std::string& path) {
  DataFile::Magic magic{};
  std::error_code error;
  const auto result = DataFile::readDataFile(path, data_.transferImage, magic, error);
  if (result != DataFile::Read) {
    ui_.error(readFailureText(result, path, magic, error));
    return false;
  }

  if (closeViews_) closeViews_();
  data_.adoptTransferImage();
  file_.setFromPath(path);
  return true;
}

bool DataFileFlows::saveDataFile() {
  const std::string path = file_.path();
  if (fileExists(path) && !confirmReplace(file_.fileName())) return false;
  return storeDataFile(path);
}

bool DataFileFlows::saveDataFileAs() {
  FileRequest request = fileRequest();
  request.fileName = file_.fileName();
  const auto chosen = ui_.chooseFileToSave(request);
  if (!chosen) return false;
  const std::string path = withDataExtension(*chosen);
  // The dialog asked about the name it returned; a file under the extended name was never shown.
  if (path != *chosen && fileExists(path) && !confirmReplace(CurrentFile::fileNameOf(path))) return false;
  if (!storeDataFile(path)) return false;
  file_.setFromPath(path);
  return true;
}

bool DataFileFlows::storeDataFile(const std::string& path) {
  std::error_code error;
  const DataFile::WriteResult result = DataFile::writeDataFile(path, data_.editImage, error);
  if (result == DataFile::Written) {
    data_.markSaved();
    return true;
  }
  ui_.error(writeFailureText(result, path, error));
  return false;
}

std::string DataFileFlows::writeFailureText(DataFile::WriteResult result, const std::string& path,
                                            const std::error_code& error) {
  if (result == DataFile::NotARegularFile)
    return MessageContext::aboutFile(textOf(kTextNotAFileToSave), path);
  return MessageContext::aboutFile(error.message(), path);
}

std::string DataFileFlows::readFailureText(int result, const std::string& path, const DataFile::Magic& magic,
                                           const std::error_code& error) {
  const std::string fileName = CurrentFile::fileNameOf(path);
  // A message that names the file already says all a path of a bare name would.
  const auto named = [&](const std::string& text) {
    return fileName == path ? text : MessageContext::aboutFile(text, path);
  };
  switch (result) {
  case DataFile::CannotOpen:
    return MessageContext::aboutFile(textOf(kTextCannotOpen), path, error);
  case DataFile::WrongMagic: {
    // The magic of a related product is named; anything else is simply no data file.
    const std::string magicText = DataFile::magicText(magic);
    if (magicText.find("VPR") != std::string::npos)
      return named(formatText(textOf(kTextOtherProduct), {fileName, magicText}));
    return named(formatText(textOf(kTextNotADataFile), {fileName}));
  }
  case DataFile::TooShort:
    return named(formatText(textOf(kTextNotADataFile), {fileName}));
  case DataFile::UnlistedModel:
    return MessageContext::aboutFile(textOf(kTextUnlistedModel), path);
  default:
    return {};
  }
}

std::string DataFileFlows::withDataExtension(const std::string& path) {
  const std::string name = CurrentFile::fileNameOf(path);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) {
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "dat") return path;
  }
  return path + (!name.empty() && name.back() == '.' ? "dat" : ".dat");
}

} // namespace vpr
