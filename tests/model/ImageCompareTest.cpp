// Comparing two images field by field: exactly the fields that differ are listed, with the texts
// the views show, and every other differing byte still shows as a hexadecimal range.

#include "model/ImageCompare.h"

#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "tests/model/ModelTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <set>

namespace vpr {
namespace {

using test::idText;

// A 16-channel image with every channel and test frequency programmed, all on the 100 kHz
// raster so that changing a frequency never changes its step code.
RadioData fullImage() {
  RadioData data;
  data.resetToModel(ModelCatalogue::modelCodeForRow(2));
  for (int n = 1; n <= data.channelCount(); ++n) {
    std::string rx = std::to_string(146 + n % 8) + ".100";
    data.setChannelFrequency(n, rx, FrequencyField::Receive);
    std::string tx = std::to_string(146 + n % 8) + ".300";
    data.setChannelFrequency(n, tx, FrequencyField::Transmit);
  }
  for (int k = 1; k <= layout::kTestFreqCount; ++k) {
    std::string rx = std::to_string(150 + k) + ".200";
    data.setTestFrequency(k, rx, FrequencyField::Receive);
    std::string tx = std::to_string(150 + k) + ".400";
    data.setTestFrequency(k, tx, FrequencyField::Transmit);
  }
  return data;
}

// One field of the image that a test may change, with the label the compare gives it.
struct Change {
  std::string label;
  std::function<void(RadioData&)> apply;
};

std::string channelLabel(int n, int header) {
  return idText(10030028) + " " + std::to_string(n) + " " + idText(header);
}

std::vector<Change> allChanges(int channelCount) {
  std::vector<Change> changes;
  for (int n = 1; n <= channelCount; ++n) {
    changes.push_back({channelLabel(n, 10030007), [n](RadioData& d) {
                         std::string text = std::to_string(146 + n % 8) + ".700";
                         d.setChannelFrequency(n, text, FrequencyField::Receive);
                       }});
    changes.push_back({channelLabel(n, 10030008), [n](RadioData& d) {
                         std::string text = std::to_string(146 + n % 8) + ".900";
                         d.setChannelFrequency(n, text, FrequencyField::Transmit);
                       }});
    changes.push_back({channelLabel(n, 10030010),
                       [n](RadioData& d) { d.setChannelTone(n, ToneField::Receive, "67.0", false); }});
    changes.push_back({channelLabel(n, 10030009),
                       [n](RadioData& d) { d.setChannelTone(n, ToneField::Transmit, "D023N", false); }});
    changes.push_back({channelLabel(n, 10030011), [n](RadioData& d) { d.setChannelOption(n, 0, 0); }});
    changes.push_back({channelLabel(n, 10030012), [n](RadioData& d) { d.setChannelOption(n, 1, 0); }});
  }
  for (int k = 1; k <= layout::kTestFreqCount; ++k) {
    const std::string prefix = idText(10027010) + " " + std::to_string(k) + " ";
    changes.push_back({prefix + idText(10028002), [k](RadioData& d) {
                         std::string text = std::to_string(150 + k) + ".600";
                         d.setTestFrequency(k, text, FrequencyField::Receive);
                       }});
    changes.push_back({prefix + idText(10028003), [k](RadioData& d) {
                         std::string text = std::to_string(150 + k) + ".800";
                         d.setTestFrequency(k, text, FrequencyField::Transmit);
                       }});
  }
  changes.push_back(
      {idText(10041001), [](RadioData& d) { d.commitTimeOutText(d.timeOutTimer() == 4 ? "60" : "120"); }});
  changes.push_back(
      {idText(10041002), [](RadioData& d) { d.commitSquelchText(d.squelchLevel() == 7 ? "2" : "7"); }});
  changes.push_back({idText(10041003), [](RadioData& d) { d.setBeepTone(1 - d.beepTone()); }});
  changes.push_back({idText(10041004), [](RadioData& d) { d.setBatterySaver(1 - d.batterySaver()); }});
  changes.push_back({idText(10101001), [](RadioData& d) { d.setMoniKey(d.moniKey() == 2 ? 3 : 2); }});
  const int adjustNames[] = {10023005, 10010009, 10010025, 10010023, 10010156,
                             10010160, 10010157, 10010161, 10010027};
  for (int item = 0; item < layout::kAdjustItemCount; ++item)
    changes.push_back({idText(10010004) + " " + idText(adjustNames[item]), [item](RadioData& d) {
                         d.editImage[layout::kAdjustItemOffsets[static_cast<std::size_t>(item)]] ^= 0x5A;
                       }});
  return changes;
}

std::set<std::string> labelsOf(const std::vector<ImageDifference>& differences) {
  std::set<std::string> labels;
  for (const auto& difference : differences)
    labels.insert(difference.field);
  return labels;
}

using ImageCompareTest = test::LanguageTest;

TEST_F(ImageCompareTest, ChangingKRandomFieldsListsExactlyThoseK) {
  const RadioData base = fullImage();
  const std::vector<Change> changes = allChanges(base.channelCount());
  std::mt19937 random(20261208);
  for (int round = 0; round < 60; ++round) {
    const int k = 1 + static_cast<int>(random() % 12);
    std::vector<std::size_t> picks(changes.size());
    for (std::size_t i = 0; i < picks.size(); ++i)
      picks[i] = i;
    std::shuffle(picks.begin(), picks.end(), random);
    picks.resize(static_cast<std::size_t>(k));

    RadioData changed = base;
    std::set<std::string> expected;
    for (const std::size_t pick : picks) {
      changes[pick].apply(changed);
      expected.insert(changes[pick].label);
    }
    const auto differences = ImageCompare::compare(base.editImage, changed.editImage);
    EXPECT_EQ(labelsOf(differences), expected) << "round " << round;
    EXPECT_EQ(differences.size(), expected.size()) << "round " << round;
  }
}

TEST_F(ImageCompareTest, EqualImagesHaveNoDifferencesAndSaySo) {
  const RadioData base = fullImage();
  EXPECT_TRUE(ImageCompare::compare(base.editImage, base.editImage).empty());
  EXPECT_EQ(ImageCompare::listText({}), idText(10065020) + "\n");
}

TEST_F(ImageCompareTest, BytesNoFieldExplainsAreListedAsHexRangesOfAtMostSixteenBytes) {
  const RadioData base = fullImage();
  RadioData changed = base;
  // The channel map (0x280..0x28F) and the head byte 0x003 are shown by no view.
  for (std::size_t i = 0; i < 16; ++i)
    changed.editImage[layout::kChannelMap + i] ^= 0xFF;
  changed.editImage[0x003] ^= 0x01;
  // The narrow bit of channel 2 alone does not change the radio-wide setting.
  changed.editImage[layout::channelOffset(2) + layout::kChFlags] ^= layout::kNarrowBit;

  const auto differences = ImageCompare::compare(base.editImage, changed.editImage);
  ASSERT_EQ(differences.size(), 3u);
  EXPECT_EQ(differences[0].field, idText(10065023) + " 0x003");
  EXPECT_EQ(differences[1].field, idText(10065023) + " 0x02C");
  EXPECT_EQ(differences[2].field, idText(10065023) + " 0x280..0x28F");
  char before[8];
  std::snprintf(before, sizeof before, "%02X", base.editImage[0x003]);
  EXPECT_EQ(differences[0].before, before);
  EXPECT_EQ(differences[2].after.size(), 16u * 3 - 1);
}

TEST_F(ImageCompareTest, AnotherModelIsOneDifferenceAndEveryDifferingByteIsAccountedFor) {
  const RadioData base = fullImage();
  RadioData other;
  other.resetToModel(ModelCatalogue::modelCodeForRow(0)); // 2 channels, VHF
  const auto differences = ImageCompare::compare(base.editImage, other.editImage);
  const auto labels = labelsOf(differences);
  EXPECT_TRUE(labels.count(idText(10009001)));
  // Channels 1..16 are compared: the larger channel count of the two.
  EXPECT_TRUE(labels.count(channelLabel(16, 10030007)));
  EXPECT_FALSE(differences.empty());
}

class ImageCompareTextTest : public ::testing::Test {
protected:
  void SetUp() override { test::loadLanguage(false); }
  void TearDown() override { test::unloadLanguage(); }
};

TEST_F(ImageCompareTextTest, AChangedFrequencyReadsAsTheViewsShowIt) {
  RadioData base;
  base.resetToModel(ModelCatalogue::modelCodeForRow(2));
  std::string text = "145.500";
  base.setChannelFrequency(3, text, FrequencyField::Receive);
  RadioData changed = base;
  text = "145.525";
  changed.setChannelFrequency(3, text, FrequencyField::Receive);
  const auto differences = ImageCompare::compare(base.editImage, changed.editImage);
  ASSERT_FALSE(differences.empty());
  EXPECT_EQ(differences.front().text(), "CH 3 RX Freq.: 145.50000 → 145.52500");
}

} // namespace
} // namespace vpr
