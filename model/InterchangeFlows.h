#pragma once
// The File menu's Export/Import Configuration and Export/Import Channels with every question and
// message they show. The desktop program supplies the dialogs (through UserInterface) and what
// happens around a replaced image (closing and reopening its views, undo); the formats themselves
// are ConfigYaml and ChannelCsv.
//
// An import changes the working image only when the whole file was taken: a file with problems
// is refused with all its problems listed, and the image stays as it was. A channel list whose
// only problems are single rows may be taken without them when the user agrees.

#include "lang/UserInterface.h"
#include "model/CurrentFile.h"
#include "model/ImportProblem.h"
#include "model/RadioData.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vpr {

class InterchangeFlows {
public:
  // Text identifiers of the file types, questions and messages.
  static constexpr int kTextYamlType = 10066101;
  static constexpr int kTextCsvType = 10066102;
  static constexpr int kTextYamlRefused = 10066103;
  static constexpr int kTextCsvRefused = 10066104;
  static constexpr int kTextSkipRows = 10066105;
  static constexpr int kTextCannotRead = 10066106;
  static constexpr int kTextCannotWrite = 10066107;
  static constexpr int kTextMoreProblems = 10066108;
  static constexpr int kTextImportStep = 10066114;
  // At most this many problems are listed in a message box; the rest are counted.
  static constexpr std::size_t kListedProblems = 20;

  InterchangeFlows(RadioData& data, CurrentFile& file, UserInterface& ui)
      : data_(data), file_(file), ui_(ui) {}

  // Called just before an imported configuration replaces the working image (to close views).
  void setBeforeReplace(std::function<void()> hook) { beforeReplace_ = std::move(hook); }
  // Called after an imported channel list changed the working image (to show the new channels).
  void setChannelsChanged(std::function<void()> hook) { channelsChanged_ = std::move(hook); }

  // Writes the working image as YAML / its channels as CSV to a file the user picks. True when written.
  bool exportConfiguration();
  bool exportChannels();
  // Lets the user pick a YAML file and makes it the working image (the caller offers to save
  // changes first). The image is saved nowhere yet: like a new image it takes the default file
  // name and counts as changed, so that Close, New and Open offer to save it. True when done.
  bool importConfiguration();
  // Lets the user pick a CSV file and replaces the channels of the working image, as one step
  // that Undo takes back. True when done.
  bool importChannels();

  // The problems for a message box: at most kListedProblems lines, then how many more there are.
  static std::string problemList(const std::vector<ImportProblem>& problems);

private:
  std::optional<std::string> chooseToSave(int typeText, const char* extension);
  std::optional<std::string> readChosen(int typeText, const char* extension, std::size_t limit);
  bool write(const std::string& path, const std::string& text);

  RadioData& data_;
  CurrentFile& file_;
  UserInterface& ui_;
  std::function<void()> beforeReplace_;
  std::function<void()> channelsChanged_;
};

} // namespace vpr
