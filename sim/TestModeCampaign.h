#pragma once
// A seeded campaign of whole test-mode sessions against the virtual radio: random channels,
// signalling, keying, adjustments with bursts of values, Apply, leaving and quitting at random
// moments, with the line failing in random ways (commands refused or unanswered, a radio that
// stops answering, a line that hangs up) and the user answering Retry or Cancel at random. The
// user also tries to act from inside every pumped window message, as a held key or a click in
// the middle of an exchange does.
//
// After each session it checks what the radio must never see and what the image must hold:
// no adjustment value outside an adjustment, no request taken while an exchange runs, the
// transmitter unkeyed and no adjustment open at the end (unless the radio could no longer be
// reached then), the image holding the radio's value of every adjustment item, and a value
// moved but not applied taken back when its adjustment was left.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vpr::sim {

struct TestModeCampaignOptions {
  std::uint32_t seed = 1;
  int sessions = 50;
  bool paced = false;
};

struct TestModeCampaignReport {
  int sessions = 0;
  int started = 0;          // sessions whose start sequence succeeded
  int actions = 0;          // user requests made between exchanges
  int reentries = 0;        // requests tried from inside a pumped message (all must be refused)
  int valuesSent = 0;       // adjustment values the radio took
  int keyed = 0;            // sessions in which the transmitter was keyed
  int adjustments = 0;      // adjustments opened
  int unreachableAtEnd = 0; // sessions whose radio stopped answering or hung up before the end
  std::map<std::string, int> faultKinds;
  // Violations; each also adds a line to problems.
  int valuesOutsideAdjustment = 0;
  int reentriesTaken = 0;
  int leftKeyed = 0;
  int leftAdjusting = 0;
  int imageDiffers = 0;
  int notRestored = 0;
  std::vector<std::string> problems;

  bool clean() const { return problems.empty(); }
};

// Runs the campaign. The process-wide text table must be loaded.
TestModeCampaignReport runTestModeCampaign(const TestModeCampaignOptions& options);

} // namespace vpr::sim
