// vpr40t-cli write and read on several radios at once, run as a process against virtual radios
// on their own pseudo-terminals, some of them faulty, and the job record it keeps.

#include "cli/CliRadioFixture.h"
#include "lang/CLanguageTable.h"
#include "link/CComPort.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include <sys/mount.h>

namespace vpr {
namespace {

namespace fs = std::filesystem;
using test::contains;
using test::jobRecordLines;
using test::linesOf;
using test::rowImage;
using test::staleMemory;

// A message's first line: tables and records put a message on one line.
std::string firstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

// The lines of the output or the record that belong to a port: a table row starts with the port,
// a failure's message below the table with the port and a colon, a record line holds the port as
// its second field.
std::vector<std::string> linesOfPort(const std::string& text, const std::string& port) {
  std::vector<std::string> found;
  for (const std::string& line : linesOf(text))
    if (line.rfind(port + " ", 0) == 0 || line.rfind(port + ": ", 0) == 0 || contains(line, "," + port + ","))
      found.push_back(line);
  return found;
}

class CliFleet : public test::CliRadioFixture {};

TEST_F(CliFleet, EveryGoodRadioGetsTheFileAndEveryFaultyOneIsReportedAndRecordedOnItsOwn) {
  const RadioImage image = rowImage(16);
  const std::string file = dataFile("fleet.dat", image);
  struct Radio {
    const char* what;
    RadioImage memory;
    bool programMode;
    sim::VirtualRadioFaults faults;
    std::string message; // empty: the radio is written
  };
  sim::VirtualRadioFaults silent;
  silent.noAnswer = true;
  sim::VirtualRadioFaults refusing;
  refusing.refuseWriteBlock = 40;
  refusing.refuseWriteTimes = 3;
  sim::VirtualRadioFaults hangingUp; // the cable pulled: after the backup's 128 blocks and 60 written
  hangingUp.hangUpAfterBlocks = 188;
  const std::vector<Radio> table = {
      {"good", staleMemory(image), false, {}, ""},
      {"good, in programming mode", staleMemory(image), true, {}, ""},
      {"unprogrammed", RadioImage{}, true, {}, ""},
      {"no answer", staleMemory(image), false, silent, firstLine(textOf(10026003))},
      {"a refused block", staleMemory(image), true, refusing, firstLine(textOf(10026003))},
      {"hung up mid-write", staleMemory(image), true, hangingUp, firstLine(textOf(10026003))},
      {"another model", rowImage(17), true, {}, firstLine(textOf(10026007))},
  };
  std::vector<std::unique_ptr<sim::VirtualRadio>> radios;
  std::vector<std::string> arguments = {"write", file, "--backup-dir", "backups", "--record", "record.csv"};
  for (Radio radio : table) {
    if (radio.memory == RadioImage{}) radio.memory.fill(0xFF);
    sim::VirtualRadioOptions options;
    options.programMode = radio.programMode;
    options.faults = radio.faults;
    radios.push_back(std::make_unique<sim::VirtualRadio>(radio.memory, options));
    ASSERT_TRUE(radios.back()->start());
    arguments.insert(arguments.end(), {"--port", radios.back()->devicePath()});
  }
  // Ports refused at the start: one that does not exist, one another program holds, and the
  // first radio's named again.
  sim::VirtualRadio heldRadio(staleMemory(image));
  ASSERT_TRUE(heldRadio.start());
  CComPort holder;
  holder.SetPortPath(1, heldRadio.devicePath());
  ASSERT_TRUE(holder.SetOpen(true));
  const std::string missing = "/dev/vpr40t-no-such-port";
  arguments.insert(arguments.end(),
                   {"--port", missing, "--port", heldRadio.devicePath(), "--port", radios[0]->devicePath()});

  const test::CliRun run = cli(arguments);
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  const std::string record = test::readFileBytes(dir / "record.csv");
  EXPECT_EQ(jobRecordLines((dir / "record.csv").string()).size(), table.size() + 3) << record;
  for (std::size_t i = 0; i < table.size(); ++i) {
    SCOPED_TRACE(table[i].what);
    const std::string port = radios[i]->devicePath();
    const sim::Memory memory = radios[i]->memory();
    const std::vector<std::string> rows = linesOfPort(run.out, port);
    const std::vector<std::string> recorded = linesOfPort(record, port);
    if (table[i].message.empty()) {
      EXPECT_TRUE(std::equal(image.begin(), image.begin() + 0x3D8, memory.begin()));
      ASSERT_FALSE(rows.empty()) << run.out;
      EXPECT_TRUE(contains(rows.front(), "done")) << rows.front();
      const auto done = std::find_if(recorded.begin(), recorded.end(),
                                     [](const std::string& line) { return contains(line, ",done,"); });
      ASSERT_NE(done, recorded.end()) << record;
      EXPECT_TRUE(contains(*done, fs::absolute(file).string())) << *done;
    } else {
      EXPECT_FALSE(std::equal(image.begin(), image.begin() + 0x3D8, memory.begin()));
      ASSERT_EQ(rows.size(), 2u) << run.out;
      EXPECT_TRUE(contains(rows[0], " failed")) << rows[0];
      EXPECT_TRUE(contains(rows[1], table[i].message)) << rows[1];
      ASSERT_EQ(recorded.size(), 1u) << record;
      EXPECT_TRUE(contains(recorded.front(), "failed: " + table[i].message)) << recorded.front();
    }
  }
  // A radio with a backup names it in the table, and the backup holds its memory from before.
  const std::vector<std::string> firstRows = linesOfPort(run.out, radios[0]->devicePath());
  ASSERT_EQ(firstRows.size(), 3u) << run.out;
  const auto backupAt = firstRows[0].find(" backups/");
  ASSERT_NE(backupAt, std::string::npos) << firstRows[0];
  const RadioImage backup = test::fileImage((dir / firstRows[0].substr(backupAt + 1)).string());
  EXPECT_EQ(backup, staleMemory(image));
  EXPECT_TRUE(contains(firstRows[2], firstLine(textOf(10068001)))) << firstRows[2];

  const auto missingRows = linesOfPort(run.out, missing);
  ASSERT_EQ(missingRows.size(), 2u) << run.out;
  EXPECT_TRUE(contains(missingRows[1], "No such file or directory")) << missingRows[1];
  const auto heldRows = linesOfPort(run.out, heldRadio.devicePath());
  ASSERT_EQ(heldRows.size(), 2u) << run.out;
  EXPECT_TRUE(contains(heldRows[1], firstLine(textOf(10050103)))) << heldRows[1];
  EXPECT_TRUE(heldRadio.received().empty());
  EXPECT_TRUE(contains(run.out, "3 of 10 radios done.")) << run.out;
}

TEST_F(CliFleet, ReadPutsEachRadioInAFileOfItsOwnAndJsonGivesTheResults) {
  std::vector<std::unique_ptr<sim::VirtualRadio>> radios;
  for (const int row : {16, 2}) {
    radios.push_back(std::make_unique<sim::VirtualRadio>(rowImage(row)));
    ASSERT_TRUE(radios.back()->start());
  }
  const test::CliRun run = cli({"read", "--port", radios[0]->devicePath(), "--port", radios[1]->devicePath(),
                                "-o", "images", "--json", "--no-backup", "--record", "record.csv"});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir / "images"))
    files.push_back(entry.path());
  ASSERT_EQ(files.size(), 2u);
  for (const auto& radio : radios) {
    std::string name = radio->devicePath().substr(1);
    std::replace(name.begin(), name.end(), '/', '_');
    const auto file = std::find_if(files.begin(), files.end(), [&](const fs::path& path) {
      return path.filename().string().rfind(name + "_", 0) == 0;
    });
    ASSERT_NE(file, files.end()) << name;
    const RadioImage read = test::fileImage(file->string());
    EXPECT_EQ(read, radio->memory());
    EXPECT_TRUE(contains(run.out, "{\"port\": \"" + radio->devicePath() + "\"")) << run.out;
    EXPECT_TRUE(contains(run.out, "\"file\": \"" + file->string() + "\"")) << run.out;
  }
  EXPECT_EQ(run.out.front(), '[');
  EXPECT_EQ(jobRecordLines((dir / "record.csv").string()).size(), 2u);
}

TEST_F(CliFleet, ASingleWriteKeepsItsOutputAndAddsALineToTheDataFoldersRecord) {
  const RadioImage image = rowImage(16);
  sim::VirtualRadio radio(staleMemory(image));
  ASSERT_TRUE(radio.start());
  const std::string file = dataFile("one.dat", image);
  const test::CliRun run = cli({"write", "--port", radio.devicePath(), file, "--no-backup"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, textOf(10065004) + "\n");
  const auto record = jobRecordLines((test::backupFolderOf(dir).parent_path() / "Job record.csv").string());
  ASSERT_EQ(record.size(), 1u);
  EXPECT_TRUE(contains(record[0], "," + radio.devicePath() + ",HX-") && contains(record[0], ",done,"))
      << record[0];
}

// A disk that is full: nothing starts for a radio whose record or backup cannot be stored.
TEST_F(CliFleet, AFullDiskForTheRecordOrTheBackupsStopsTheWriteBeforeItStarts) {
  const fs::path full = dir / "full";
  fs::create_directories(full);
  if (mount("tmpfs", full.c_str(), "tmpfs", 0, "size=16k") != 0) GTEST_SKIP() << "no tmpfs to fill";
  struct Unmount {
    fs::path path;
    ~Unmount() { umount(path.c_str()); }
  } unmount{full};
  std::ofstream(full / "filler", std::ios::binary) << std::string(64 * 1024, 'x');
  const RadioImage image = rowImage(16);
  const std::string file = dataFile("fleet.dat", image);
  struct Case {
    std::vector<std::string> where;
    std::string why;
  };
  const std::vector<Case> cases = {
      {{"--record", (full / "record.csv").string()}, "No space left on device"},
      {{"--backup-dir", (full / "backups").string(), "--record", "record.csv"}, "No space left on device"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where.front());
    sim::VirtualRadio one(staleMemory(image));
    sim::VirtualRadio two(staleMemory(image));
    ASSERT_TRUE(one.start() && two.start());
    std::vector<std::string> arguments = {"write",  "--port",         one.devicePath(),
                                          "--port", two.devicePath(), file};
    arguments.insert(arguments.end(), c.where.begin(), c.where.end());
    const test::CliRun run = cli(arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(linesOfPort(run.out, one.devicePath()).size(), 2u) << run.out;
    EXPECT_TRUE(contains(run.out, c.why)) << run.out;
    EXPECT_EQ(one.stats().blocksWritten + two.stats().blocksWritten, 0);
    EXPECT_EQ(one.memory(), staleMemory(image));
  }
}

} // namespace
} // namespace vpr
