// A seeded sample of randomly faulted transfers (the full campaign runs as a benchmark program).

#include "RadioOnLine.h"

#include "sim/TransferCampaign.h"

namespace vpr::test {
namespace {

using TransferCampaign = LinkTest;

TEST_F(TransferCampaign, FaultedTransfersEndInTimeWithTheRightMessagesAndNoPartialImage) {
  sim::CampaignOptions options;
  options.seed = 20261208;
  options.transfers = 16;
  const sim::CampaignReport report = sim::runTransferCampaign(options);
  for (const auto& problem : report.problems)
    ADD_FAILURE() << problem;
  EXPECT_EQ(report.transfers, 16);
  EXPECT_EQ(report.succeeded + report.failedAsExpected, 16);
  // The sample exercises both directions and several kinds of fault.
  EXPECT_GT(report.reads, 0);
  EXPECT_GT(report.writes, 0);
  EXPECT_GE(report.faultKinds.size(), 6u);
  EXPECT_GT(report.combined, 0);
}

} // namespace
} // namespace vpr::test
