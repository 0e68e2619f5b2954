#include "model/DisplayText.h"

#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

namespace vpr {
namespace {

using test::idText;

class DisplayTextTest : public test::LanguageTest {
protected:
  void SetUp() override {
    LanguageTest::SetUp();
    data.resetToModel(ModelCatalogue::modelCodeForRow(2)); // HX-4470/4470M, 16 channels
  }
  void enter(int n, std::string text, FrequencyField which) { data.setChannelFrequency(n, text, which); }
  FieldText cell(int n, ChannelField field) const { return DisplayText::channelCell(data, n, field); }

  RadioData data;
};

TEST_F(DisplayTextTest, AnEmptyChannelShowsOnlyItsNumber) {
  EXPECT_EQ(cell(5, ChannelField::Number), (FieldText{"5", true}));
  for (int field = 1; field < kChannelFieldCount; ++field) {
    const FieldText text = cell(5, static_cast<ChannelField>(field));
    EXPECT_EQ(text.text, "");
    EXPECT_EQ(text.printed(), "--------------");
  }
}

TEST_F(DisplayTextTest, ANewChannelShowsItsFrequenciesTonesOffAndOptionsSet) {
  enter(1, "146.52", FrequencyField::Receive);
  EXPECT_EQ(cell(1, ChannelField::RxFrequency).printed(), "146.52000");
  EXPECT_EQ(cell(1, ChannelField::TxFrequency).printed(), "146.52000");
  EXPECT_EQ(cell(1, ChannelField::RxTone).printed(), idText(10029001));
  EXPECT_EQ(cell(1, ChannelField::TxTone).printed(), idText(10029001));
  EXPECT_EQ(cell(1, ChannelField::OptionA).printed(), idText(10029012));
  EXPECT_EQ(cell(1, ChannelField::OptionB).printed(), idText(10029012));
}

TEST_F(DisplayTextTest, AReceiveOnlyChannelPrintsDashesForItsTransmitFields) {
  enter(1, "146.52", FrequencyField::Receive);
  enter(1, "", FrequencyField::Transmit);
  data.setChannelTone(1, ToneField::Receive, "D023N", false);
  EXPECT_EQ(cell(1, ChannelField::TxFrequency), (FieldText{"", false}));
  EXPECT_EQ(cell(1, ChannelField::TxTone).printed(), "--------------");
  EXPECT_EQ(cell(1, ChannelField::TxTone).text, idText(10029001)); // the grid still shows the tone
  EXPECT_EQ(cell(1, ChannelField::OptionA).printed(), "--------------");
  EXPECT_EQ(cell(1, ChannelField::RxTone).printed(), "D023N");
  EXPECT_EQ(cell(1, ChannelField::OptionB).printed(), idText(10029012));
}

TEST_F(DisplayTextTest, ClipboardRowsAreTabSeparatedWithoutAFinalLineEnd) {
  const std::string header = idText(10030028) + "\t" + idText(10030007) + "\t" + idText(10030008) + "\t" +
                             idText(10030010) + "\t" + idText(10030009) + "\t" + idText(10030011) + "\t" +
                             idText(10030012) + "\n";
  EXPECT_EQ(DisplayText::channelRowsText(data, 5, 5, true), header + "5\t\t\t\t\t\t");

  enter(6, "150", FrequencyField::Receive);
  const std::string off = idText(10029001);
  const std::string set = idText(10029012);
  EXPECT_EQ(DisplayText::channelRowsText(data, 5, 6, false),
            "5\t\t\t\t\t\t\n6\t150.00000\t150.00000\t" + off + "\t" + off + "\t" + set + "\t" + set);
}

TEST_F(DisplayTextTest, TestFrequencyCellsAreEmptyWithoutAFrequency) {
  EXPECT_EQ(DisplayText::testFrequencyCell(data.testFrequency(1), FrequencyField::Receive).text, "162.10000");
  EXPECT_EQ(DisplayText::testFrequencyCell(data.testFrequency(9), FrequencyField::Transmit),
            (FieldText{"", true}));
}

TEST_F(DisplayTextTest, TheTimeOutTimerShowsOffSecondsOrNothing) {
  EXPECT_EQ(DisplayText::timeOutTimerText(0), (FieldText{idText(10029010), true}));
  EXPECT_EQ(DisplayText::timeOutTimerText(1).text, "30");
  EXPECT_EQ(DisplayText::timeOutTimerText(10).text, "300");
  EXPECT_EQ(DisplayText::timeOutTimerText(11), (FieldText{"", false}));
  EXPECT_EQ(DisplayText::timeOutTimerText(255).printed(), "--------------");
}

TEST_F(DisplayTextTest, FeatureValuesComeFromTheirChoiceTables) {
  EXPECT_EQ(DisplayText::squelchText(9).text, "9");
  EXPECT_EQ(DisplayText::squelchText(10), (FieldText{"", false}));
  EXPECT_EQ(DisplayText::beepToneText(1).text, idText(10029011));
  EXPECT_EQ(DisplayText::beepToneText(0).text, idText(10029012));
  EXPECT_EQ(DisplayText::batterySaverText(1).text, idText(10029013));
  EXPECT_EQ(DisplayText::batterySaverText(0).text, idText(10029014));
  EXPECT_EQ(DisplayText::wideNarrowText(1, 0).text, idText(10031051));
  EXPECT_EQ(DisplayText::wideNarrowText(0, 1).text, idText(10031050));
  EXPECT_EQ(DisplayText::wideNarrowText(1, 1), (FieldText{"", false}));
  EXPECT_EQ(DisplayText::moniKeyText(0).text, idText(10029010));
  EXPECT_EQ(DisplayText::moniKeyText(3).text, idText(10101503));
  EXPECT_EQ(DisplayText::moniKeyText(4).printed(), "--------------");
}

TEST_F(DisplayTextTest, TheFeaturesOfADefaultImage) {
  EXPECT_EQ(DisplayText::featureText(data, FeatureItem::TimeOutTimer).text, "180");
  EXPECT_EQ(DisplayText::featureText(data, FeatureItem::SquelchLevel).text, "9");
  EXPECT_EQ(DisplayText::featureText(data, FeatureItem::BeepTone).text, idText(10029011));
  EXPECT_EQ(DisplayText::featureText(data, FeatureItem::BatterySaver).text, idText(10029013));
  EXPECT_EQ(DisplayText::featureText(data, FeatureItem::WideNarrow).text, idText(10031050));
  EXPECT_EQ(DisplayText::featureLabelId(FeatureItem::WideNarrow), 10041005);
}

} // namespace
} // namespace vpr
