// The full reliability campaigns against the virtual radio: randomized faulted transfers, or with
// --test-mode randomized faulted test-mode sessions.
// Usage: bench_linkcampaign [count] [seed] [--paced] [--test-mode]

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "sim/TestModeCampaign.h"
#include "sim/TransferCampaign.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

class SilentUi : public vpr::UserInterface {
public:
  vpr::MessageAnswer showMessage(const vpr::MessageRequest& r) override {
    std::cerr << "language file: " << r.text << "\n";
    return vpr::MessageAnswer::Ok;
  }
  std::optional<std::string> chooseFileToOpen(const vpr::FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const vpr::FileRequest&) override { return std::nullopt; }
  void pumpOneMessage() override {}
  void reportProgress(int, int, const std::string&) override {}
};

// The end of a report, either campaign's: the faults met, every problem; the exit status.
template <class Report> int listFaultsAndProblems(const Report& r) {
  for (const auto& [kind, n] : r.faultKinds)
    std::cout << " " << kind << " " << n << ";";
  std::cout << "\n";
  for (const auto& p : r.problems)
    std::cout << "  PROBLEM " << p << "\n";
  return r.clean() ? 0 : 1;
}

int runTestModeCampaign(const vpr::sim::TestModeCampaignOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  const vpr::sim::TestModeCampaignReport r = vpr::sim::runTestModeCampaign(options);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "test-mode campaign: seed " << options.seed << ", " << r.sessions << " sessions (" << r.started
            << " started)" << (options.paced ? ", paced" : "") << ", " << seconds << " s\n";
  std::cout << "  " << r.actions << " requests, " << r.valuesSent << " values taken, " << r.adjustments
            << " adjustments, " << r.keyed << " keyings, " << r.reentries
            << " requests tried inside a pumped message, " << r.unreachableAtEnd
            << " radios unreachable at the end\n";
  std::cout << "  values outside an adjustment " << r.valuesOutsideAdjustment
            << ", requests taken while busy " << r.reentriesTaken << ", left keyed " << r.leftKeyed
            << ", left adjusting " << r.leftAdjusting << ", image differs " << r.imageDiffers
            << ", not restored " << r.notRestored << "\n  faults:";
  return listFaultsAndProblems(r);
}

} // namespace

int main(int argc, char** argv) {
  vpr::sim::CampaignOptions options;
  options.transfers = 240;
  options.seed = 40;
  bool testMode = false;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--paced") == 0)
      options.paced = true;
    else if (std::strcmp(argv[i], "--test-mode") == 0)
      testMode = true;
    else if (positional++ == 0)
      options.transfers = std::atoi(argv[i]);
    else
      options.seed = static_cast<std::uint32_t>(std::strtoul(argv[i], nullptr, 10));
  }
  SilentUi ui;
  if (!vpr::languageTable().loadLanguageFileAt(std::string(VPR_SOURCE_DIR) + "/res/vpr40t.lng", "English",
                                               ui)) {
    std::cerr << "the language file does not load\n";
    return 1;
  }
  if (testMode)
    return runTestModeCampaign({options.seed, positional > 0 ? options.transfers : 1000, options.paced});
  const auto start = std::chrono::steady_clock::now();
  const vpr::sim::CampaignReport r = vpr::sim::runTransferCampaign(options);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::cout << "transfer campaign: seed " << options.seed << ", " << r.transfers << " transfers (" << r.reads
            << " reads, " << r.writes << " writes)" << (options.paced ? ", paced" : "") << ", " << seconds
            << " s\n";
  std::cout << "  succeeded " << r.succeeded << " (" << r.survivedFloods
            << " of them through a flood), failed as expected " << r.failedAsExpected << ", " << r.combined
            << " with more than one fault\n";
  std::cout << "  wrong result " << r.wrongResult << ", wrong messages " << r.wrongMessages << ", over time "
            << r.overTime << ", partial read taken " << r.partialReadTaken << ", radio memory wrong "
            << r.radioMemoryWrong << ", port left open " << r.portLeftOpen << "\n";
  std::cout << "  longest transfer " << r.longestMs << " ms, worst use of its time bound " << r.worstBoundUse
            << "\n  faults:";
  return listFaultsAndProblems(r);
}
