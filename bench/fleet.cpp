// Writing one image with backup and read-back check into eight virtual radios at once, each
// paced at 9600 baud 8N2 on its own pseudo-terminal, against writing it into one. The radios
// work side by side, so eight should take about the time of one: "ratio" is the time of the
// eight over the time of the one (goal: at most 1.1).

#include "bench/BenchSupport.h"
#include "lang/CLanguageTable.h"
#include "link/RadioFleet.h"
#include "sim/VirtualRadio.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kFleetSize = 8;

// The seconds a fleet of n paced radios takes for a full safe write; negative when a radio failed.
double writeSeconds(std::size_t n, const vpr::RadioImage& image, const std::string& backupFolder) {
  vpr::RadioImage before = image;
  before[0x40] ^= 0xFF; // other data, so that every radio has a backup to take
  std::vector<std::unique_ptr<vpr::sim::VirtualRadio>> radios;
  std::vector<vpr::FleetPort> ports;
  for (std::size_t i = 0; i < n; ++i) {
    vpr::sim::VirtualRadioOptions options;
    options.programMode = true;
    options.paced = true;
    radios.push_back(std::make_unique<vpr::sim::VirtualRadio>(before, options));
    if (!radios.back()->start()) return -1;
    ports.push_back({std::to_string(i + 1), radios.back()->devicePath()});
  }
  vpr::WriteSafety safety;
  safety.backup = true;
  safety.backupFolder = backupFolder;
  safety.verify = true;
  const auto start = Clock::now();
  const auto results = vpr::writeFleet(ports, image, safety, vpr::FleetOptions{});
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (const auto& result : results)
    if (!result.succeeded()) {
      std::cerr << result.name << ": " << result.messageLine() << '\n';
      return -1;
    }
  return seconds;
}

void BM_EightRadiosAtOnce(benchmark::State& state) {
  vpr::bench::SilentUserInterface ui;
  vpr::languageTable().loadLanguageFileAt(std::string(VPR_SOURCE_DIR) + "/res/vpr40t.lng", "English", ui);
  const vpr::RadioImage image = vpr::bench::fullData().editImage;
  std::string folder = (std::filesystem::temp_directory_path() / "vpr40t-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    state.SkipWithError("no temporary folder for the backups");
    return;
  }
  double ratioSum = 0;
  int runs = 0;
  for (auto _ : state) {
    const double one = writeSeconds(1, image, folder);
    const double eight = writeSeconds(kFleetSize, image, folder);
    if (one <= 0 || eight <= 0) {
      state.SkipWithError("a write failed");
      break;
    }
    state.SetIterationTime(eight);
    ratioSum += eight / one;
    ++runs;
    std::cout << "one radio: " << one * 1000 << " ms, " << kFleetSize << " radios at once: " << eight * 1000
              << " ms, ratio " << eight / one << '\n';
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  if (runs > 0) state.counters["ratio"] = ratioSum / runs;
}

} // namespace

BENCHMARK(BM_EightRadiosAtOnce)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
