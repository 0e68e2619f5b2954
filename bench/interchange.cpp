// The costs of the interchange formats: a configuration export and import (File ▸ Export and
// Import Configuration, vpr40t-cli export/import) for a full 16-channel image and for an image
// of pure noise (everything travels raw), and a channel-list import of 16 rows, as items per
// second.

#include "model/ChannelCsv.h"
#include "model/ConfigYaml.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"

#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>

namespace {

vpr::RadioImage fullImage() {
  vpr::RadioData data;
  data.transferImage = vpr::RadioData::defaultImage(vpr::ModelCatalogue::modelCodeForRow(13));
  data.adoptTransferImage();
  for (int n = 1; n <= 16; ++n) {
    std::string rx = std::to_string(450 + n) + ".0125";
    data.setChannelFrequency(n, rx, vpr::FrequencyField::Receive);
    data.setChannelTone(n, vpr::ToneField::Receive, vpr::toneListText(n * 7), false);
  }
  return data.editImage;
}

vpr::RadioImage noiseImage() {
  std::mt19937 rng(1);
  vpr::RadioImage image;
  for (auto& b : image)
    b = static_cast<std::uint8_t>(rng());
  return image;
}

void configurationRoundTrip(benchmark::State& state, vpr::RadioImage image) {
  for (auto _ : state) {
    const auto result = vpr::ConfigYaml::importText(vpr::ConfigYaml::exportImage(image));
    if (!result.image || *result.image != image) throw std::runtime_error("round trip failed");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(configurationRoundTrip, full16Channels, fullImage());
BENCHMARK_CAPTURE(configurationRoundTrip, noise, noiseImage());

void channelListImport(benchmark::State& state) {
  const vpr::RadioImage image = fullImage();
  const std::string csv = vpr::ChannelCsv::exportChannels(image);
  for (auto _ : state) {
    const auto result = vpr::ChannelCsv::importText(image, csv, vpr::ChannelCsv::Rows::AllOrNothing);
    benchmark::DoNotOptimize(result.image);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(channelListImport);

} // namespace

BENCHMARK_MAIN();
