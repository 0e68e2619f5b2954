// A failure message keeps its own text and then says which file or port (with its device) it is
// about and the system's reason, so that the user knows what to look at.

#include "RadioOnLine.h"

#include "lang/CLanguageTable.h"
#include "link/RadioTransfer.h"
#include "model/ChannelCsv.h"
#include "model/DataFileFlows.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <cstring>
#include <fstream>
#include <functional>

namespace vpr::test {
namespace {

class FailureContextTest : public ::testing::Test {
protected:
  void SetUp() override { loadLanguage(false); }
  void TearDown() override { unloadLanguage(); }
};

// The one message the action showed.
std::string shownBy(const std::function<void(FakeUserInterface&)>& action) {
  FakeUserInterface ui;
  action(ui);
  return ui.messages.size() == 1 ? ui.messages[0].text
                                 : "(" + std::to_string(ui.messages.size()) + " messages)";
}

TEST_F(FailureContextTest, EveryMessageKeepsItsTextAndNamesItsFileOrPortAndTheReason) {
  const std::string dir = makeTempDir();
  const std::string missingFolder = dir + "/gone/radio.dat";
  const std::string unlisted = dir + "/unlisted.dat";
  {
    auto bytes = DataFile::fileBytes(test::rowImage(0));
    bytes[17] = 0x23; // a model code no catalogue row has
    std::ofstream(unlisted, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  const std::string noSuchFile = std::make_error_code(std::errc::no_such_file_or_directory).message();
  const std::string noPort = dir + "/no-such-port";
  // A radio whose port another program holds.
  RadioOnLine held(patternImage(), radioOptions({}, true));
  CComPort holder;
  holder.SetPortPath(1, held.radio.devicePath());
  ASSERT_TRUE(holder.SetOpen(true));

  struct Case {
    const char* what;
    std::function<void(FakeUserInterface&)> action;
    std::string ownText; // the message as it was, first
    std::string context; // what follows it after a blank line
  };
  const Case cases[] = {
      {"saving where the file cannot be created",
       [&](FakeUserInterface& ui) {
         RadioData data;
         CurrentFile file;
         DataFileFlows(data, file, ui).storeDataFile(missingFolder);
       },
       noSuchFile, "File: " + missingFolder},
      {"opening a file that is not there",
       [&](FakeUserInterface& ui) {
         RadioData data;
         CurrentFile file;
         DataFileFlows(data, file, ui).openDataFileAt(dir + "/absent.dat");
       },
       textOf(10026001), "File: " + dir + "/absent.dat\nReason: " + noSuchFile},
      {"opening a file of a model the program does not list",
       [&](FakeUserInterface& ui) {
         RadioData data;
         CurrentFile file;
         DataFileFlows(data, file, ui).openDataFileAt(unlisted);
       },
       textOf(10026014), "File: " + unlisted},
      {"reading from a port whose device is not there",
       [&](FakeUserInterface& ui) {
         CRadioComm link;
         link.SetPortPath(3, noPort);
         link.SetPortNumber(3);
         RadioImage image = clearedImage();
         EXPECT_EQ(runReadTransfer(link, ui, image), 1);
       },
       textOf(10026002), "Port: COM3 (" + noPort + ")\nReason: " + noSuchFile},
      {"reading from a port another program holds",
       [&](FakeUserInterface& ui) {
         RadioImage image = clearedImage();
         EXPECT_EQ(runReadTransfer(held.link, ui, image), 1);
       },
       textOf(10026002),
       "Port: COM1 (" + held.radio.devicePath() + ")\nReason: " + std::strerror(EBUSY) + "; " +
           textOf(10050103)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(shownBy(c.action), c.ownText + "\n\n" + c.context);
  }
  EXPECT_TRUE(held.radio.received().empty()) << "a held port is left alone";
  EXPECT_TRUE(holder.IsOpen());
}

TEST_F(FailureContextTest, TheChannelImportNamesAProblemOfALineOnce) {
  // One tone cell sets both the receive and the transmit tone: its problem is one line.
  const auto result =
      ChannelCsv::importText(test::rowImage(13), "Location,Frequency,Tone,cToneFreq\n1,462.5625,TSQL,12.3\n",
                             ChannelCsv::Rows::AllOrNothing);
  ASSERT_EQ(result.problems.size(), 1u) << problemsText(result.problems);
  EXPECT_EQ(result.problems[0].line, 2);
}

} // namespace
} // namespace vpr::test
