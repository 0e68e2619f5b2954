#include "model/ConfigDocument.h"

#include "model/EntryRules.h"
#include "model/RadioData.h"

#include <algorithm>
#include <string>

namespace vpr {

ConfigTestFreqEntry ConfigTestFreqEntry::fromRecord(int k, const TestFreqRecord& record) {
  ConfigTestFreqEntry entry;
  entry.number = k;
  entry.rxFrequency.set(formatFrequency(record.rxFreq()), 0);
  entry.txFrequency.set(formatFrequency(record.txFreq()), 0);
  return entry;
}

ConfigOptions ConfigOptions::fromImage(const ImageView& view) {
  ConfigOptions options;
  const int seconds = view.timeOutTimer() * kTimeOutStepSeconds;
  options.timeOutTimer.set(seconds <= kTimeOutMaxSeconds ? std::to_string(seconds) : "", 0);
  const int squelch = view.squelchLevel();
  options.squelchLevel.set(squelch <= kSquelchMax ? std::to_string(squelch) : "", 0);
  options.beepTone.set(EntryRules::featureText(view.beepTone()), 0);
  options.batterySaver.set(EntryRules::featureText(view.batterySaver()), 0);
  const int moni = view.moniKey();
  const auto& words = ConfigDocument::kMoniKeyWords;
  options.moniKey.set(moni < static_cast<int>(words.size()) ? words[moni] : "", 0);
  return options;
}

void ConfigDocument::setModelOf(const ImageView& view) {
  if (!view.isListedModel()) return;
  model.set(view.modelNameText(), 0);
  band.set(view.bandNameText(), 0);
}

ConfigDocument ConfigDocument::fromImage(const RadioImage& image) {
  ConfigDocument doc;
  doc.format.set(kFormatName, 0);
  doc.channelsGiven = doc.testFrequenciesGiven = true;
  const ImageView view(image);
  doc.setModelOf(view);
  // A setting the model does not allow (an image from a radio) is written as the allowed one;
  // the channels that carry the other value keep their bytes through the raw section.
  const auto allowed = choices::narrowChoices(view.spacingRestriction());
  int narrow = view.narrowSetting();
  if (std::none_of(allowed.begin(), allowed.end(), [&](const ChoiceEntry& c) { return c.value == narrow; }))
    narrow = allowed.front().value;
  doc.wideNarrow.set(narrow ? kNarrow : kWide, 0);
  doc.options = ConfigOptions::fromImage(view);
  for (int n = 1; n <= view.channelCount(); ++n) {
    const ChannelRecord record = view.channelSlot(n);
    if (record.isProgrammed()) doc.channels.push_back(ChannelEntry::fromRecord(n, record));
  }
  for (int k = 1; k <= layout::kTestFreqCount; ++k) {
    const TestFreqRecord record = view.testFrequency(k);
    if (record.isProgrammed()) doc.testFrequencies.push_back(ConfigTestFreqEntry::fromRecord(k, record));
  }
  for (int item = 0; item < layout::kAdjustItemCount; ++item)
    doc.adjustments[item].set(std::to_string(image[layout::kAdjustItemOffsets[item]]), 0);
  return doc;
}

RadioImage ConfigDocument::baseImageFor(const ModelCode& code) {
  const int row = ModelCatalogue::findModelRow(code);
  return row < 0 ? clearedImage() : RadioData::defaultImage(ModelCatalogue::modelCodeForRow(row));
}

std::vector<ConfigSection> ConfigDocument::sectionsFor(int channelCount) {
  std::vector<ConfigSection> sections = {{layout::kModelCode, kModelCodeSize}, {layout::kFeatureFlags, 4}};
  for (int n = 1; n <= channelCount; ++n)
    sections.push_back({layout::channelOffset(n), kRecordSize});
  for (int k = 1; k <= layout::kTestFreqCount; ++k)
    sections.push_back({layout::testFreqOffset(k), kRecordSize});
  for (const std::size_t offset : layout::kAdjustItemOffsets)
    sections.push_back({offset, 1});
  return sections;
}

} // namespace vpr
