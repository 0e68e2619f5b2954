// A seeded sample of random test-mode sessions over a failing line (the full campaign of 1000
// runs as bench_linkcampaign --test-mode).

#include "RadioOnLine.h"

#include "sim/TestModeCampaign.h"

namespace vpr::test {
namespace {

using TestModeCampaign = LinkTest;

TEST_F(TestModeCampaign, NoValueOutsideAnAdjustmentNoKeyedEndAndTheImageHoldsWhatTheRadioTook) {
  sim::TestModeCampaignOptions options;
  options.seed = 20261209;
  options.sessions = 50;
  const sim::TestModeCampaignReport report = sim::runTestModeCampaign(options);
  for (const auto& problem : report.problems)
    ADD_FAILURE() << problem;
  EXPECT_EQ(report.sessions, 50);
  // The sample reaches what it is meant to check: adjustments with values, keyings, requests
  // from inside the pump, and every kind of fault.
  EXPECT_GT(report.started, 30);
  EXPECT_GT(report.adjustments, 10);
  EXPECT_GT(report.valuesSent, 50);
  EXPECT_GT(report.keyed, 5);
  EXPECT_GT(report.reentries, 100);
  EXPECT_EQ(report.faultKinds.size(), 5u);
}

} // namespace
} // namespace vpr::test
