// A seeded sample of random test-mode sessions over a failing line. VPR_TESTMODE_SESSIONS and
// VPR_TESTMODE_SEED run another count and seed under the sanitizers (the full campaign: 1000);
// bench_linkcampaign --test-mode runs it in a release build.

#include "RadioOnLine.h"

#include "sim/TestModeCampaign.h"

#include <cstdio>
#include <cstdlib>

namespace vpr::test {
namespace {

using TestModeCampaign = LinkTest;

TEST_F(TestModeCampaign, NoValueOutsideAnAdjustmentNoKeyedEndAndTheImageHoldsWhatTheRadioTook) {
  const auto number = [](const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
  };
  sim::TestModeCampaignOptions options;
  options.seed = static_cast<std::uint32_t>(number("VPR_TESTMODE_SEED", 20261209));
  options.sessions = static_cast<int>(number("VPR_TESTMODE_SESSIONS", 50));
  const sim::TestModeCampaignReport report = sim::runTestModeCampaign(options);
  for (const auto& problem : report.problems)
    ADD_FAILURE() << problem;
  std::printf("test-mode campaign: seed %u, %d sessions (%d started), %d requests, %d values taken, %d "
              "adjustments, %d keyings, %d requests tried inside a pump, %d radios unreachable at the end\n",
              options.seed, report.sessions, report.started, report.actions, report.valuesSent,
              report.adjustments, report.keyed, report.reentries, report.unreachableAtEnd);
  EXPECT_EQ(report.sessions, options.sessions);
  // The sample reaches what it is meant to check: adjustments with values, keyings, requests
  // from inside the pump, and every kind of fault.
  EXPECT_GT(report.started, options.sessions * 3 / 5);
  EXPECT_GT(report.adjustments, options.sessions / 5);
  EXPECT_GT(report.valuesSent, options.sessions);
  EXPECT_GT(report.keyed, options.sessions / 10);
  EXPECT_GT(report.reentries, options.sessions * 2);
  EXPECT_EQ(report.faultKinds.size(), 5u);
}

} // namespace
} // namespace vpr::test
