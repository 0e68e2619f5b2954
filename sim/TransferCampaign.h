#pragma once
// A seeded campaign of whole-image transfers against virtual radios that misbehave in random
// ways. Each transfer runs the real read or write operation over a pseudo-terminal and is
// checked against what the protocol promises: the right result and messages, an end within
// the time-outs the fault implies, no partly read image taken over, and after a successful
// write the radio holding the image over 0x000..0x3D7 and its own bytes above.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vpr::sim {

struct CampaignOptions {
  std::uint32_t seed = 1;
  int transfers = 200;
  bool paced = false;
};

struct CampaignReport {
  int transfers = 0;
  int reads = 0;
  int writes = 0;
  int succeeded = 0;
  int failedAsExpected = 0;
  int survivedFloods = 0; // floods that ended while a block was still being retried
  int combined = 0;       // transfers that met recoverable faults besides their main one
  // Violations; each also adds a line to problems.
  int wrongResult = 0;
  int wrongMessages = 0;
  int overTime = 0;
  int partialReadTaken = 0;
  int radioMemoryWrong = 0;
  int portLeftOpen = 0;
  double longestMs = 0;
  double worstBoundUse = 0;              // largest elapsed / bound
  std::map<std::string, int> faultKinds; // transfers that met each kind of fault
  std::vector<std::string> problems;

  bool clean() const { return problems.empty(); }
};

// Runs the campaign. The process-wide text table must be loaded (messages are compared as texts).
CampaignReport runTransferCampaign(const CampaignOptions& options);

} // namespace vpr::sim
