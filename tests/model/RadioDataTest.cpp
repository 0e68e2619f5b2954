#include "model/RadioData.h"

#include "model/DisplayText.h"
#include "support/TestImages.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace vpr {
namespace {

using test::bytesAt;

constexpr int kRowHx4470Vhf1 = 2;  // 16 channels, VHF 150..174
constexpr int kRowHx4470Vhf3 = 4;  // only wide
constexpr int kRowHx4410Vhf1 = 0;  // 2 channels
constexpr int kRowHx5470Uhf6 = 16; // only narrow

class RadioDataTest : public test::SeparatorTest {
protected:
  void SetUp() override {
    SeparatorTest::SetUp();
    data.resetToModel(ModelCatalogue::modelCodeForRow(kRowHx4470Vhf1));
  }

  // Enters a frequency written with "." and returns the result.
  EntryResult enter(int n, std::string text, FrequencyField which) {
    text = local(text);
    return data.setChannelFrequency(n, text, which);
  }
  std::string rx(int n) const { return DisplayText::channelCell(data, n, ChannelField::RxFrequency).text; }
  std::string tx(int n) const { return DisplayText::channelCell(data, n, ChannelField::TxFrequency).text; }
  std::vector<std::uint8_t> channelBytes(int n) const {
    return bytesAt(data.editImage, layout::channelOffset(n), 16);
  }

  RadioData data;
};

TEST_P(RadioDataTest, AReceiveEntryIntoAnEmptyChannelCreatesIt) {
  data.applyNarrowSetting(1);
  EXPECT_EQ(enter(3, "155.5", FrequencyField::Receive), EntryResult::InBand);
  const auto record = data.channelRecord(3);
  ASSERT_TRUE(record);
  EXPECT_EQ(rx(3), local("155.50000"));
  EXPECT_EQ(record->txFreq(), record->rxFreq());
  EXPECT_EQ(record->txStepCode(), record->rxStepCode());
  EXPECT_EQ(record->rxTone(), kToneOff);
  EXPECT_EQ(record->txTone(), kToneOff);
  EXPECT_EQ(record->optionA(), 1);
  EXPECT_EQ(record->optionB(), 1);
  EXPECT_EQ(record->narrowBit(), 1);
  EXPECT_EQ(record->bytes[15], 0xFF);
}

TEST_P(RadioDataTest, AReceiveEntryIntoAnExistingChannelChangesOnlyTheReceiveFrequency) {
  enter(1, "155.5", FrequencyField::Receive);
  enter(1, "160", FrequencyField::Transmit);
  data.setChannelTone(1, ToneField::Receive, "D023N", false);
  data.setChannelOption(1, 1, 0);
  const auto before = channelBytes(1);
  enter(1, "156.00625", FrequencyField::Receive);
  const auto after = channelBytes(1);
  EXPECT_EQ(rx(1), local("156.00625"));
  EXPECT_EQ(data.channelRecord(1)->rxStepCode(), kStep6250Hz);
  for (std::size_t i = 4; i < 16; ++i)
    if (i != layout::kRxStepCode) {
      EXPECT_EQ(after[i], before[i]) << "byte " << i;
    }
}

TEST_P(RadioDataTest, AnEmptyFlaggedRecordCountsAsEmptyAndIsCreatedWithTonesOff) {
  data.editImage[layout::channelOffset(2) + layout::kRxTone] = 0x70;
  data.editImage[layout::channelOffset(2) + layout::kChFlags] = 0x00;
  EXPECT_FALSE(data.channelRecord(2));
  enter(2, "150", FrequencyField::Receive);
  EXPECT_EQ(data.channelRecord(2)->rxTone(), kToneOff);
  EXPECT_EQ(data.channelRecord(2)->optionA(), 1);
}

TEST_P(RadioDataTest, ClearingTheReceiveFrequencyDeletesTheChannel) {
  enter(4, "151", FrequencyField::Receive);
  std::string empty;
  EXPECT_NE(data.setChannelFrequency(4, empty, FrequencyField::Receive), EntryResult::Refused);
  EXPECT_EQ(channelBytes(4), std::vector<std::uint8_t>(16, 0xFF));
  // Clearing an empty channel changes nothing.
  EXPECT_NE(data.setChannelFrequency(5, empty, FrequencyField::Receive), EntryResult::Refused);
  EXPECT_EQ(channelBytes(5), std::vector<std::uint8_t>(16, 0xFF));
}

TEST_P(RadioDataTest, ClearingTheTransmitFrequencyLeavesAReceiveOnlyChannel) {
  enter(1, "151", FrequencyField::Receive);
  data.setChannelTone(1, ToneField::Transmit, local("88.5"), false);
  std::string empty;
  data.setChannelFrequency(1, empty, FrequencyField::Transmit);
  const auto record = data.channelRecord(1);
  ASSERT_TRUE(record);
  EXPECT_FALSE(record->hasTransmit());
  EXPECT_EQ(record->txTone(), kToneOff);
  EXPECT_EQ(record->txStepCode(), 0xFF);
  EXPECT_EQ(rx(1), local("151.00000"));
  EXPECT_FALSE(data.isChannelFieldEditable(1, 4));
  EXPECT_FALSE(data.isChannelFieldEditable(1, 5));
  EXPECT_TRUE(data.isChannelFieldEditable(1, 2));
}

TEST_P(RadioDataTest, ATransmitEntryIntoAReceiveOnlyChannelCopiesTheReceiveTone) {
  enter(1, "151", FrequencyField::Receive);
  std::string empty;
  data.setChannelFrequency(1, empty, FrequencyField::Transmit);
  data.setChannelTone(1, ToneField::Receive, "D754I", true);
  enter(1, "152", FrequencyField::Transmit);
  EXPECT_EQ(data.channelRecord(1)->txTone(), 0xC754);
  EXPECT_EQ(tx(1), local("152.00000"));
  // With transmit already there, the transmit tone stays.
  data.setChannelTone(1, ToneField::Receive, "D023N", false);
  enter(1, "153", FrequencyField::Transmit);
  EXPECT_EQ(data.channelRecord(1)->txTone(), 0xC754);
}

TEST_P(RadioDataTest, ChannelNumbersAboveTheChannelCountAreRefused) {
  data.resetToModel(ModelCatalogue::modelCodeForRow(kRowHx4410Vhf1));
  std::string text = "151";
  EXPECT_EQ(data.setChannelFrequency(3, text, FrequencyField::Receive), EntryResult::Refused);
  EXPECT_EQ(data.setChannelFrequency(0, text, FrequencyField::Receive), EntryResult::Refused);
  EXPECT_EQ(channelBytes(3), std::vector<std::uint8_t>(16, 0xFF));
  EXPECT_EQ(data.setChannelFrequency(2, text, FrequencyField::Receive), EntryResult::InBand);
}

TEST_P(RadioDataTest, TonesAndOptionsNeedAProgrammedChannel) {
  EXPECT_FALSE(data.setChannelTone(1, ToneField::Receive, "D023N", true));
  EXPECT_FALSE(data.setChannelOption(1, 1, 0));
  EXPECT_EQ(channelBytes(1), std::vector<std::uint8_t>(16, 0xFF));
  EXPECT_TRUE(data.isChannelFieldEditable(1, 1));
  EXPECT_FALSE(data.isChannelFieldEditable(1, 2));
}

TEST_P(RadioDataTest, ATypedReceiveToneAlsoSetsAnOffTransmitTone) {
  enter(1, "151", FrequencyField::Receive);
  data.setChannelTone(1, ToneField::Receive, local("100"), true);
  EXPECT_EQ(data.channelRecord(1)->rxTone(), 0x1000);
  EXPECT_EQ(data.channelRecord(1)->txTone(), 0x1000);

  enter(2, "151", FrequencyField::Receive);
  data.setChannelTone(2, ToneField::Receive, local("100.0"), false);
  EXPECT_EQ(data.channelRecord(2)->txTone(), kToneOff);
}

TEST_P(RadioDataTest, OptionsStoreTheLowestBitOnly) {
  enter(1, "151", FrequencyField::Receive);
  EXPECT_TRUE(data.setChannelOption(1, 0, 2));
  EXPECT_EQ(data.channelRecord(1)->optionA(), 0);
  EXPECT_TRUE(data.setChannelOption(1, 1, 3));
  EXPECT_EQ(data.channelRecord(1)->optionB(), 1);
  EXPECT_FALSE(data.setChannelOption(1, 2, 0));
  EXPECT_EQ(data.channelRecord(1)->narrowBit(), 0);
}

TEST_P(RadioDataTest, ATestFrequencyEntrySetsTransmitWhenThereIsNone) {
  data.deleteTestFrequencies(1, 16);
  std::string text = local("151.5");
  data.setTestFrequency(12, text, FrequencyField::Receive);
  EXPECT_EQ(DisplayText::testFrequencyCell(data.testFrequency(12), FrequencyField::Transmit).text,
            local("151.50000"));
  text = local("152");
  data.setTestFrequency(12, text, FrequencyField::Transmit);
  text = local("153");
  data.setTestFrequency(12, text, FrequencyField::Receive);
  EXPECT_EQ(DisplayText::testFrequencyCell(data.testFrequency(12), FrequencyField::Transmit).text,
            local("152.00000"));
  EXPECT_EQ(DisplayText::testFrequencyCell(data.testFrequency(12), FrequencyField::Receive).text,
            local("153.00000"));
}

TEST_P(RadioDataTest, DeletingAllTestFrequenciesBringsBackTheDefaults) {
  const auto defaults = bytesAt(data.editImage, layout::kTestFreqTable, 256);
  data.deleteTestFrequencies(1, 16);
  EXPECT_EQ(bytesAt(data.editImage, layout::kTestFreqTable, 256), defaults);
  data.deleteTestFrequencies(1, 7);
  EXPECT_TRUE(data.testFrequency(8).isProgrammed());
  EXPECT_FALSE(data.testFrequency(1).isProgrammed());
}

TEST_P(RadioDataTest, PastingChannelsSkipsEmptyEntriesAndChannelsBeyondTheCount) {
  enter(2, "151", FrequencyField::Receive);
  enter(4, "154", FrequencyField::Receive);
  enter(11, "160", FrequencyField::Receive);
  data.copyChannels(2, 4);
  ASSERT_EQ(data.channelClipboard().entries().size(), 3u);
  EXPECT_FALSE(data.channelClipboard().entries()[1]);

  EXPECT_EQ(data.pasteChannels(10), 2);
  EXPECT_EQ(rx(10), local("151.00000"));
  EXPECT_EQ(rx(11), local("160.00000"));
  EXPECT_EQ(rx(12), local("154.00000"));

  // Pasted records take the current narrow setting.
  data.applyNarrowSetting(1);
  EXPECT_EQ(data.pasteChannels(16), 1);
  EXPECT_EQ(rx(16), local("151.00000"));
  EXPECT_EQ(data.channelRecord(16)->narrowBit(), 1);
  EXPECT_EQ(channelBytes(1), std::vector<std::uint8_t>(16, 0xFF)); // no wrap to the start
}

TEST_P(RadioDataTest, ACopyWithTheRangeReversedEmptiesTheClipboard) {
  enter(1, "151", FrequencyField::Receive);
  data.copyChannels(1, 1);
  data.copyChannels(3, 2);
  EXPECT_TRUE(data.channelClipboard().isEmpty());
  EXPECT_EQ(data.pasteChannels(1), 0);
}

TEST_P(RadioDataTest, PastingTestFrequenciesCopiesEmptyRecordsAndStopsAt16) {
  data.copyTestFrequencies(7, 9); // 7 and 8 programmed, 9 empty
  EXPECT_EQ(data.pasteTestFrequencies(15), 2);
  // The copies carry the frequencies and take the current (wide) setting in their narrow bit.
  EXPECT_EQ(data.testFrequency(15).rxFreq(), data.testFrequency(7).rxFreq());
  EXPECT_EQ(data.testFrequency(16).txFreq(), data.testFrequency(8).txFreq());
  EXPECT_EQ(data.testFrequency(15).flags(), 0xFB);
  EXPECT_EQ(data.testFrequency(7).flags(), 0xFF);

  data.copyTestFrequencies(9, 10);
  data.pasteTestFrequencies(1);
  EXPECT_EQ(bytesAt(data.editImage, layout::testFreqOffset(1), 16), std::vector<std::uint8_t>(16, 0xFF));
  EXPECT_EQ(bytesAt(data.editImage, layout::testFreqOffset(2), 16), std::vector<std::uint8_t>(16, 0xFF));
}

TEST_P(RadioDataTest, WithoutChannelsTheSpacingRestrictionDecidesTheNarrowSetting) {
  data.transferImage = test::rowImage(kRowHx5470Uhf6);
  data.adoptTransferImage();
  EXPECT_EQ(data.narrowSetting(), 1);

  data.applyNarrowSetting(1);
  data.transferImage = test::rowImage(kRowHx4470Vhf3);
  data.adoptTransferImage();
  EXPECT_EQ(data.narrowSetting(), 0);

  data.applyNarrowSetting(1);
  data.transferImage = test::rowImage(kRowHx4470Vhf1);
  data.adoptTransferImage();
  EXPECT_EQ(data.narrowSetting(), 1); // no restriction: unchanged
}

TEST_P(RadioDataTest, ApplyingTheNarrowSettingChangesProgrammedRecordsOnly) {
  enter(1, "151", FrequencyField::Receive);
  enter(3, "153", FrequencyField::Receive);
  data.applyNarrowSetting(1);
  EXPECT_EQ(data.channelRecord(1)->flags(), 0x07 | 0xF8);
  EXPECT_EQ(data.channelRecord(3)->narrowBit(), 1);
  EXPECT_EQ(channelBytes(2), std::vector<std::uint8_t>(16, 0xFF));

  data.applyNarrowSetting(0);
  EXPECT_EQ(data.channelRecord(1)->flags(), 0xFB);
  EXPECT_EQ(data.testFrequency(1).flags(), 0xFB);
  EXPECT_EQ(data.testFrequency(9).flags(), 0xFF);
  EXPECT_EQ(channelBytes(2), std::vector<std::uint8_t>(16, 0xFF));
}

TEST_P(RadioDataTest, IsModifiedSeesEveryByteAndMirrorsTheEditImage) {
  EXPECT_FALSE(data.isModified());
  data.editImage[0x005] = 0x00; // head
  EXPECT_TRUE(data.isModified());
  EXPECT_EQ(data.transferImage, data.editImage);
  data.markSaved();
  EXPECT_FALSE(data.isModified());
  data.editImage[0x3FF] = 0x12; // uninterpreted
  EXPECT_TRUE(data.isModified());
}

TEST_P(RadioDataTest, NewKeepsAListedModelAndFallsBackToTheDefault) {
  data.resetToModel(ModelCatalogue::modelCodeForRow(kRowHx5470Uhf6));
  enter(1, "450", FrequencyField::Receive);
  data.newImage();
  EXPECT_EQ(data.findModelRow(), kRowHx5470Uhf6);
  EXPECT_FALSE(data.channelRecord(1));
  EXPECT_FALSE(data.isModified());

  data.editImage[layout::kModelCode + 2] = 0x23;
  data.newImage();
  EXPECT_EQ(data.modelCode(), ModelCatalogue::defaultModelCode());
  EXPECT_FALSE(data.isModified());
}

TEST_P(RadioDataTest, StartUpUsesARememberedListedModel) {
  RadioData fresh;
  fresh.startUp(ModelCatalogue::modelCodeForRow(13));
  EXPECT_EQ(fresh.findModelRow(), 13);
  EXPECT_FALSE(fresh.isModified());
  fresh.startUp(std::nullopt);
  EXPECT_EQ(fresh.modelCode(), ModelCatalogue::defaultModelCode());
  ModelCode unlisted = ModelCatalogue::defaultModelCode();
  unlisted[2] = 0x23;
  fresh.startUp(unlisted);
  EXPECT_EQ(fresh.modelCode(), ModelCatalogue::defaultModelCode());
  EXPECT_EQ(fresh.bandLimits().upper, 174.0);
}

TEST_P(RadioDataTest, AdoptingATransferImageEmptiesTheClipboards) {
  enter(1, "151", FrequencyField::Receive);
  data.copyChannels(1, 1);
  data.copyTestFrequencies(1, 1);
  data.transferImage = test::rowImage(9);
  data.adoptTransferImage();
  EXPECT_TRUE(data.channelClipboard().isEmpty());
  EXPECT_TRUE(data.testFreqClipboard().isEmpty());
  EXPECT_EQ(data.bandLimits().lower, 450.0);
  EXPECT_EQ(data.bandLimits().kind, kBandUhf);
  EXPECT_FALSE(data.isModified());
}

TEST_P(RadioDataTest, ClearImageClearsEditAndTransferButNotSaved) {
  data.clearImage();
  EXPECT_EQ(data.editImage, clearedImage());
  EXPECT_EQ(data.transferImage, clearedImage());
  EXPECT_NE(data.savedImage, clearedImage());
}

TEST_P(RadioDataTest, TypedFeatureValuesAreBroughtIntoRange) {
  EXPECT_EQ(data.commitTimeOutText("45"), 30);
  EXPECT_EQ(data.timeOutTimer(), 1);
  EXPECT_EQ(data.commitTimeOutText("999"), 300);
  EXPECT_EQ(data.timeOutTimer(), 10);
  EXPECT_EQ(data.commitTimeOutText(""), 0);
  EXPECT_EQ(data.timeOutTimer(), 0);
  EXPECT_EQ(data.commitSquelchText("7"), 7);
  EXPECT_EQ(data.commitSquelchText("12"), 9);
}

TEST_P(RadioDataTest, EntriesThatAreNotOneNumberChangeNothing) {
  std::string receive = local("155.5");
  ASSERT_NE(data.setChannelFrequency(1, receive, FrequencyField::Receive), EntryResult::Refused);
  ASSERT_TRUE(data.setChannelTone(1, ToneField::Receive, local("88.5"), false));
  ASSERT_EQ(data.commitSquelchText("7"), 7);
  const RadioImage before = data.editImage;
  for (const char* text : {"150.1.2", "150,1,2", "150.5MHz", "x"}) {
    std::string entry = text;
    EXPECT_EQ(data.setChannelFrequency(1, entry, FrequencyField::Transmit), EntryResult::Refused) << text;
    EXPECT_EQ(data.setTestFrequency(1, entry, FrequencyField::Receive), EntryResult::Refused) << text;
    EXPECT_FALSE(data.setChannelTone(1, ToneField::Receive, text, true)) << text;
    EXPECT_FALSE(data.commitSquelchText(text)) << text;
    EXPECT_FALSE(data.commitTimeOutText(text)) << text;
  }
  EXPECT_EQ(data.editImage, before);
}

TEST_P(RadioDataTest, PickedOptionsChangeOnlyTheirBits) {
  data.editImage[layout::kFeatureFlags] = 0xF0;
  data.setBeepTone(3);
  data.setBatterySaver(1);
  EXPECT_EQ(data.editImage[layout::kFeatureFlags], 0xF3);
  data.setBeepTone(0);
  EXPECT_EQ(data.editImage[layout::kFeatureFlags], 0xF2);
  data.editImage[layout::kMoniKey] = 7;
  EXPECT_FALSE(data.setMoniKey(4));
  EXPECT_EQ(data.moniKey(), 7);
  EXPECT_TRUE(data.setMoniKey(0));
  EXPECT_EQ(data.moniKey(), 0);
}

TEST_P(RadioDataTest, AnyTextEnteredLeavesOnlyValidCodesInTheImage) {
  std::mt19937 random(static_cast<unsigned>(GetParam()) * 7);
  const std::string alphabet = "0123456789.,-+eE DINXnaif\xff";
  const auto randomText = [&] {
    std::string text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i)
      text += alphabet[random() % alphabet.size()];
    return text;
  };
  for (int round = 0; round < 2000; ++round) {
    const int n = static_cast<int>(random() % 18);
    std::string text = randomText();
    switch (random() % 5) {
    case 0:
      data.setChannelFrequency(n, text, FrequencyField::Receive);
      break;
    case 1:
      data.setChannelFrequency(n, text, FrequencyField::Transmit);
      break;
    case 2:
      data.setChannelTone(n, random() % 2 ? ToneField::Receive : ToneField::Transmit, text, random() % 2);
      break;
    case 3:
      data.setTestFrequency(n, text, random() % 2 ? FrequencyField::Receive : FrequencyField::Transmit);
      break;
    default:
      data.commitTimeOutText(text);
      data.commitSquelchText(randomText());
      break;
    }
  }
  const auto validFrequency = [](const FrequencyCode& code) {
    if (code == kNoFrequency) return true;
    for (std::uint8_t byte : code)
      if ((byte >> 4) > 9 || (byte & 0x0F) > 9) return false;
    return true;
  };
  for (int n = 1; n <= 16; ++n) {
    const ChannelRecord record = data.channelSlot(n);
    if (!record.isProgrammed()) {
      EXPECT_EQ(record, ChannelRecord::empty()) << n;
      continue;
    }
    EXPECT_TRUE(validFrequency(record.rxFreq()));
    EXPECT_TRUE(validFrequency(record.txFreq()));
    EXPECT_LE(record.rxStepCode(), 1);
    EXPECT_EQ(record.txStepCode(), record.hasTransmit() ? record.txStepCode() & 1 : 0xFF);
    if (!record.hasTransmit()) {
      EXPECT_EQ(record.txTone(), kToneOff);
    }
    EXPECT_NE(formatTone(record.rxTone()), "");
  }
  for (int k = 1; k <= 16; ++k) {
    const TestFreqRecord record = data.testFrequency(k);
    EXPECT_TRUE(validFrequency(record.rxFreq()));
    EXPECT_TRUE(validFrequency(record.txFreq()));
    EXPECT_EQ(record.isProgrammed(), record.hasTransmit());
  }
  EXPECT_LE(data.timeOutTimer(), 10);
  EXPECT_LE(data.squelchLevel(), 9);
}

INSTANTIATE_TEST_SUITE_P(Separators, RadioDataTest, ::testing::Values('.', ','), test::separatorName);

} // namespace
} // namespace vpr
