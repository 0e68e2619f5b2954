// The core's everyday costs: loading the language file at start-up, building a default image
// (New, a model change) and a data-file round trip (Save followed by Open).

#include "bench/BenchSupport.h"
#include "lang/CLanguageTable.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

using vpr::bench::SilentUserInterface;

void languageFileLoad(benchmark::State& state) {
  const std::string path = std::string(VPR_SOURCE_DIR) + "/res/vpr40t.lng";
  SilentUserInterface ui;
  for (auto _ : state) {
    vpr::CLanguageTable table;
    if (!table.loadLanguageFileAt(path, "English", ui))
      throw std::runtime_error("language file did not load");
    benchmark::DoNotOptimize(table.textOf(10025001).data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(languageFileLoad);

void defaultImageBuild(benchmark::State& state) {
  int row = 0;
  for (auto _ : state) {
    vpr::RadioImage image = vpr::RadioData::defaultImage(vpr::ModelCatalogue::modelCodeForRow(row));
    benchmark::DoNotOptimize(image.data());
    row = (row + 1) % vpr::ModelCatalogue::kRowCount;
  }
}
BENCHMARK(defaultImageBuild);

void dataFileRoundTrip(benchmark::State& state) {
  std::string folder = (std::filesystem::temp_directory_path() / "vpr40t-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) throw std::runtime_error("no temporary folder");
  const std::string path = folder + "/bench.dat";
  const vpr::RadioImage image = vpr::RadioData::defaultImage(vpr::ModelCatalogue::modelCodeForRow(13));
  vpr::RadioImage back{};
  vpr::DataFile::Magic magic{};
  for (auto _ : state) {
    std::error_code error;
    if (vpr::DataFile::writeDataFile(path, image, error) != vpr::DataFile::Written ||
        vpr::DataFile::readDataFile(path, back, magic) != vpr::DataFile::Read || back != image)
      throw std::runtime_error("round trip failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2 * vpr::DataFile::kFileSize);
  std::filesystem::remove_all(folder);
}
BENCHMARK(dataFileRoundTrip);

} // namespace

BENCHMARK_MAIN();
