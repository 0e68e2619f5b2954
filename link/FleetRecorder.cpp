#include "link/FleetRecorder.h"

#include "lang/PathText.h"
#include "lang/TextFormat.h"
#include "model/ModelCatalogue.h"

#include <algorithm>
#include <filesystem>

namespace vpr {

namespace {

constexpr int kTextUnprogrammed = 10050104;
constexpr int kTextRecordFailed = 10068108;
constexpr int kTextPortNotClosed = 10068110;

bool isUnprogrammed(const ModelCode& code) {
  return std::all_of(code.begin(), code.end(), [](std::uint8_t b) { return b == 0xFF; });
}

std::string absoluteFile(const std::string& file) {
  if (file.empty() || file == "-") return file;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(PathText::toPath(file), error);
  return error ? file : PathText::toText(absolute);
}

} // namespace

FleetRecorder::FleetRecorder(std::string recordPath, TextLookup text, std::string declinedNote)
    : record_(std::move(recordPath)), text_(std::move(text)), declinedNote_(std::move(declinedNote)) {}

std::string FleetRecorder::recordFailure(const std::error_code& error) const {
  return formatText(text_(kTextRecordFailed), {record_.path(), error.message()});
}

std::string FleetRecorder::problem() const {
  std::error_code error;
  return record_.check(error) ? std::string() : recordFailure(error);
}

JobEntry FleetRecorder::entryOf(const FleetPortResult& result, const std::string& file) const {
  JobEntry entry;
  entry.time = std::time(nullptr);
  entry.port = result.name;
  if (result.radioCode) {
    entry.model = isUnprogrammed(*result.radioCode) ? text_(kTextUnprogrammed)
                                                    : ModelCatalogue::modelNameText(*result.radioCode);
    entry.band = ModelCatalogue::bandNameText(*result.radioCode);
    entry.identity = identityText(*result.radioCode);
  }
  entry.file = absoluteFile(file);
  entry.result =
      result.succeeded() ? std::string(JobRecord::kDone) : JobRecord::kFailed + failureText(result);
  entry.backupPath = result.write.backupPath;
  return entry;
}

JobEntry FleetRecorder::record(const FleetPortResult& result, const std::string& file, std::string& problem) {
  JobEntry entry = entryOf(result, file);
  std::error_code error;
  if (!record_.append(entry, error)) problem = recordFailure(error);
  return entry;
}

std::string FleetRecorder::modelText(const FleetPortResult& result) const {
  if (!result.radioCode) return {};
  if (isUnprogrammed(*result.radioCode)) return text_(kTextUnprogrammed);
  const std::string model = ModelCatalogue::modelNameText(*result.radioCode);
  return model.empty() ? identityText(*result.radioCode) : ModelCatalogue::titleText(*result.radioCode);
}

std::string FleetRecorder::failureText(const FleetPortResult& result) const {
  if (result.status == 2) return text_(kTextPortNotClosed);
  return result.declined ? result.messageLine() + " " + declinedNote_ : result.messageLine();
}

} // namespace vpr
