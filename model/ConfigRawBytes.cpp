#include "model/ConfigRawBytes.h"

#include "model/ConfigBuilder.h"

#include <algorithm>

namespace vpr {

namespace {

constexpr std::size_t kRawLine = 16;

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

  // A model code that the model and band names do not give exactly: everything else is built for
  // the model it names, whether from raw bytes or from the names.
  const ConfigSection& model = sections.front();
  const int row = ModelCatalogue::findModelRow(code);
  const bool modelRaw = row < 0 || ModelCatalogue::modelCodeForRow(row) != code;
  if (modelRaw) markSection(chosen, model);

  // With the model settled the sections do not depend on one another, so each is decided once,
  // all in one build on the base image: a section travels raw when its entry is refused or does
  // not give its bytes back.
  ConfigDocument entries = doc;
  entries.raw.clear();
  if (modelRaw)
    entries.raw.push_back({model.offset, {&image[model.offset], &image[model.offset] + model.size}, 0});
  std::vector<ImportProblem> ignored;
  ConfigBuilder builder(entries, ignored);
  const RadioImage rebuilt = builder.build();
  for (const ConfigSection& section : sections) {
    const bool same =
        std::equal(image.begin() + section.offset, image.begin() + section.offset + section.size,
                   rebuilt.begin() + section.offset);
    const bool refused = std::any_of(builder.failed().begin(), builder.failed().end(),
                                     [&](const ConfigSection& f) { return f.offset == section.offset; });
    if (!same || refused) markSection(chosen, section);
  }
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
