#include "model/ConfigRawBytes.h"

#include "model/EntryRules.h"

#include <algorithm>
#include <optional>

namespace vpr {

namespace {

constexpr std::size_t kRawLine = 16;

// Whether the text a document shows for a frequency gives back its code and step code: a number
// inside the band, stored as the views store the text they show.
bool frequencySaysItself(const FrequencyCode& code, std::uint8_t stepCode, const BandLimits& limits) {
  std::string text = formatFrequency(code);
  if (EntryRules::frequencyProblem(text, limits)) return false;
  checkFrequencyText(text, limits);
  const std::optional<EncodedFrequency> stored = encodeFrequency(text);
  return stored && stored->code == code && stored->stepCode == stepCode;
}

bool toneSaysItself(ToneCode code) {
  const std::string text = EntryRules::toneText(code);
  return !EntryRules::toneProblem(text) && parseTone(EntryRules::toneEntryText(text)) == code;
}

// The record a document's entry gives back for `record` on an image that holds `base` there, or
// nothing when a field of the entry cannot say its value. The fields' bytes come from the entry;
// the bytes no field covers stay as the base holds them, except that a channel the entry creates
// gets both options and the document's wide/narrow setting, as the channel grid creates one.
std::optional<RecordBytes> givenBack(const ChannelRecord& record, const ChannelRecord& base, bool channel,
                                     int narrowSetting, const BandLimits& limits) {
  if (!record.isProgrammed()) return base.isProgrammed() ? ChannelRecord::empty().bytes : base.bytes;
  // An entry that says what the base shows leaves the base's bytes.
  if (base.isProgrammed()) {
    const bool same =
        channel
            ? ChannelEntry::fromRecord(0, record).sameCells(ChannelEntry::fromRecord(0, base))
            : ConfigTestFreqEntry::fromRecord(0, record).sameCells(ConfigTestFreqEntry::fromRecord(0, base));
    if (same) return base.bytes;
  }
  const bool transmit = record.hasTransmit();
  // A test frequency's entry always gives a transmit frequency (the receive one when it has none).
  if (!frequencySaysItself(record.rxFreq(), record.rxStepCode(), limits) ||
      (transmit ? !frequencySaysItself(record.txFreq(), record.txStepCode(), limits) : !channel))
    return std::nullopt;
  if (channel && (!toneSaysItself(record.rxTone()) || (transmit && !toneSaysItself(record.txTone()))))
    return std::nullopt;

  RecordBytes given = base.bytes;
  const auto take = [&](std::size_t at, std::size_t size) {
    std::copy_n(record.bytes.begin() + static_cast<std::ptrdiff_t>(at), size,
                given.begin() + static_cast<std::ptrdiff_t>(at));
  };
  for (const std::size_t field : {layout::kRxFreq, layout::kTxFreq})
    take(field, sizeof(FrequencyCode));
  given[layout::kRxStepCode] = record.rxStepCode();
  given[layout::kTxStepCode] = record.txStepCode();
  if (!channel) return given;

  for (const std::size_t field : {layout::kRxTone, layout::kTxTone})
    take(field, sizeof(ToneCode));
  // A receive-only channel's entry leaves its transmit tone and step code cleared.
  if (!transmit) given[layout::kTxTone] = given[layout::kTxTone + 1] = given[layout::kTxStepCode] = 0xFF;
  std::uint8_t& flags = given[layout::kChFlags];
  if (!base.isProgrammed()) {
    flags |= layout::kOptionABit | layout::kOptionBBit;
    flags =
        static_cast<std::uint8_t>(narrowSetting ? flags | layout::kNarrowBit : flags & ~layout::kNarrowBit);
  }
  // Option A has a field only with transmit.
  const std::uint8_t options = transmit ? layout::kOptionABit | layout::kOptionBBit : layout::kOptionBBit;
  flags = static_cast<std::uint8_t>((flags & ~options) | (record.flags() & options));
  return given;
}

// Whether the option entries give back the four option bytes: the beep tone and battery saver
// bits say any value, the other bits of their byte stay as the base holds them, and a number
// outside its field's range is shown as an empty text that leaves the base's byte.
bool optionsSayThemselves(const RadioImage& image, const RadioImage& base) {
  constexpr std::uint8_t kSwitchBits = layout::kBeepToneBit | layout::kBatterySaverBit;
  const auto sayable = [&](std::size_t at, int maximum) {
    return image[at] <= maximum || image[at] == base[at];
  };
  return ((image[layout::kFeatureFlags] ^ base[layout::kFeatureFlags]) & ~kSwitchBits) == 0 &&
         sayable(layout::kTimeOutTimer, kTimeOutMaxSeconds / kTimeOutStepSeconds) &&
         sayable(layout::kSquelchLevel, kSquelchMax) &&
         sayable(layout::kMoniKey, static_cast<int>(ConfigDocument::kMoniKeyWords.size()) - 1);
}

} // namespace

std::bitset<kImageSize> ConfigRawBytes::choose(const RadioImage& image, const ConfigDocument& doc) {
  const ModelCode code = modelCodeOf(image);
  const std::vector<ConfigSection> sections = ConfigDocument::sectionsFor(ModelCatalogue::channelCount(code));
  const auto markSection = [](std::bitset<kImageSize>& bits, const ConfigSection& section) {
    for (std::size_t i = 0; i < section.size; ++i)
      bits[section.offset + i] = true;
  };

  // Bytes no entry describes, where they differ from the image the import builds on.
  const RadioImage base = ConfigDocument::baseImageFor(code);
  std::bitset<kImageSize> chosen;
  for (std::size_t i = 0; i < kImageSize; ++i)
    chosen[i] = image[i] != base[i] && std::none_of(sections.begin(), sections.end(),
                                                    [&](const ConfigSection& s) { return s.contains(i); });

  // A model code that the model and band names do not give exactly; the rest is built for the
  // model it names either way, so the band limits and channel count are the image's own.
  const int row = ModelCatalogue::findModelRow(code);
  if (row < 0 || ModelCatalogue::modelCodeForRow(row) != code) markSection(chosen, sections.front());

  if (!optionsSayThemselves(image, base)) markSection(chosen, sections[1]);

  // Each record whose entry cannot give back its 16 bytes. The adjustment entries say any byte.
  const BandLimits limits = ImageView(image).bandLimits();
  const int narrowSetting = doc.wideNarrow.text == ConfigDocument::kNarrow ? 1 : 0;
  const auto decide = [&](std::size_t offset, bool channel) {
    const ChannelRecord record = ChannelRecord::at(image, offset);
    if (givenBack(record, ChannelRecord::at(base, offset), channel, narrowSetting, limits) != record.bytes)
      markSection(chosen, {offset, kRecordSize});
  };
  for (int n = 1; n <= ModelCatalogue::channelCount(code); ++n)
    decide(layout::channelOffset(n), true);
  for (int k = 1; k <= layout::kTestFreqCount; ++k)
    decide(layout::testFreqOffset(k), false);
  return chosen;
}

std::vector<ConfigRawRun> ConfigRawBytes::runs(const RadioImage& image,
                                               const std::bitset<kImageSize>& chosen) {
  std::vector<ConfigRawRun> runs;
  for (std::size_t i = 0; i < kImageSize; ++i) {
    if (!chosen[i]) continue;
    if (runs.empty() || runs.back().offset + runs.back().bytes.size() != i || i % kRawLine == 0)
      runs.push_back({i, {}, 0});
    runs.back().bytes.push_back(image[i]);
  }
  return runs;
}

void ConfigRawBytes::apply(const RadioImage& image, ConfigDocument& doc) {
  const std::bitset<kImageSize> chosen = choose(image, doc);
  doc.raw = runs(image, chosen);
  // Each byte in one place: what travels raw has no entry.
  if (chosen[layout::kModelCode]) doc.model = doc.band = EntryField{};
  if (chosen[layout::kFeatureFlags]) doc.options = ConfigOptions{};
  std::erase_if(doc.channels, [&](const ChannelEntry& e) { return chosen[layout::channelOffset(e.number)]; });
  std::erase_if(doc.testFrequencies,
                [&](const ConfigTestFreqEntry& e) { return chosen[layout::testFreqOffset(e.number)]; });
  for (int item = 0; item < layout::kAdjustItemCount; ++item)
    if (chosen[layout::kAdjustItemOffsets[item]]) doc.adjustments[item] = EntryField{};
}

} // namespace vpr
