// Several radios at once through the core: the cancel flag, and the progress of each port.
// What a batch does to good and faulty radios is tested end to end through vpr40t-cli.

#include "link/RadioFleet.h"
#include "link/RadioOnLine.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <set>

namespace vpr::test {
namespace {

using RadioFleetTest = LinkTest;

TEST_F(RadioFleetTest, TheCancelFlagStopsEveryPortAndNamesTheRadiosLeftHalfWritten) {
  const RadioImage image = patternImage("P4410", 0x01, 1);
  std::vector<std::unique_ptr<sim::VirtualRadio>> radios;
  std::vector<FleetPort> ports;
  for (int i = 0; i < 3; ++i) {
    sim::VirtualRadioOptions options = radioOptions({}, true);
    options.paced = true;
    radios.push_back(std::make_unique<sim::VirtualRadio>(patternImage("P4410", 0x01, 2), options));
    ASSERT_TRUE(radios.back()->start());
    ports.push_back({"radio " + std::to_string(i), radios.back()->devicePath()});
  }
  std::atomic<bool> cancel = false;
  std::mutex lock;
  std::set<std::size_t> reporting;
  FleetOptions options;
  options.cancel = &cancel;
  options.progress = [&](std::size_t port, int done, int, const std::string&) {
    const std::lock_guard<std::mutex> guard(lock);
    reporting.insert(port);
    if (port == 0 && done == 10) cancel = true;
  };
  const std::vector<FleetPortResult> results = writeFleet(ports, image, WriteSafety{}, options);

  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(reporting, (std::set<std::size_t>{0, 1, 2}));
  for (std::size_t i = 0; i < results.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(results[i].status, 1);
    EXPECT_TRUE(results[i].cancelled);
    ASSERT_FALSE(results[i].messages.empty());
    EXPECT_EQ(results[i].messages.front(), "ID:10068002");
    const int written = radios[i]->stats().blocksWritten;
    EXPECT_LT(written, 123);
    EXPECT_EQ(results[i].write.blocksAcknowledged, written);
    // A radio that took blocks is named as half-written.
    const bool named = results[i].messageLine().find("ID:10065007") != std::string::npos;
    EXPECT_EQ(named, written > 0) << results[i].messageLine();
  }
}

} // namespace
} // namespace vpr::test
