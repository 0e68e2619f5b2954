#include "cli/FleetJobs.h"

#include "cli/CliText.h"
#include "cli/FleetProgress.h"
#include "cli/ImageReport.h"
#include "cli/RadioTerminal.h"
#include "lang/TextFormat.h"
#include "model/DataFile.h"
#include "model/LocalTime.h"
#include "model/ModelCatalogue.h"
#include "model/RadioBackups.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>

namespace vpr::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kNone = "-";

std::vector<FleetPort> resolvePorts(const std::vector<std::string>& names) {
  std::vector<FleetPort> ports;
  for (const std::string& name : names) {
    CRadioComm link;
    selectPort(link, name);
    ports.push_back({name, link.DeviceName()});
  }
  return ports;
}

// The port's result as its progress line shows it at the end.
std::string resultText(const FleetRecorder& recorder, const FleetPortResult& result) {
  return result.succeeded() ? cliText(kTextRadioDone)
                            : formatText(cliText(kTextRadioFailed), {recorder.failureText(result)});
}

// "COM3_2026-12-09_04-30-00.dat" for port 3; a device path's characters that a file name
// cannot hold become "_" ("dev_ttyUSB0_...").
std::string readFileName(const std::string& port, std::time_t when) {
  std::string name = std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c); })
                         ? "COM" + port
                         : port;
  for (char& c : name)
    if (std::string_view("/\\:*?\"<>| ").find(c) != std::string_view::npos) c = '_';
  name.erase(0, name.find_first_not_of('_'));
  return name + localTimeText(when, "_%Y-%m-%d_%H-%M-%S.dat");
}

// What a fleet command prints once every port has ended: the table or the JSON array on
// standard output, then the count of radios done.
void printResults(const FleetRecorder& recorder, const std::vector<FleetPortResult>& results,
                  const std::vector<JobEntry>& entries, bool json, bool reading) {
  if (json) {
    std::cout << "[\n";
    for (std::size_t i = 0; i < results.size(); ++i) {
      const FleetPortResult& r = results[i];
      const JobEntry& e = entries[i];
      std::cout << "  {\"port\": " << jsonString(r.name) << ", \"device\": " << jsonString(r.device)
                << ", \"model\": " << jsonString(e.model) << ", \"band\": " << jsonString(e.band)
                << ", \"identity\": " << jsonString(e.identity)
                << ", \"result\": " << jsonString(r.succeeded() ? JobRecord::kDone : "failed")
                << ", \"message\": " << jsonString(r.succeeded() ? std::string() : recorder.failureText(r))
                << ", \"file\": " << jsonString(e.file) << ", \"backup\": " << jsonString(e.backupPath) << '}'
                << (i + 1 < results.size() ? ",\n" : "\n");
    }
    std::cout << "]\n";
    return;
  }
  std::vector<std::vector<std::string>> rows = {{cliText(kTextColumnPort), cliText(kTextColumnModel),
                                                 cliText(kTextColumnResult),
                                                 cliText(reading ? kTextColumnFile : kTextColumnBackup)}};
  for (std::size_t i = 0; i < results.size(); ++i) {
    const std::string& last = reading ? entries[i].file : entries[i].backupPath;
    rows.push_back({results[i].name, recorder.modelText(results[i]),
                    cliText(results[i].succeeded() ? kTextRadioDone : kTextRadioFailedShort),
                    last.empty() ? kNone : last});
  }
  printTable(std::cout, rows);
  // The failures' own words below the table, which stays narrow.
  for (const FleetPortResult& result : results)
    if (!result.succeeded()) std::cout << result.name << ": " << recorder.failureText(result) << '\n';
  const auto done =
      std::count_if(results.begin(), results.end(), [](const auto& r) { return r.succeeded(); });
  std::cout << formatText(cliText(kTextRadiosDone),
                          {static_cast<int>(done), static_cast<int>(results.size())})
            << '\n';
}

// Runs a fleet transfer with its progress, record and results. The epilogue completes a port's
// result on the port's thread before it is recorded (a read saves its file there) and returns
// the file the record names.
using PortEpilogue = std::function<std::string(FleetPortResult& result)>;
using FleetRun =
    std::function<std::vector<FleetPortResult>(const std::vector<FleetPort>&, const FleetOptions&)>;

int runFleetCommand(const FleetArguments& arguments, const FleetDisplay& display, bool yes, bool reading,
                    const FleetRun& run, const PortEpilogue& epilogue) {
  const std::vector<std::string> names = arguments.portNames();
  FleetRecorder recorder = recorderFor(arguments.recordPath());
  const std::string recordProblem = recorder.problem();
  FleetProgress progress(std::cerr, names, display.onTerminal, display.quiet);
  std::vector<FleetPortResult> outcomes(names.size());
  std::vector<JobEntry> entries(names.size());
  std::vector<std::string> recordProblems(names.size());

  FleetOptions options;
  options.assumeYes = yes;
  options.admit = [&](std::size_t) { return recordProblem; };
  options.progress = [&](std::size_t port, int done, int total, const std::string& label) {
    progress.show(port, done, total, label);
  };
  options.finished = [&](std::size_t port, const FleetPortResult& result) {
    FleetPortResult& outcome = outcomes[port];
    outcome = result;
    const std::string file = epilogue(outcome);
    entries[port] = recordProblem.empty() ? recorder.record(outcome, file, recordProblems[port])
                                          : recorder.entryOf(outcome, file);
    progress.finish(port, resultText(recorder, outcome));
  };
  run(resolvePorts(names), options);

  printResults(recorder, outcomes, entries, arguments.json, reading);
  bool allDone = std::all_of(outcomes.begin(), outcomes.end(), [](const auto& r) { return r.succeeded(); });
  for (const std::string& problem : recordProblems)
    if (!problem.empty()) {
      std::cerr << "vpr40t-cli: " << problem << '\n';
      allDone = false;
    }
  return allDone ? 0 : 1;
}

} // namespace

int writeToFleet(const FleetArguments& arguments, const std::string& file, const RadioImage& image,
                 const WriteSafety& safety, bool yes, const FleetDisplay& display) {
  return runFleetCommand(
      arguments, display, yes, false,
      [&](const std::vector<FleetPort>& ports, const FleetOptions& options) {
        return writeFleet(ports, image, safety, options);
      },
      [&](FleetPortResult&) { return file; });
}

int readFromFleet(const FleetArguments& arguments, const std::string& folder, const std::string& backupFolder,
                  const FleetDisplay& display) {
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  return runFleetCommand(
      arguments, display, false, true, readFleet, [&](FleetPortResult& result) -> std::string {
        if (!result.succeeded()) return {};
        const std::time_t now = std::time(nullptr);
        const std::string path = (fs::path(folder) / readFileName(result.name, now)).string();
        std::error_code error;
        if (DataFile::writeDataFile(path, result.image, error) != DataFile::Written) {
          result.status = 1;
          result.messages.push_back(cliText(kTextSaveFailed) + " " + path + ": " + error.message());
          return {};
        }
        if (!backupFolder.empty()) {
          result.write.backupPath =
              RadioBackups::store(backupFolder, result.image, now, BackupReason::AfterRead, error);
          if (result.write.backupPath.empty())
            result.messages.push_back(backupFolder + ": " + error.message());
        }
        return path;
      });
}

FleetRecorder recorderFor(const std::string& recordPath) {
  return FleetRecorder(recordPath, cliText, cliText(kTextAnswerWithYes));
}

} // namespace vpr::cli
