#pragma once
// The desktop program's calls into the core's process-wide objects (image and catalogue, radio
// link, current data file), gathered in one place so that the windows stay free of core rules.

#include "model/RadioImage.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace vpr {
class UserInterface;
}

namespace vpr::core {

// Text shown when a command's part is not in this build.
inline constexpr int kNotAvailableText = 10026901;

void setDecimalSeparator(char separator);

// Start-up: empty image buffers and the default file name.
void prepareImage();
// Start-up: the default image of the remembered model (the default model when it is not listed),
// marked saved.
void restoreModel(const std::optional<ModelCode>& remembered);
ModelCode modelCode();
// "model band" for the title, the model name alone, and the radio-wide wide/narrow setting.
std::string titleText();
std::string modelNameText();
int narrowSetting();

// The radio link's port number (1..20).
int portNumber();
void setPortNumber(int port);
// Points a port number at a device path for this run only ("" restores the default device).
void setPortPath(int port, const std::string& path);

// The current folder (ending in a separator) and file name of the data file.
QString currentFolder();
void setCurrentFolder(const QString& folder);
std::string currentFileName();

// The data-file flows. promptSaveChanges returns true when the user cancelled.
bool promptSaveChanges(UserInterface& ui);
bool newData(UserInterface& ui, const std::function<void()>& closeViews);
bool openDataFile(UserInterface& ui);
bool saveDataFile(UserInterface& ui);
bool saveDataFileAs(UserInterface& ui);

// After Open or a complete read: the arrived image becomes the working image (band limits,
// wide/narrow setting, marked saved, clipboards emptied); a read also resets the file name.
void takeOverTransferImage(bool resetFileName);

} // namespace vpr::core
