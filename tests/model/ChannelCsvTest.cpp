// Channel lists as CSV: our own columns round trip, lists from other tools arrive as the channels
// a user would type into the grid, and rows that cannot be channels are named by line.

#include "model/ChannelCsv.h"
#include "model/ModelCatalogue.h"
#include "model/ModelTestSupport.h"
#include "model/RadioData.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace vpr::test {
namespace {

std::string fixture(const std::string& name) {
  return readFileBytes(sourcePath("tests/model/fixtures/" + name));
}

class ChannelCsvTest : public LanguageTest {
protected:
  // Starts from the default image of a model row with three channels already in it, which any
  // import replaces.
  void useRow(int row) {
    data.transferImage = test::rowImage(row);
    data.adoptTransferImage();
    expected = data;
    for (int n = 1; n <= 3; ++n) {
      std::string rx = NumberText::formatFixed(data.bandLimits().lower + n, 3);
      data.setChannelFrequency(n, rx, FrequencyField::Receive);
    }
  }
  // The grid, as a user would fill in channel n: receive, transmit (empty: receive-only), tones
  // picked from the list.
  void type(int n, std::string rx, std::string tx, const std::string& rxTone, const std::string& txTone) {
    expected.setChannelFrequency(n, rx, FrequencyField::Receive);
    expected.setChannelFrequency(n, tx, FrequencyField::Transmit);
    expected.setChannelTone(n, ToneField::Receive, rxTone, false);
    expected.setChannelTone(n, ToneField::Transmit, txTone, false);
  }
  ChannelCsv::Result import(const std::string& text, ChannelCsv::Rows rows = ChannelCsv::Rows::AllOrNothing) {
    return ChannelCsv::importText(data.editImage, text, rows);
  }
  RadioData data;
  RadioData expected;
};

TEST_F(ChannelCsvTest, SimplexAndRepeatersWithOffsetAndToneArriveAsTypedInTheGrid) {
  useRow(3); // HX-4470/4470M, VHF 2:136-150 MHz, 16 channels
  const auto result = import(fixture("simplex-and-repeaters.csv"));
  ASSERT_TRUE(result.image) << problemsText(result.problems);
  type(1, "146.520", "146.520", "", "");
  type(2, "146.940", "146.340", "", "100.0");      // minus offset, encode tone only
  type(3, "147.255", "147.855", "103.5", "103.5"); // plus offset, tone squelch
  EXPECT_EQ(*result.image, expected.editImage);
  EXPECT_EQ(result.channelsStored, 3);
}

TEST_F(ChannelCsvTest, DcsWithReversePolarityAndSplitArriveAsTypedInTheGrid) {
  useRow(13); // HX-5470/5470M, UHF 1:450-470 MHz; the fixture has a byte-order mark and CR LF
  const auto result = import(fixture("dcs-reverse-polarity.csv"));
  ASSERT_TRUE(result.image) << problemsText(result.problems);
  type(1, "462.5625", "462.5625", "D023I", "D023N"); // NR: transmit normal, receive reversed
  type(2, "462.550", "467.550", "D754N", "D754I");
  type(3, "462.675", "467.675", "", "");
  EXPECT_EQ(*result.image, expected.editImage);
}

TEST_F(ChannelCsvTest, AListOfNarrowRowsSetsTheRadioToNarrow) {
  useRow(13); // UHF 1:450-470 MHz, wide and narrow allowed, wide by default
  const auto result = import(fixture("narrow-fm.csv"));
  ASSERT_TRUE(result.image) << problemsText(result.problems);
  expected.applyNarrowSetting(1);
  type(1, "451.0125", "451.0125", "", "");
  type(2, "453.500", "458.500", "", "88.5");
  type(3, "456.000", "", "", "");
  expected.applyNarrowSetting(1);
  EXPECT_EQ(*result.image, expected.editImage);
  RadioData after;
  after.transferImage = *result.image;
  after.adoptTransferImage();
  EXPECT_EQ(after.narrowSetting(), 1);
}

TEST_F(ChannelCsvTest, OurOwnColumnsComeBackAsTheSameChannels) {
  useRow(13);
  std::string tx = "457.000";
  data.setChannelFrequency(2, tx, FrequencyField::Transmit);
  data.setChannelTone(2, ToneField::Receive, "D023I", false);
  data.setChannelOption(2, 0, 0);
  std::string none;
  data.setChannelFrequency(3, none, FrequencyField::Transmit);
  const std::string csv = ChannelCsv::exportChannels(data.editImage);
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "Channel,RxFrequency,TxFrequency,RxTone,TxTone,OptionA,OptionB");
  const auto result =
      ChannelCsv::importText(RadioData::defaultImage(data.modelCode()), csv, ChannelCsv::Rows::AllOrNothing);
  ASSERT_TRUE(result.image) << problemsText(result.problems);
  EXPECT_EQ(*result.image, data.editImage);
}

TEST_F(ChannelCsvTest, RowsThatCannotBeChannelsAreListedByLineAndNothingIsTaken) {
  useRow(2); // 16 channels, VHF 1:150-174 MHz
  const std::string csv =
      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode\n"
      "1,OK,151.000000,,0,,88.5,88.5,023,NN,FM\n"
      "2,HIGH,446.000000,,0,,88.5,88.5,023,NN,FM\n"
      "3,AM,151.100000,,0,,88.5,88.5,023,NN,AM\n"
      "4,MIX,151.200000,,0,,88.5,88.5,023,NN,NFM\n"
      "5,CROSS,151.300000,,0,Cross,88.5,88.5,023,NN,FM\n"
      "6,ODD,151.400000,,0,Tone,12.0,88.5,023,NN,FM\n"
      "7,OK2,152.000000,,0,,88.5,88.5,023,NN,FM\n";
  const auto strict = import(csv);
  EXPECT_FALSE(strict.image);
  EXPECT_TRUE(strict.rowsOnly);
  std::vector<std::pair<int, std::string>> got;
  for (const auto& p : strict.problems)
    got.emplace_back(p.line, p.reason);
  const std::vector<std::pair<int, std::string>> want = {{3, idText(10066016)},
                                                         {4, idText(10066041)},
                                                         {5, idText(10066042)},
                                                         {6, idText(10066040)},
                                                         {7, idText(10066017)}};
  EXPECT_EQ(got, want);

  const auto lenient = import(csv, ChannelCsv::Rows::SkipInvalid);
  ASSERT_TRUE(lenient.image);
  EXPECT_EQ(lenient.channelsStored, 2);
  type(1, "151.000", "151.000", "", "");
  type(2, "152.000", "152.000", "", "");
  EXPECT_EQ(*lenient.image, expected.editImage);
}

TEST_F(ChannelCsvTest, MoreRowsThanChannelsAreNamed) {
  useRow(0); // two channels
  const auto result = import("Location,Frequency\n1,151\n2,152\n3,153\n");
  EXPECT_FALSE(result.image);
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_EQ(result.problems[0].line, 4);
  EXPECT_EQ(result.problems[0].reason, idText(10066044));
}

TEST_F(ChannelCsvTest, BrokenFilesGiveAReasonAndNoImage) {
  useRow(2);
  const struct {
    std::string input;
    int line;
    int reason;
  } cases[] = {
      {"", 0, 10066035},
      {"\r\n\r\n", 0, 10066035},
      {std::string("Location,Frequency\n1,\0\n", 23), 2, 10066003},
      {"Name,Comment\nx,y\n", 1, 10066036},
      {"Location,Frequency\n1,\"151.000\n", 2, 10066038},
      {"Location,Frequency\n1,151,extra\n", 2, 10066037},
      {std::string(ChannelCsv::kMaxFileSize + 1, ','), 0, 10066002},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input.substr(0, 40));
    const auto result = import(c.input);
    EXPECT_FALSE(result.image);
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_EQ(result.problems[0].line, c.line);
    EXPECT_EQ(result.problems[0].reason, idText(c.reason));
  }
}

TEST_F(ChannelCsvTest, QuotedFieldsMayHoldCommasQuotesAndLineEnds) {
  useRow(2);
  const auto result = import("Location,Name,Frequency,Comment\r\n"
                             "1,\"A, B\",151.000,\"two\r\nlines\"\r\n"
                             "2,\"say \"\"hi\"\"\",152.000,\r\n");
  ASSERT_TRUE(result.image) << problemsText(result.problems);
  type(1, "151.000", "151.000", "", "");
  type(2, "152.000", "152.000", "", "");
  EXPECT_EQ(*result.image, expected.editImage);
}

} // namespace
} // namespace vpr::test
