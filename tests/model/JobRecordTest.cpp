// The job record: CSV lines that survive commas and quotes, a header on a new file, and lines
// from many threads that never mix.

#include "model/JobRecord.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <thread>

namespace vpr {
namespace {

TEST(JobRecordTest, LinesFromManyThreadsArriveWholeUnderOneHeader) {
  const std::string path = (std::filesystem::path(test::makeTempDir()) / "sub" / "record.csv").string();
  JobRecord record(path);
  std::error_code error;
  ASSERT_TRUE(record.check(error)) << error.message();
  constexpr int kThreads = 8;
  constexpr int kLines = 100;
  auto entryOf = [](int thread, int line) {
    JobEntry entry;
    entry.time = 1700000000;
    entry.port = "/dev/ttyUSB" + std::to_string(thread);
    entry.model = "HX-4470/4470M";
    entry.band = "VHF 1:150-174 MHz";
    entry.identity = "P4410 01 00 00";
    entry.file = "C:\\fleet \"A\", 2026.dat";
    entry.result = "failed: line " + std::to_string(line) + std::string(200, '.');
    return entry;
  };
  std::set<std::string> expected;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    for (int n = 0; n < kLines; ++n)
      expected.insert(JobRecord::lineOf(entryOf(t, n)));
    threads.emplace_back([&, t] {
      std::error_code appendError;
      for (int n = 0; n < kLines; ++n)
        EXPECT_TRUE(record.append(entryOf(t, n), appendError)) << appendError.message();
    });
  }
  for (std::thread& thread : threads)
    thread.join();

  std::istringstream text(test::readFileBytes(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);)
    lines.push_back(line.substr(0, line.size() - 1)); // without its CR
  ASSERT_EQ(lines.size(), 1u + kThreads * kLines);
  EXPECT_EQ(lines.front(), JobRecord::kHeader);
  EXPECT_EQ(std::set<std::string>(lines.begin() + 1, lines.end()), expected);
  EXPECT_NE(lines[1].find(",\"C:\\fleet \"\"A\"\", 2026.dat\","), std::string::npos) << lines[1];
}

} // namespace
} // namespace vpr
