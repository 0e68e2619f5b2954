#include "cli/ImageReport.h"

#include "cli/CliText.h"
#include "cli/FileArguments.h"
#include "lang/CLanguageTable.h"
#include "model/DataFile.h"
#include "model/DataFileFlows.h"
#include "model/DisplayText.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace vpr::cli {

namespace {

constexpr int kTextModel = 10009001;
constexpr int kTextBand = 10009002;
constexpr int kTextWideNarrow = 10041005;
constexpr int kTextNarrow = 10031051;
constexpr int kTextWide = 10031050;
constexpr int kTextChannelSection = 10027012;
constexpr int kTextTestFrequencySection = 10027010;
constexpr int kTextFeatureSection = 10027002;
constexpr int kTextKeySection = 10027001;

std::string hexBytes(const ModelCode& code) {
  std::string text;
  char byte[4];
  for (const std::uint8_t b : code) {
    std::snprintf(byte, sizeof byte, text.empty() ? "%02X" : " %02X", b);
    text += byte;
  }
  return text;
}

// The columns a text takes on a terminal: its characters, not its bytes (UTF-8 continuation
// bytes add none), so that a column with "Kanäle" lines up with the others.
std::size_t columnsOf(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Standard input is read whole; a data file is 1074 bytes.
constexpr std::size_t kStandardInputLimit = 64 * 1024;

} // namespace

bool loadDataFile(const std::string& path, RadioImage& image, TerminalUserInterface& ui) {
  DataFile::Magic magic{};
  DataFile::ReadResult result = DataFile::CannotOpen;
  if (path == kStandardStream) {
    std::string bytes;
    // Standard input may hold more than a data file; only the first 1074 bytes count, as in a file.
    if (!readTextArgument(path, kStandardInputLimit, bytes, ui)) return false;
    result = DataFile::parseDataFile(bytes, image, magic);
  } else {
    result = DataFile::readDataFile(path, image, magic);
  }
  if (result != DataFile::Read) {
    // Texts that name the file get the path as given; the others are prefixed with it.
    const std::string text = DataFileFlows::readFailureText(result, path, magic);
    ui.fail(text.find(path) == std::string::npos ? path + ": " + text : text);
    return false;
  }
  return true;
}

bool loadDataFile(const std::string& path, RadioData& data, TerminalUserInterface& ui) {
  if (!loadDataFile(path, data.transferImage, ui)) return false;
  data.adoptTransferImage();
  return true;
}

void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (std::size_t i = 0; i < row.size(); ++i)
      widths[i] = std::max(widths[i], columnsOf(row[i]));
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) line.append(2, ' ');
      line += row[i];
      if (i + 1 < row.size()) line.append(widths[i] - columnsOf(row[i]), ' ');
    }
    while (!line.empty() && line.back() == ' ')
      line.pop_back();
    out << line << '\n';
  }
}

void printSummary(std::ostream& out, const ImageView& image) {
  const std::string model = image.isListedModel() ? image.modelNameText() : hexBytes(image.modelCode());
  printTable(
      out, {
               {textOf(kTextModel) + ":", model},
               {textOf(kTextBand) + ":", image.bandNameText()},
               {cliText(kTextChannelCount) + ":", std::to_string(image.channelCount())},
               {textOf(kTextWideNarrow) + ":", textOf(image.narrowSetting() == 1 ? kTextNarrow : kTextWide)},
           });
}

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + '"';
}

void printSummaryJson(std::ostream& out, const ImageView& image) {
  const bool listed = image.isListedModel();
  out << "{\"model\": " << (listed ? jsonString(image.modelNameText()) : "null")
      << ", \"band\": " << (listed ? jsonString(image.bandNameText()) : "null")
      << ", \"model_code\": " << jsonString(hexBytes(image.modelCode()))
      << ", \"channels\": " << image.channelCount()
      << ", \"wide_narrow\": " << (image.narrowSetting() == 1 ? "\"narrow\"" : "\"wide\"") << "}\n";
}

void printDump(std::ostream& out, const ImageView& image) {
  out << textOf(kTextChannelSection) << '\n';
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> header;
  for (int field = 0; field < kChannelFieldCount; ++field)
    header.push_back(textOf(DisplayText::channelHeaderId(static_cast<ChannelField>(field))));
  rows.push_back(header);
  for (int n = 1; n <= image.channelCount(); ++n) {
    std::vector<std::string> row;
    for (int field = 0; field < kChannelFieldCount; ++field)
      row.push_back(DisplayText::channelCell(image, n, static_cast<ChannelField>(field)).text);
    rows.push_back(row);
  }
  printTable(out, rows);

  out << '\n' << textOf(kTextTestFrequencySection) << '\n';
  rows.clear();
  rows.push_back({});
  for (const int id : DisplayText::kTestFrequencyHeaderIds)
    rows.back().push_back(textOf(id));
  for (int k = 1; k <= layout::kTestFreqCount; ++k) {
    const TestFreqRecord record = image.testFrequency(k);
    rows.push_back({std::to_string(k), DisplayText::testFrequencyCell(record, FrequencyField::Receive).text,
                    DisplayText::testFrequencyCell(record, FrequencyField::Transmit).text});
  }
  printTable(out, rows);

  out << '\n' << textOf(kTextFeatureSection) << '\n';
  rows.clear();
  for (int item = 0; item < kFeatureItemCount; ++item) {
    const auto feature = static_cast<FeatureItem>(item);
    rows.push_back(
        {textOf(DisplayText::featureLabelId(feature)), DisplayText::featureText(image, feature).text});
  }
  printTable(out, rows);

  out << '\n' << textOf(kTextKeySection) << '\n';
  printTable(out, {{textOf(DisplayText::kMoniKeyLabelId), DisplayText::moniKeyText(image.moniKey()).text}});
}

} // namespace vpr::cli
