// The radio commands of vpr40t-cli, run as a process against a virtual radio.

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

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>

namespace vpr {
namespace {

namespace fs = std::filesystem;
using test::contains;
using test::rowImage;

class CliRadio : public test::CliRadioFixture {
protected:
  static sim::VirtualRadioOptions programMode(bool on) {
    sim::VirtualRadioOptions options;
    options.programMode = on;
    return options;
  }
};

TEST_F(CliRadio, ReadWritesTheRadiosImageAsADataFile) {
  const RadioImage memory = rowImage(16);
  sim::VirtualRadio radio(memory, programMode(false));
  ASSERT_TRUE(radio.start());
  const test::CliRun run = cli({"read", "--port", radio.devicePath(), "-o", "radio.dat"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto expected = DataFile::fileBytes(memory);
  EXPECT_EQ(test::readFileBytes(dir / "radio.dat"), std::string(expected.begin(), expected.end()));
  EXPECT_TRUE(contains(run.err, "128 / 128")) << run.err;
}

TEST_F(CliRadio, WriteThenReadRoundTripsAllButTheBytesAWriteNeverSends) {
  const RadioImage original = rowImage(16);
  RadioImage edited = original;
  for (std::size_t i = 0x10; i < 0x3D0; ++i)
    edited[i] = static_cast<std::uint8_t>(i * 31);
  for (std::size_t i = 0x3D8; i < 0x400; ++i)
    edited[i] = 0x11;
  sim::VirtualRadio radio(original, programMode(false));
  ASSERT_TRUE(radio.start());
  const std::string file = dataFile("edited.dat", edited);

  const test::CliRun write = cli({"write", "--port", radio.devicePath(), file});
  ASSERT_EQ(write.status, 0) << write.err;
  ASSERT_EQ(cli({"read", "--port", radio.devicePath(), "-o", "back.dat"}).status, 0);
  const RadioImage back = test::fileImage((dir / "back.dat").string());
  EXPECT_TRUE(std::equal(back.begin(), back.begin() + 0x3D8, edited.begin()));
  EXPECT_TRUE(std::equal(back.begin() + 0x3D8, back.end(), original.begin() + 0x3D8));
}

TEST_F(CliRadio, AnotherModelIsWrittenOnlyWithYesWhenNobodyCanBeAsked) {
  const RadioImage radioMemory = rowImage(16);
  sim::VirtualRadio radio(radioMemory, programMode(true));
  ASSERT_TRUE(radio.start());
  const std::string file = dataFile("other.dat", rowImage(17));

  const test::CliRun refused = cli({"write", "--port", radio.devicePath(), file}, "ok\n");
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(contains(refused.err, textOf(10026007))) << refused.err;
  EXPECT_EQ(radio.memory(), radioMemory);
  EXPECT_EQ(radio.stats().blocksWritten, 0);

  const test::CliRun forced = cli({"write", "--port", radio.devicePath(), file, "--yes"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(radio.stats().blocksWritten, 123);

  // The progress bar starts after the question, never as an empty bar in front of it.
  const std::string emptyBar = "[" + std::string(32, '-') + "]";
  EXPECT_EQ(refused.err.find(emptyBar), std::string::npos) << refused.err;
  ASSERT_NE(forced.err.find(emptyBar), std::string::npos) << forced.err;
  EXPECT_LT(forced.err.find(textOf(10026007)), forced.err.find(emptyBar)) << forced.err;
}

TEST_F(CliRadio, TheModelQuestionIsAskedOnATerminal) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1) for a terminal";
  const RadioImage radioMemory = rowImage(16);
  sim::VirtualRadio radio(radioMemory, programMode(true));
  ASSERT_TRUE(radio.start());
  const std::string file = dataFile("other.dat", rowImage(17));
  // script(1) gives the tool a terminal and types the answer once the question is out.
  auto onTerminal = [&](const std::string& answer) {
    const std::string tool = "HOME=" + test::shellQuoted(dir.string()) + " " +
                             test::shellQuoted(test::binaryPath("cli/vpr40t-cli")) + " write --port " +
                             test::shellQuoted(radio.devicePath()) + " " + test::shellQuoted(file);
    const std::string command = "(sleep 1; echo " + answer + ") | script -qec " + test::shellQuoted(tool) +
                                " /dev/null >" + test::shellQuoted((dir / "terminal.txt").string()) + " 2>&1";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(onTerminal("cancel"), 1);
  EXPECT_EQ(radio.stats().blocksWritten, 0);
  EXPECT_TRUE(contains(test::readFileBytes(dir / "terminal.txt"), "(OK/Cancel)"));
  EXPECT_EQ(onTerminal("ok"), 0);
  EXPECT_EQ(radio.stats().blocksWritten, 123);
}

TEST_F(CliRadio, DetectNamesTheRadioWithoutReadingItsImage) {
  sim::VirtualRadio radio(rowImage(16), programMode(false));
  ASSERT_TRUE(radio.start());
  const test::CliRun run = cli({"detect", "--port", radio.devicePath()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(contains(run.out, "HX-5470/5470M")) << run.out;
  EXPECT_TRUE(contains(run.out, "UHF 6")) << run.out;
  EXPECT_TRUE(contains(run.out, "P5470")) << run.out;
  EXPECT_EQ(radio.stats().blocksRead, 0);
}

TEST_F(CliRadio, DetectReadsTheRealCodeBehindTheSharedOne) {
  RadioImage memory = rowImage(0);
  const ModelCode p4460 = {0x00, 0x00, 0x20, '0', '6', '4', '4', 'P'};
  writeModelCode(memory, p4460);
  sim::VirtualRadioOptions options = programMode(true);
  options.sharedCode = true;
  sim::VirtualRadio radio(memory, options);
  ASSERT_TRUE(radio.start());
  const test::CliRun run = cli({"detect", "--port", radio.devicePath()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(contains(run.out, "P4460")) << run.out;
  EXPECT_EQ(radio.stats().blocksRead, 1);
}

TEST_F(CliRadio, AReadThatFailsNamesTheCauseAndLeavesNoFile) {
  sim::VirtualRadio held(rowImage(16), programMode(true));
  sim::VirtualRadioOptions fallingSilent = programMode(true);
  fallingSilent.faults.silentAfterBlocks = 64;
  sim::VirtualRadio silent(rowImage(16), fallingSilent);
  ASSERT_TRUE(held.start() && silent.start());
  CComPort holder;
  holder.SetPortPath(1, held.devicePath());
  ASSERT_TRUE(holder.SetOpen(true));
  struct Case {
    std::string port;
    std::vector<std::string> said;
  };
  const Case cases[] = {
      {held.devicePath(), {textOf(10026002), textOf(10050103)}},
      {"/dev/vpr40t-no-such-port",
       {textOf(10026002), "Port: COM1 (/dev/vpr40t-no-such-port)\nReason: No such file or directory"}},
      {silent.devicePath(), {textOf(10026003)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port);
    const test::CliRun run = cli({"read", "--port", c.port, "-o", "radio.dat"});
    EXPECT_EQ(run.status, 1);
    for (const std::string& part : c.said)
      EXPECT_TRUE(contains(run.err, part)) << run.err;
    EXPECT_FALSE(fs::exists(dir / "radio.dat"));
  }
  EXPECT_TRUE(held.received().empty()) << "a held port is never opened";
}

} // namespace
} // namespace vpr
