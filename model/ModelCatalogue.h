#pragma once
// The fixed catalogue of radio models and bands.
//
// Every question about a model code is answered here from compiled-in tables: which model and
// band it denotes, its channel count, band limits and kind, the wide/narrow values it allows,
// its display names and its default test frequencies. All functions are pure and take the model
// code they are asked about; RadioData asks them about the code in its working image.

#include "model/RadioImage.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vpr {

// One row of the model table.
struct ModelRow {
  const char* reversedCode; // the five characters written into model code bytes 3..7
  std::uint8_t bandByte;    // band code | model type nibble << 4
  int modelNumber;          // index into the model names
  int channelCount;         // 2, 4 or 16
  int spacingRestriction;   // 0 wide and narrow, 1 only wide (0), 2 only narrow (1)

  int bandCode() const { return bandByte & 0x0F; }
};

// One band of the band table.
struct BandInfo {
  int code;
  const char* name;
  double lower; // MHz
  double upper; // MHz
};

// One default test frequency: receive and transmit in MHz, as texts with "." and six decimals.
struct TestFrequencyPair {
  const char* receive;
  const char* transmit;
};

// An entry of the model or band pick list: the text shown and the value behind it.
struct ListEntry {
  std::string text;
  int value;
  bool operator==(const ListEntry&) const = default;
};

class ModelCatalogue {
public:
  static constexpr int kRowCount = 25;
  static constexpr int kModelCount = 10;
  static constexpr int kIdentityCodeCount = 9;
  static constexpr int kDefaultTestFrequencyCount = 8;
  static constexpr int kUnlistedChannelCount = 2;
  // The default file name a new or changed image takes.
  static constexpr const char* kDefaultFileName = "vpr40t.dat";

  // The tables.
  static std::span<const ModelRow> rows();
  static std::span<const BandInfo> bands();
  static std::span<const char* const> modelNames();
  // The forward identity codes a radio answers with ("P4410", ... "P5390"), in match order.
  static std::span<const char* const> identityCodes();

  // The model code 00 00 20 "0144P" (HX-4410, "VHF 1:150-174 MHz").
  static ModelCode defaultModelCode();
  // The model code of a table row (0..24); the default code for any other number.
  static ModelCode modelCodeForRow(int row);

  // Lookups on a model code. A code that matches no row is "unlisted"; the result for it is
  // given with each function.
  // Row 0..24 of the first row with the same first four reversed-code characters (bytes 3..6)
  // and the same band byte (byte 2); -1 when unlisted.
  static int findModelRow(const ModelCode& code);
  static bool isListedModel(const ModelCode& code) { return findModelRow(code) >= 0; }
  static bool isEmptyModelCode(const ModelCode& code);
  static int modelNumber(const ModelCode& code);        // -1 when unlisted
  static int channelCount(const ModelCode& code);       // 2 when unlisted
  static int spacingRestriction(const ModelCode& code); // 0 when unlisted
  static int bandKind(const ModelCode& code);           // 0 VHF, 1 UHF, -1 when unlisted
  static std::uint8_t bandByte(const ModelCode& code) { return code[2]; }
  // Band limits by the low nibble of the band byte; 150..174 MHz for a code not in the band table.
  static double bandLimit(const ModelCode& code, bool upper);
  static std::string modelNameText(const ModelCode& code);     // empty when unlisted
  static std::string bandNameText(const ModelCode& code);      // separator localized; empty when unlisted
  static std::string titleText(const ModelCode& code);         // "<model> <band>"
  static std::string modelNameWithKind(const ModelCode& code); // "<model> [VHF]" / " [UHF]"

  // The name of model number 0..9 (empty otherwise) and the localized name of a band code.
  static std::string modelName(int modelNumber);
  static std::string bandName(int bandCode);

  // The ten model names in model-number order, value = model number.
  static std::vector<ListEntry> modelList();
  // The band names of a model's rows in row order, value = the row's band byte; empty for a
  // model number outside 0..9.
  static std::vector<ListEntry> bandList(int modelNumber);

  // The row whose model name and band name (as shown, separator localized) are the given ones;
  // -1 when there is none.
  static int findRowByNames(std::string_view modelName, std::string_view bandName);

  // The eight default test frequencies of a listed model code; empty when unlisted.
  static std::span<const TestFrequencyPair> defaultTestFrequencies(const ModelCode& code);
};

} // namespace vpr
