#include "app/CoreAccess.h"

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "model/NumberText.h"
#include "model/RadioData.h"

#include <map>

namespace vpr::core {

namespace {

// The current data file until the core's data-file object is in this build.
struct CurrentFile {
  QString folder;
  std::string name = ModelCatalogue::kDefaultFileName;
};

// The selected port until the radio link is in this build.
struct PortChoice {
  int number = 1;
  std::map<int, std::string> paths;
};

PortChoice& portChoice() {
  static PortChoice choice;
  return choice;
}

CurrentFile& currentFile() {
  static CurrentFile file;
  return file;
}

bool notAvailable(UserInterface& ui) {
  MessageRequest request;
  request.kind = MessageKind::Warning;
  request.text = textOf(kNotAvailableText);
  ui.showMessage(request);
  return false;
}

} // namespace

void setDecimalSeparator(char separator) {
  NumberText::setDecimalSeparator(separator);
}

void prepareImage() {
  radioData().clearImage();
  currentFile().name = ModelCatalogue::kDefaultFileName;
}

void restoreModel(const std::optional<ModelCode>& remembered) {
  radioData().startUp(remembered);
}

ModelCode modelCode() {
  return radioData().modelCode();
}

std::string titleText() {
  return radioData().titleText();
}

std::string modelNameText() {
  return radioData().modelNameText();
}

int narrowSetting() {
  return radioData().narrowSetting();
}

int portNumber() {
  return portChoice().number;
}

void setPortNumber(int port) {
  portChoice().number = port;
}

void setPortPath(int port, const std::string& path) {
  portChoice().paths[port] = path;
}

QString currentFolder() {
  return currentFile().folder;
}

void setCurrentFolder(const QString& folder) {
  currentFile().folder = folder;
}

std::string currentFileName() {
  return currentFile().name;
}

bool promptSaveChanges(UserInterface&) {
  return false;
}

bool newData(UserInterface& ui, const std::function<void()>&) {
  return notAvailable(ui);
}

bool openDataFile(UserInterface& ui) {
  return notAvailable(ui);
}

bool saveDataFile(UserInterface& ui) {
  return notAvailable(ui);
}

bool saveDataFileAs(UserInterface& ui) {
  return notAvailable(ui);
}

void takeOverTransferImage(bool resetFileName) {
  radioData().adoptTransferImage();
  if (resetFileName) currentFile().name = ModelCatalogue::kDefaultFileName;
}

} // namespace vpr::core
