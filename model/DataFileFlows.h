#pragma once
// The New, Open, Save and Save As commands with every question and message they show, and the
// save-changes question asked before New, Open, a radio read and exit. The desktop program only
// supplies the dialogs (through UserInterface) and, through closeViews, a way to close its
// editing views before the image is replaced.

#include "lang/UserInterface.h"
#include "model/CurrentFile.h"
#include "model/DataFile.h"
#include "model/RadioData.h"

#include <functional>
#include <string>

namespace vpr {

class DataFileFlows {
public:
  // Text identifiers of the questions and messages.
  static constexpr int kTextFileType = 10007001;
  static constexpr int kTextCannotOpen = 10026001;
  static constexpr int kTextSaveChanges = 10026010;
  static constexpr int kTextReplaceFile = 10026011;
  static constexpr int kTextFileName = 10026012;
  static constexpr int kTextReplaceData = 10026013;
  static constexpr int kTextUnlistedModel = 10026014;
  static constexpr int kTextOtherProduct = 10026061;
  static constexpr int kTextNotADataFile = 10026062;
  static constexpr int kTextNotAFileToSave = 10060001;

  DataFileFlows(RadioData& data, CurrentFile& file, UserInterface& ui) : data_(data), file_(file), ui_(ui) {}

  // Called before New or Open replaces the image, to close the editing views.
  void setCloseViews(std::function<void()> closeViews) { closeViews_ = std::move(closeViews); }

  // When the image was changed: asks whether to save it first. Yes saves under a name the user
  // picks; the caller goes on only when that save was done. No goes on without saving. Returns
  // true when the caller must stop (Cancel, or a save that was cancelled or failed).
  bool promptSaveChanges();
  // Confirms, offers to save, then makes a new default image of the current model (the default
  // model when the current one is not listed) under the default file name. True when done.
  bool newData();
  // Offers to save, lets the user pick a data file and loads it. On success the file's image is
  // the working image, marked saved, clipboards emptied, and the file is the current file.
  // True when done; on every failure the image and the current file stay as they were.
  bool openDataFile();
  // Loads the data file at path as openDataFile does once a file was chosen (no question asked).
  bool openDataFileAt(const std::string& path);
  // Writes to the current file, asking first when a file is there already. True when written.
  bool saveDataFile();
  // Lets the user pick a name (".dat" is added when the name lacks it) and writes there; the
  // name becomes the current file. True when written.
  bool saveDataFileAs();
  // Writes the working image to a path and marks it saved; shows why when the file cannot be
  // written. True when written.
  bool storeDataFile(const std::string& path);

  // The name Save As uses for a chosen name: unchanged when its extension is "dat" in any case,
  // otherwise with ".dat" added ("radio.txt" → "radio.txt.dat", "radio." → "radio.dat").
  static std::string withDataExtension(const std::string& path);
  // The message for a data file that did not load (readDataFile's result, the file's path, the
  // first bytes it handed back and the system's error); empty for a file that loaded. Every
  // message ends with the file's path, and a file that cannot be opened with the system's reason.
  static std::string readFailureText(int result, const std::string& path, const DataFile::Magic& magic,
                                     const std::error_code& error = {});
  // The message for a data file that could not be written (writeDataFile's result and error),
  // followed by the file's path.
  static std::string writeFailureText(DataFile::WriteResult result, const std::string& path,
                                      const std::error_code& error);

private:
  FileRequest fileRequest() const;
  bool confirmReplace(const std::string& name);

  RadioData& data_;
  CurrentFile& file_;
  UserInterface& ui_;
  std::function<void()> closeViews_;
};

} // namespace vpr
