// vpr40t-sim: a virtual radio on a pseudo-terminal. Prints the terminal's path on the first
// line of standard output, serves it until interrupted, and can save its memory at exit.

#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <pthread.h>

namespace {

using vpr::sim::Memory;

// A fault given as "BLOCK" or "BLOCK:COUNT".
bool parseBlockCount(const std::string& text, int& block, int& count) {
  try {
    auto colon = text.find(':');
    block = std::stoi(text.substr(0, colon));
    if (colon != std::string::npos) count = std::stoi(text.substr(colon + 1));
    return block >= 0 && count >= 0;
  } catch (const std::exception&) {
    return false;
  }
}

bool hasDataFileExtension(const std::string& path) {
  return path.size() > 4 && path.compare(path.size() - 4, 4, ".dat") == 0;
}

// A data file (by its magic), or a raw image of exactly 1024 bytes.
bool loadMemory(const std::string& path, Memory& memory) {
  vpr::DataFile::Magic magic{};
  if (vpr::DataFile::readDataFile(path, memory, magic) == vpr::DataFile::Read) return true;
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() != memory.size()) return false;
  std::copy(bytes.begin(), bytes.end(), memory.begin());
  return true;
}

// A name ending in ".dat" gets a data file, any other a raw image.
bool saveMemory(const std::string& path, const Memory& memory) {
  if (hasDataFileExtension(path)) {
    std::error_code error;
    return vpr::DataFile::writeDataFile(path, memory, error) == vpr::DataFile::Written;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(memory.data()), static_cast<std::streamsize>(memory.size()));
  return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
  CLI::App app{"Virtual radio: the radio's side of the programming protocol on a pseudo-terminal",
               "vpr40t-sim"};
  app.set_version_flag("--version", "vpr40t-sim " VPR_VERSION);
  std::string memoryFile, saveFile, wrongHeader, refuseWrite, noise, flood;
  int silentAfter = -1, hangUpAfter = -1, truncate = -1, wrongLength = -1, nakFinal = -1, corruptWrite = -1;
  long turnaroundUs = 2000;
  vpr::sim::VirtualRadioOptions options;
  app.add_option("--memory", memoryFile, "Starting memory: a data file or a raw 1024-byte image")
      ->check(CLI::ExistingFile);
  int row = -1;
  auto rowOption = app.add_option("--row", row, "Starting memory: the default image of a model row (0..24)")
                       ->check(CLI::Range(0, static_cast<int>(vpr::ModelCatalogue::rows().size()) - 1));
  rowOption->excludes(app.get_option("--memory"));
  app.add_option(
      "--save", saveFile,
      "Save the memory when the radio stops: a data file for a name ending in .dat, else the raw 1024 bytes");
  app.add_flag("--program-mode", options.programMode, "Start already in programming mode");
  app.add_flag("--shared-code", options.sharedCode, "Identify with the shared code P5390");
  app.add_flag("--paced", options.paced, "Pace every byte at the line rate (11 bits per byte)");
  app.add_option("--baud", options.baud, "Line rate for pacing")->check(CLI::PositiveNumber);
  app.add_option("--turnaround-us", turnaroundUs, "Delay before each answer when paced, in microseconds")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--seed", options.seed, "Seed for noise bytes");
  auto& f = options.faults;
  app.add_flag("--no-answer", f.noAnswer, "Answer nothing at all");
  app.add_option("--stray", f.strayBeforeProgramAck, "Stray bytes before the ACK to PROGRAM")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--wrong-header", wrongHeader, "BLOCK[:TIMES]: answer reads of a block with a wrong header");
  app.add_option("--refuse-write", refuseWrite, "BLOCK[:TIMES]: refuse writes of a block");
  app.add_option("--silent-after", silentAfter, "Answer nothing after this many blocks");
  app.add_option("--hang-up-after", hangUpAfter, "Cut the line after this many blocks");
  app.add_option("--noise", noise, "BLOCK:BYTES: noise before the answer to a block");
  app.add_option("--flood", flood, "BLOCK:MS: flood the line instead of answering a block");
  app.add_option("--truncate", truncate, "Cut the answer to a block read short");
  app.add_option("--wrong-length", wrongLength, "Answer a block read with 16 bytes");
  app.add_option("--nak-final", nakFinal, "End a block read with NAK instead of ACK");
  std::string refuseTest, eventsFile;
  app.add_option("--refuse-test", refuseTest,
                 "CMD[:TIMES]: refuse a test-mode command with NAK (C, S, n, V, an adjustment letter, "
                 "K or K11 for the K command with code 0x11)");
  app.add_option("--silent-after-test", f.silentAfterTestCommands,
                 "Answer nothing after this many test-mode commands")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--events", eventsFile, "Write the test-mode events to this file when the radio stops");
  app.add_option("--corrupt-write", corruptWrite,
                 "Acknowledge writes of a block but store its bytes inverted");
  CLI11_PARSE(app, argc, argv);

  options.turnaround = std::chrono::microseconds(turnaroundUs);
  f.silentAfterBlocks = silentAfter;
  f.hangUpAfterBlocks = hangUpAfter;
  f.truncateBlock = truncate;
  f.wrongLengthBlock = wrongLength;
  f.nakFinalAckBlock = nakFinal;
  f.corruptWriteBlock = corruptWrite;
  if ((!wrongHeader.empty() && !parseBlockCount(wrongHeader, f.wrongHeaderBlock, f.wrongHeaderTimes)) ||
      (!refuseWrite.empty() && !parseBlockCount(refuseWrite, f.refuseWriteBlock, f.refuseWriteTimes)) ||
      (!noise.empty() && !parseBlockCount(noise, f.noiseBeforeBlock, f.noiseBytes)) ||
      (!flood.empty() && !parseBlockCount(flood, f.floodAtBlock, f.floodMs))) {
    std::cerr << "vpr40t-sim: a fault must be given as BLOCK or BLOCK:NUMBER\n";
    return 2;
  }

  // Without a starting memory the radio is unprogrammed: every byte 0xFF.
  Memory memory;
  memory.fill(0xFF);
  if (row >= 0) memory = vpr::RadioData::defaultImage(vpr::ModelCatalogue::modelCodeForRow(row));
  if (!memoryFile.empty() && !loadMemory(memoryFile, memory)) {
    std::cerr << "vpr40t-sim: " << memoryFile << " is neither a 1024-byte image nor a data file\n";
    return 1;
  }

  // Signals are taken by this thread alone, with sigwait, so the radio's thread is never interrupted.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  vpr::sim::TestCommandFault testFault;
  if (!refuseTest.empty()) {
    const auto colon = refuseTest.find(':');
    testFault.command = refuseTest.substr(0, colon);
    int ignored = 0;
    if (testFault.command.empty() ||
        (colon != std::string::npos &&
         !parseBlockCount("0" + refuseTest.substr(colon), ignored, testFault.times))) {
      std::cerr << "vpr40t-sim: --refuse-test takes CMD or CMD:TIMES\n";
      return 2;
    }
  }

  vpr::sim::VirtualRadio radio(memory, options);
  radio.injectTestFault(testFault);
  if (!radio.start()) {
    std::cerr << "vpr40t-sim: " << radio.error() << "\n";
    return 1;
  }
  std::cout << radio.devicePath() << std::endl;

  int signal = 0;
  sigwait(&signals, &signal);
  radio.stop();
  if (!eventsFile.empty()) {
    std::ofstream events(eventsFile, std::ios::trunc);
    for (const std::string& event : radio.testEvents())
      events << event << '\n';
  }
  if (!saveFile.empty()) {
    if (!saveMemory(saveFile, radio.memory())) {
      std::cerr << "vpr40t-sim: cannot save the memory to " << saveFile << "\n";
      return 1;
    }
    std::cerr << "vpr40t-sim: memory saved to " << saveFile << "\n";
  }
  return 0;
}
