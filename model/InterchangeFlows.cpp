#include "model/InterchangeFlows.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/ChannelCsv.h"
#include "model/ConfigYaml.h"
#include "model/FileContents.h"

namespace vpr {

namespace {

constexpr int kTextTooLarge = 10066002;

} // namespace

std::string InterchangeFlows::problemList(const std::vector<ImportProblem>& problems) {
  std::string text;
  for (std::size_t i = 0; i < problems.size() && i < kListedProblems; ++i)
    text += problems[i].text() + '\n';
  if (problems.size() > kListedProblems)
    text += formatText(textOf(kTextMoreProblems), {int(problems.size() - kListedProblems)}) + '\n';
  return text;
}

std::optional<std::string> InterchangeFlows::chooseToSave(int typeText, const char* extension) {
  FileRequest request;
  request.folder = file_.folder();
  const std::string name = file_.fileName();
  request.fileName = name.substr(0, name.find_last_of('.')) + '.' + extension;
  request.filterName = textOf(typeText);
  request.extension = extension;
  return ui_.chooseFileToSave(request);
}

std::optional<std::string> InterchangeFlows::readChosen(int typeText, const char* extension,
                                                        std::size_t limit) {
  FileRequest request;
  request.folder = file_.folder();
  request.filterName = textOf(typeText);
  request.extension = extension;
  const auto chosen = ui_.chooseFileToOpen(request);
  if (!chosen) return std::nullopt;
  std::string text;
  std::error_code error;
  switch (FileContents::read(*chosen, limit, text, error)) {
  case FileContents::Read:
    return text;
  case FileContents::TooLarge:
    ui_.error(
        formatText(textOf(kTextCannotRead), {*chosen, formatText(textOf(kTextTooLarge), {int(limit)})}));
    return std::nullopt;
  case FileContents::CannotOpen:
    break;
  }
  ui_.error(formatText(textOf(kTextCannotRead), {*chosen, error.message()}));
  return std::nullopt;
}

bool InterchangeFlows::write(const std::string& path, const std::string& text) {
  std::error_code error;
  if (FileContents::write(path, text, error) == FileContents::Written) return true;
  ui_.error(formatText(textOf(kTextCannotWrite), {path, error.message()}));
  return false;
}

bool InterchangeFlows::exportConfiguration() {
  const auto path = chooseToSave(kTextYamlType, "yaml");
  return path && write(*path, ConfigYaml::exportImage(data_.editImage));
}

bool InterchangeFlows::exportChannels() {
  const auto path = chooseToSave(kTextCsvType, "csv");
  return path && write(*path, ChannelCsv::exportChannels(data_.editImage));
}

bool InterchangeFlows::importConfiguration() {
  const auto text = readChosen(kTextYamlType, "yaml", ConfigYaml::kMaxDocumentSize);
  if (!text) return false;
  const ConfigYaml::Result result = ConfigYaml::importText(*text);
  if (!result.image) {
    ui_.error(textOf(kTextYamlRefused) + "\n\n" + problemList(result.problems));
    return false;
  }
  if (beforeReplace_) beforeReplace_();
  data_.transferImage = *result.image;
  data_.adoptTransferImage();
  // The imported image is saved nowhere yet: like a new image it carries the default name, and
  // it counts as changed (no image it could be equal to is all 0xFF) until it is saved.
  data_.savedImage = clearedImage();
  file_.resetFileName();
  return true;
}

bool InterchangeFlows::importChannels() {
  const auto text = readChosen(kTextCsvType, "csv", ChannelCsv::kMaxFileSize);
  if (!text) return false;
  ChannelCsv::Result result = ChannelCsv::importText(data_.editImage, *text, ChannelCsv::Rows::AllOrNothing);
  if (!result.image && result.rowsOnly) {
    // Only single rows stand in the way: list them and let the user take the others.
    if (!ui_.confirm(textOf(kTextSkipRows) + "\n\n" + problemList(result.problems))) return false;
    result = ChannelCsv::importText(data_.editImage, *text, ChannelCsv::Rows::SkipInvalid);
  }
  if (!result.image) {
    ui_.error(textOf(kTextCsvRefused) + "\n\n" + problemList(result.problems));
    return false;
  }
  data_.editImage = *result.image;
  data_.deriveNarrowSetting();
  data_.recordStep(textOf(kTextImportStep));
  if (channelsChanged_) channelsChanged_();
  return true;
}

} // namespace vpr
