#include "model/ImageView.h"

#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "support/TestImages.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace vpr {
namespace {

// Everything a reader takes out of an image, as display texts and values in one string.
std::string decoded(const ImageView& view) {
  std::string text = view.titleText() + "|" + view.modelNameWithKind() + "|" +
                     std::to_string(view.modelRow()) + "|" + std::to_string(view.modelNumber()) + "|" +
                     std::to_string(view.channelCount()) + "|" + std::to_string(view.bandKind()) + "|" +
                     std::to_string(view.bandCode()) + "|" + std::to_string(view.bandLimits().lower) + ".." +
                     std::to_string(view.bandLimits().upper) + "|" + std::to_string(view.narrowSetting()) +
                     "\n";
  text += DisplayText::channelRowsText(view, 0, layout::kChannelSlots + 1, true) + "\n";
  for (int n = 0; n <= layout::kChannelSlots + 1; ++n) {
    text += view.channelRecord(n) ? "P" : "-";
    for (int field = 1; field <= 6; ++field)
      text += view.isChannelFieldEditable(n, field) ? "e" : ".";
  }
  for (int k = 0; k <= layout::kTestFreqCount + 1; ++k)
    for (const FrequencyField which : {FrequencyField::Receive, FrequencyField::Transmit})
      text += "|" + DisplayText::testFrequencyCell(view.testFrequency(k), which).printed();
  for (int item = 0; item < kFeatureItemCount; ++item)
    text += "|" + DisplayText::featureText(view, static_cast<FeatureItem>(item)).printed();
  return text + "|" + DisplayText::moniKeyText(view.moniKey()).printed();
}

class ImageViewTest : public test::LanguageTest {};

// Readers take an image through a view; the editing views read the same image opened in a new
// document. Both must show the same, band limits and wide/narrow setting included.
TEST_F(ImageViewTest, AViewShowsAnImageExactlyAsTheOpenedDocumentDoes) {
  std::vector<RadioImage> images;
  for (int row = 0; row < ModelCatalogue::kRowCount; ++row)
    images.push_back(test::rowImage(row));
  std::mt19937 rng(20261209);
  for (int i = 0; i < 50; ++i) {
    RadioImage image;
    for (std::uint8_t& byte : image)
      byte = static_cast<std::uint8_t>(rng());
    // Half of them with a listed model code, so that programmed channels count.
    if (i % 2 == 0) writeModelCode(image, ModelCatalogue::modelCodeForRow(static_cast<int>(rng() % 25)));
    images.push_back(image);
  }
  for (const RadioImage& image : images) {
    RadioData opened;
    opened.transferImage = image;
    opened.adoptTransferImage();
    const ImageView view(image);
    EXPECT_EQ(decoded(view), decoded(opened));
    EXPECT_EQ(opened.bandLimits().lower, view.bandLimits().lower);
    EXPECT_EQ(opened.bandLimits().upper, view.bandLimits().upper);
    EXPECT_EQ(opened.bandLimits().kind, view.bandLimits().kind);
  }
}

TEST_F(ImageViewTest, TheWideNarrowSettingComesFromTheFirstProgrammedChannelElseTheModel) {
  constexpr int kRowHx4470Vhf1 = 2;  // 16 channels, wide or narrow
  constexpr int kRowHx4470Vhf3 = 4;  // only wide
  constexpr int kRowHx4410Vhf1 = 0;  // 2 channels
  constexpr int kRowHx5470Uhf6 = 16; // only narrow
  struct Case {
    int row;
    std::vector<std::pair<int, bool>> channels; // programmed slot, its narrow bit
    int otherwise;
    int expected;
  };
  const Case cases[] = {
      {kRowHx4470Vhf1, {{2, true}, {5, false}}, 0, 1},
      {kRowHx4470Vhf1, {{2, false}, {5, true}}, 1, 0},
      {kRowHx4470Vhf1, {}, 1, 1},          // no restriction: the setting stays
      {kRowHx4470Vhf3, {}, 1, 0},          // only wide
      {kRowHx5470Uhf6, {}, 0, 1},          // only narrow
      {kRowHx4410Vhf1, {{5, true}}, 0, 0}, // slot 5 is beyond the channel count
      {kRowHx4410Vhf1, {{2, true}, {1, false}}, 1, 0},
  };
  for (const Case& c : cases) {
    RadioImage image = test::rowImage(c.row);
    for (const auto& [slot, narrow] : c.channels) {
      image[layout::channelOffset(slot)] = 0x00;
      image[layout::channelOffset(slot) + layout::kChFlags] = narrow ? 0xFF : 0xFB;
    }
    EXPECT_EQ(ImageView(image).derivedNarrowSetting(c.otherwise), c.expected) << "row " << c.row;
  }

  // A document's chosen setting is what its view shows, even before any channel carries it.
  RadioData data;
  data.resetToModel(ModelCatalogue::modelCodeForRow(kRowHx4470Vhf1));
  data.applyNarrowSetting(1);
  EXPECT_EQ(DisplayText::featureText(data, FeatureItem::WideNarrow),
            DisplayText::wideNarrowText(1, data.spacingRestriction()));
}

} // namespace
} // namespace vpr
