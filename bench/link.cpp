// Full read and full write against the virtual radio paced at 9600 baud 8N2, the write also with
// the read-back check and with backup and check. For each transfer the measured time is compared
// with the floor: the line time of every byte that crossed the wire at 11 bits per byte (the
// backup's and the check's reads included), plus the specified pauses, plus the radio's
// turnaround before each of its answers. Also reports the CPU time the transfer took (the calling thread, and
// the whole process including the virtual radio's thread).

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "link/RadioTransfer.h"
#include "sim/VirtualRadio.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;

class QuietUi : public vpr::UserInterface {
public:
  vpr::MessageAnswer showMessage(const vpr::MessageRequest& r) override {
    std::cerr << "message: " << r.text << "\n";
    return vpr::MessageAnswer::Ok;
  }
  std::optional<std::string> chooseFileToOpen(const vpr::FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const vpr::FileRequest&) override { return std::nullopt; }
  void pumpOneMessage() override {}
  void reportProgress(int, int, const std::string&) override {}
};

double cpuSeconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

vpr::RadioImage benchImage() {
  vpr::RadioImage image{};
  for (std::size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<std::uint8_t>(i * 13 + 5);
  const vpr::ModelCode code = {0x00, 0x00, 0x01, '0', '1', '4', '4', 'P'};
  vpr::writeModelCode(image, code);
  return image;
}

void loadLanguage() {
  static bool loaded = false;
  if (loaded) return;
  QuietUi ui;
  loaded =
      vpr::languageTable().loadLanguageFileAt(std::string(VPR_SOURCE_DIR) + "/res/vpr40t.lng", "English", ui);
}

// The transfer's own pauses: the settling pause after opening and one before each identification.
constexpr double kSettleMs = 50.0;
constexpr double kIdentifyPauseMs = 50.0;

enum class Kind { Read, Write, WriteVerify, WriteBackupVerify };

const char* nameOf(Kind kind) {
  switch (kind) {
  case Kind::Read:
    return "read";
  case Kind::Write:
    return "write";
  case Kind::WriteVerify:
    return "write+verify";
  case Kind::WriteBackupVerify:
    return "write+backup+verify";
  }
  return "";
}

int run(Kind kind, vpr::CRadioComm& link, vpr::UserInterface& ui, const vpr::RadioImage& image,
        vpr::RadioImage& received, const std::string& backupFolder) {
  if (kind == Kind::Read) return vpr::runReadTransfer(link, ui, received);
  vpr::WriteSafety safety;
  safety.backup = kind == Kind::WriteBackupVerify;
  safety.backupFolder = backupFolder;
  safety.verify = kind != Kind::Write;
  vpr::WriteReport report;
  return vpr::runSafeWrite(link, ui, image, safety, report);
}

void transfer(benchmark::State& state, Kind kind) {
  loadLanguage();
  const vpr::RadioImage image = benchImage();
  // The radio holds other data before a write, so that the backup has something to keep.
  vpr::RadioImage before = image;
  before[0x40] ^= 0xFF;
  std::string backupFolder = (std::filesystem::temp_directory_path() / "vpr40t-bench-XXXXXX").string();
  if (!mkdtemp(backupFolder.data())) {
    state.SkipWithError("no temporary folder for the backups");
    return;
  }
  double ratioSum = 0, threadCpuSum = 0, processCpuSum = 0, spinSum = 0;
  int runs = 0;
  for (auto _ : state) {
    vpr::sim::VirtualRadioOptions options;
    options.programMode = true;
    options.paced = true;
    options.turnaround = std::chrono::microseconds(2000);
    vpr::sim::VirtualRadio radio(kind == Kind::Read ? image : before, options);
    if (!radio.start()) {
      state.SkipWithError(radio.error().c_str());
      return;
    }
    vpr::CRadioComm link;
    link.SetPortPath(1, radio.devicePath());
    QuietUi ui;
    vpr::RadioImage received = vpr::clearedImage();

    const double thread0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double process0 = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const auto start = Clock::now();
    const int result = run(kind, link, ui, image, received, backupFolder);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double threadCpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - thread0;
    const double processCpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process0;
    radio.stop();
    if (result != 0) {
      state.SkipWithError("the transfer failed");
      return;
    }
    const auto stats = radio.stats();
    const double byteSeconds = std::chrono::duration<double>(radio.byteTime()).count();
    const double pauses = (kSettleMs + kIdentifyPauseMs * stats.identifications) / 1000.0;
    const double floor = static_cast<double>(stats.bytesReceived + stats.bytesSent) * byteSeconds +
                         static_cast<double>(stats.answers) * 0.002 + pauses;
    state.SetIterationTime(elapsed);
    ratioSum += elapsed / floor;
    threadCpuSum += threadCpu;
    processCpuSum += processCpu;
    spinSum += pauses; // the pauses are busy waits: they spin, and count as CPU time
    ++runs;
    std::cout << nameOf(kind) << ": " << elapsed * 1000 << " ms, floor " << floor * 1000 << " ms ("
              << stats.bytesReceived + stats.bytesSent << " bytes, " << stats.answers << " answers), ratio "
              << elapsed / floor << ", CPU " << threadCpu * 1000 << " ms (thread) / " << processCpu * 1000
              << " ms (process)\n";
  }
  std::error_code ignored;
  std::filesystem::remove_all(backupFolder, ignored);
  if (runs > 0) {
    state.counters["ratio"] = ratioSum / runs;
    state.counters["cpu_ms_thread"] = threadCpuSum / runs * 1000;
    state.counters["cpu_ms_process"] = processCpuSum / runs * 1000;
    state.counters["cpu_ms_beyond_pauses"] = (threadCpuSum - spinSum) / runs * 1000;
  }
}

void BM_FullRead(benchmark::State& state) {
  transfer(state, Kind::Read);
}
void BM_FullWrite(benchmark::State& state) {
  transfer(state, Kind::Write);
}
void BM_WriteVerify(benchmark::State& state) {
  transfer(state, Kind::WriteVerify);
}
void BM_WriteBackupVerify(benchmark::State& state) {
  transfer(state, Kind::WriteBackupVerify);
}

} // namespace

BENCHMARK(BM_FullRead)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullWrite)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteVerify)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBackupVerify)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
