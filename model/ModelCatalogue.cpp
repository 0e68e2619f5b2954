#include "model/ModelCatalogue.h"

#include "model/NumberText.h"

#include <cstring>

namespace vpr {

namespace {

constexpr std::array<const char*, ModelCatalogue::kModelCount> kModelNames = {
    "HX-4410", "HX-4470/4470M", "HX-4410(E)", "HX-4460K", "HX-4410M",
    "HX-5410", "HX-5470/5470M", "HX-5410(E)", "HX-5460K", "HX-5410M"};

constexpr std::array<ModelRow, ModelCatalogue::kRowCount> kModelRows = {{
    {"0144P", 0x20, 0, 2, 0},  {"0144P", 0x21, 0, 2, 0},  {"0744P", 0xF0, 1, 16, 0},
    {"0744P", 0xF1, 1, 16, 0}, {"0744P", 0xF2, 1, 16, 1}, {"0144P", 0xF0, 2, 4, 0},
    {"0144P", 0xF1, 2, 4, 0},  {"0644P", 0xF0, 3, 16, 0}, {"0544P", 0xF0, 4, 16, 0},
    {"0145P", 0x24, 5, 2, 0},  {"0145P", 0x25, 5, 2, 0},  {"0145P", 0x26, 5, 2, 0},
    {"0145P", 0x27, 5, 2, 0},  {"0745P", 0xF4, 6, 16, 0}, {"0745P", 0xF5, 6, 16, 0},
    {"0745P", 0xF8, 6, 16, 0}, {"0745P", 0xFF, 6, 16, 2}, {"0745P", 0xFE, 6, 16, 0},
    {"0145P", 0xF4, 7, 4, 0},  {"0145P", 0xF5, 7, 4, 0},  {"0145P", 0xF6, 7, 4, 0},
    {"0645P", 0xF4, 8, 16, 0}, {"0645P", 0xF8, 8, 16, 0}, {"0545P", 0xF4, 9, 16, 0},
    {"0545P", 0xF5, 9, 16, 0},
}};

// Rows 0..8 are VHF radios, rows 9..24 UHF radios.
constexpr int kFirstUhfRow = 9;

constexpr std::array<BandInfo, 10> kBands = {{
    {0, "VHF 1:150-174 MHz", 150.0, 174.0},
    {1, "VHF 2:136-150 MHz", 136.0, 150.0},
    {2, "VHF 3:216-223 MHz", 216.0, 223.0},
    {4, "UHF 1:450-470 MHz", 450.0, 470.0},
    {5, "UHF 2:470-490 MHz", 470.0, 490.0},
    {6, "UHF 3:490-512 MHz", 490.0, 512.0},
    {7, "UHF 4:406-430 MHz", 406.0, 430.0},
    {8, "UHF 5:400-420 MHz", 400.0, 420.0},
    {15, "UHF 6:440-460 MHz", 440.0, 460.0},
    {14, "UHF 7:350-370 MHz", 350.0, 370.0},
}};
// A band code outside the table gets the limits of band 0.
constexpr double kFallbackLower = 150.0;
constexpr double kFallbackUpper = 174.0;

constexpr std::array<const char*, ModelCatalogue::kIdentityCodeCount> kIdentityCodes = {
    "P4410", "P4470", "P4460", "P4450", "P5410", "P5470", "P5460", "P5450", "P5390"};

using TestFrequencySet = std::array<TestFrequencyPair, ModelCatalogue::kDefaultTestFrequencyCount>;

// Default test frequencies of the VHF bands 0, 1, 2.
constexpr std::array<TestFrequencySet, 3> kVhfTestFrequencies = {{
    {{{"162.100000", "162.000000"},
      {"150.100000", "150.000000"},
      {"173.900000", "173.975000"},
      {"162.500000", "162.500000"},
      {"162.550000", "162.550000"},
      {"162.600000", "162.600000"},
      {"162.550000", "162.550000"},
      {"162.650000", "162.650000"}}},
    {{{"143.100000", "143.000000"},
      {"136.100000", "136.000000"},
      {"149.900000", "149.975000"},
      {"143.500000", "143.500000"},
      {"143.550000", "143.550000"},
      {"143.600000", "143.600000"},
      {"143.550000", "143.550000"},
      {"143.650000", "143.650000"}}},
    {{{"220.100000", "220.000000"},
      {"216.100000", "216.000000"},
      {"229.900000", "229.975000"},
      {"220.500000", "220.500000"},
      {"220.550000", "220.550000"},
      {"220.600000", "220.600000"},
      {"220.550000", "220.550000"},
      {"220.650000", "220.650000"}}},
}};

// Default test frequencies of the UHF bands 4, 5, 6, 7, 8, 15, 14.
constexpr std::array<TestFrequencySet, 7> kUhfTestFrequencies = {{
    {{{"460.100000", "460.000000"},
      {"450.100000", "450.000000"},
      {"469.900000", "469.975000"},
      {"460.300000", "460.300000"},
      {"460.350000", "460.350000"},
      {"460.400000", "460.400000"},
      {"460.350000", "460.350000"},
      {"460.450000", "460.450000"}}},
    {{{"480.100000", "480.000000"},
      {"470.100000", "470.000000"},
      {"489.900000", "489.975000"},
      {"480.500000", "480.500000"},
      {"480.550000", "480.550000"},
      {"480.600000", "480.600000"},
      {"480.550000", "480.550000"},
      {"480.650000", "480.650000"}}},
    {{{"501.100000", "501.000000"},
      {"490.100000", "490.000000"},
      {"511.900000", "511.975000"},
      {"501.500000", "501.500000"},
      {"501.550000", "501.550000"},
      {"501.600000", "501.600000"},
      {"501.550000", "501.550000"},
      {"501.650000", "501.650000"}}},
    {{{"418.100000", "418.000000"},
      {"406.100000", "406.000000"},
      {"429.900000", "429.975000"},
      {"418.500000", "418.500000"},
      {"418.550000", "418.550000"},
      {"418.600000", "418.600000"},
      {"418.550000", "418.550000"},
      {"418.650000", "418.650000"}}},
    {{{"410.100000", "410.000000"},
      {"400.100000", "400.000000"},
      {"419.900000", "419.975000"},
      {"410.500000", "410.500000"},
      {"410.550000", "410.550000"},
      {"410.600000", "410.600000"},
      {"410.550000", "410.550000"},
      {"410.650000", "410.650000"}}},
    {{{"450.100000", "450.000000"},
      {"440.100000", "440.000000"},
      {"459.900000", "459.975000"},
      {"450.300000", "450.300000"},
      {"450.350000", "450.350000"},
      {"450.400000", "450.400000"},
      {"450.350000", "450.350000"},
      {"450.450000", "450.450000"}}},
    {{{"360.100000", "360.000000"},
      {"350.100000", "350.000000"},
      {"369.900000", "369.975000"},
      {"360.300000", "360.300000"},
      {"360.350000", "360.350000"},
      {"360.400000", "360.400000"},
      {"360.350000", "360.350000"},
      {"360.450000", "360.450000"}}},
}};

// The column of a family's default test frequencies for a band code; -1 when the family has none.
int testFrequencyColumn(int bandCode, bool uhf) {
  if (!uhf) return bandCode >= 0 && bandCode <= 2 ? bandCode : -1;
  switch (bandCode) {
  case 4:
    return 0;
  case 5:
    return 1;
  case 6:
    return 2;
  case 7:
    return 3;
  case 8:
    return 4;
  case 15:
    return 5;
  case 14:
    return 6;
  default:
    return -1;
  }
}

const BandInfo* findBand(int bandCode) {
  for (const BandInfo& band : kBands)
    if (band.code == bandCode) return &band;
  return nullptr;
}

const ModelRow* rowOf(const ModelCode& code) {
  const int row = ModelCatalogue::findModelRow(code);
  return row < 0 ? nullptr : &kModelRows[static_cast<std::size_t>(row)];
}

} // namespace

std::span<const ModelRow> ModelCatalogue::rows() {
  return kModelRows;
}
std::span<const BandInfo> ModelCatalogue::bands() {
  return kBands;
}
std::span<const char* const> ModelCatalogue::modelNames() {
  return kModelNames;
}
std::span<const char* const> ModelCatalogue::identityCodes() {
  return kIdentityCodes;
}

ModelCode ModelCatalogue::defaultModelCode() {
  return modelCodeForRow(0);
}

ModelCode ModelCatalogue::modelCodeForRow(int row) {
  if (row < 0 || row >= kRowCount) row = 0;
  const ModelRow& entry = kModelRows[static_cast<std::size_t>(row)];
  ModelCode code{0x00, 0x00, entry.bandByte};
  for (std::size_t i = 0; i < 5; ++i)
    code[3 + i] = static_cast<std::uint8_t>(entry.reversedCode[i]);
  return code;
}

int ModelCatalogue::findModelRow(const ModelCode& code) {
  for (int row = 0; row < kRowCount; ++row) {
    const ModelRow& entry = kModelRows[static_cast<std::size_t>(row)];
    if (code[2] == entry.bandByte && std::memcmp(&code[3], entry.reversedCode, 4) == 0) return row;
  }
  return -1;
}

bool ModelCatalogue::isEmptyModelCode(const ModelCode& code) {
  for (std::uint8_t byte : code)
    if (byte != 0xFF) return false;
  return true;
}

int ModelCatalogue::modelNumber(const ModelCode& code) {
  const ModelRow* row = rowOf(code);
  return row ? row->modelNumber : -1;
}

int ModelCatalogue::channelCount(const ModelCode& code) {
  const ModelRow* row = rowOf(code);
  return row ? row->channelCount : kUnlistedChannelCount;
}

int ModelCatalogue::spacingRestriction(const ModelCode& code) {
  const ModelRow* row = rowOf(code);
  return row ? row->spacingRestriction : 0;
}

int ModelCatalogue::bandKind(const ModelCode& code) {
  const int row = findModelRow(code);
  if (row < 0) return -1;
  return row < kFirstUhfRow ? 0 : 1;
}

double ModelCatalogue::bandLimit(const ModelCode& code, bool upper) {
  const BandInfo* band = findBand(code[2] & 0x0F);
  if (!band) return upper ? kFallbackUpper : kFallbackLower;
  return upper ? band->upper : band->lower;
}

std::string ModelCatalogue::modelName(int modelNumber) {
  if (modelNumber < 0 || modelNumber >= kModelCount) return {};
  return kModelNames[static_cast<std::size_t>(modelNumber)];
}

std::string ModelCatalogue::bandName(int bandCode) {
  const BandInfo* band = findBand(bandCode);
  return band ? NumberText::localized(band->name) : std::string();
}

std::string ModelCatalogue::modelNameText(const ModelCode& code) {
  return modelName(modelNumber(code));
}

std::string ModelCatalogue::bandNameText(const ModelCode& code) {
  const ModelRow* row = rowOf(code);
  return row ? bandName(row->bandCode()) : std::string();
}

std::string ModelCatalogue::titleText(const ModelCode& code) {
  return modelNameText(code) + " " + bandNameText(code);
}

std::string ModelCatalogue::modelNameWithKind(const ModelCode& code) {
  const int kind = bandKind(code);
  std::string text = modelNameText(code);
  if (kind == 0) text += " [VHF]";
  if (kind == 1) text += " [UHF]";
  return text;
}

std::vector<ListEntry> ModelCatalogue::modelList() {
  std::vector<ListEntry> list;
  for (int number = 0; number < kModelCount; ++number)
    list.push_back({modelName(number), number});
  return list;
}

std::vector<ListEntry> ModelCatalogue::bandList(int modelNumber) {
  std::vector<ListEntry> list;
  for (const ModelRow& row : kModelRows)
    if (row.modelNumber == modelNumber) list.push_back({bandName(row.bandCode()), row.bandByte});
  return list;
}

int ModelCatalogue::findRowByNames(std::string_view modelName, std::string_view bandName) {
  for (int row = 0; row < kRowCount; ++row) {
    const ModelRow& entry = kModelRows[static_cast<std::size_t>(row)];
    if (ModelCatalogue::modelName(entry.modelNumber) == modelName &&
        bandName == ModelCatalogue::bandName(entry.bandCode()))
      return row;
  }
  return -1;
}

std::span<const TestFrequencyPair> ModelCatalogue::defaultTestFrequencies(const ModelCode& code) {
  const int kind = bandKind(code);
  if (kind < 0) return {};
  const bool uhf = kind == 1;
  const int column = testFrequencyColumn(code[2] & 0x0F, uhf);
  if (column < 0) return {};
  return uhf ? std::span<const TestFrequencyPair>(kUhfTestFrequencies[static_cast<std::size_t>(column)])
             : std::span<const TestFrequencyPair>(kVhfTestFrequencies[static_cast<std::size_t>(column)]);
}

} // namespace vpr
