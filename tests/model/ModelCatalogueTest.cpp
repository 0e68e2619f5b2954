#include "model/ModelCatalogue.h"

#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vpr {
namespace {

using test::bytesAt;

ModelCode codeOf(std::uint8_t bandByte, const char* reversed) {
  ModelCode code{0x00, 0x00, bandByte};
  std::memcpy(&code[3], reversed, 5);
  return code;
}

// What each of the 25 catalogue rows must say, written out independently of the table.
struct ExpectedRow {
  const char* reversed;
  std::uint8_t bandByte;
  const char* model;
  const char* band;
  int channels;
  int restriction;
  const char* firstReceive; // test frequency 1
  const char* firstTransmit;
  const char* thirdTransmit; // test frequency 3
};

constexpr ExpectedRow kExpected[25] = {
    {"0144P", 0x20, "HX-4410", "VHF 1:150-174 MHz", 2, 0, "162.10000", "162.00000", "173.97500"},
    {"0144P", 0x21, "HX-4410", "VHF 2:136-150 MHz", 2, 0, "143.10000", "143.00000", "149.97500"},
    {"0744P", 0xF0, "HX-4470/4470M", "VHF 1:150-174 MHz", 16, 0, "162.10000", "162.00000", "173.97500"},
    {"0744P", 0xF1, "HX-4470/4470M", "VHF 2:136-150 MHz", 16, 0, "143.10000", "143.00000", "149.97500"},
    {"0744P", 0xF2, "HX-4470/4470M", "VHF 3:216-223 MHz", 16, 1, "220.10000", "220.00000", "229.97500"},
    {"0144P", 0xF0, "HX-4410(E)", "VHF 1:150-174 MHz", 4, 0, "162.10000", "162.00000", "173.97500"},
    {"0144P", 0xF1, "HX-4410(E)", "VHF 2:136-150 MHz", 4, 0, "143.10000", "143.00000", "149.97500"},
    {"0644P", 0xF0, "HX-4460K", "VHF 1:150-174 MHz", 16, 0, "162.10000", "162.00000", "173.97500"},
    {"0544P", 0xF0, "HX-4410M", "VHF 1:150-174 MHz", 16, 0, "162.10000", "162.00000", "173.97500"},
    {"0145P", 0x24, "HX-5410", "UHF 1:450-470 MHz", 2, 0, "460.10000", "460.00000", "469.97500"},
    {"0145P", 0x25, "HX-5410", "UHF 2:470-490 MHz", 2, 0, "480.10000", "480.00000", "489.97500"},
    {"0145P", 0x26, "HX-5410", "UHF 3:490-512 MHz", 2, 0, "501.10000", "501.00000", "511.97500"},
    {"0145P", 0x27, "HX-5410", "UHF 4:406-430 MHz", 2, 0, "418.10000", "418.00000", "429.97500"},
    {"0745P", 0xF4, "HX-5470/5470M", "UHF 1:450-470 MHz", 16, 0, "460.10000", "460.00000", "469.97500"},
    {"0745P", 0xF5, "HX-5470/5470M", "UHF 2:470-490 MHz", 16, 0, "480.10000", "480.00000", "489.97500"},
    {"0745P", 0xF8, "HX-5470/5470M", "UHF 5:400-420 MHz", 16, 0, "410.10000", "410.00000", "419.97500"},
    {"0745P", 0xFF, "HX-5470/5470M", "UHF 6:440-460 MHz", 16, 2, "450.10000", "450.00000", "459.97500"},
    {"0745P", 0xFE, "HX-5470/5470M", "UHF 7:350-370 MHz", 16, 0, "360.10000", "360.00000", "369.97500"},
    {"0145P", 0xF4, "HX-5410(E)", "UHF 1:450-470 MHz", 4, 0, "460.10000", "460.00000", "469.97500"},
    {"0145P", 0xF5, "HX-5410(E)", "UHF 2:470-490 MHz", 4, 0, "480.10000", "480.00000", "489.97500"},
    {"0145P", 0xF6, "HX-5410(E)", "UHF 3:490-512 MHz", 4, 0, "501.10000", "501.00000", "511.97500"},
    {"0645P", 0xF4, "HX-5460K", "UHF 1:450-470 MHz", 16, 0, "460.10000", "460.00000", "469.97500"},
    {"0645P", 0xF8, "HX-5460K", "UHF 5:400-420 MHz", 16, 0, "410.10000", "410.00000", "419.97500"},
    {"0545P", 0xF4, "HX-5410M", "UHF 1:450-470 MHz", 16, 0, "460.10000", "460.00000", "469.97500"},
    {"0545P", 0xF5, "HX-5410M", "UHF 2:470-490 MHz", 16, 0, "480.10000", "480.00000", "489.97500"},
};

class CatalogueRowTest : public test::LanguageTest, public ::testing::WithParamInterface<int> {};

TEST_P(CatalogueRowTest, TheRowAnswersEveryLookup) {
  const ExpectedRow& want = kExpected[GetParam()];
  const ModelCode code = codeOf(want.bandByte, want.reversed);
  EXPECT_EQ(ModelCatalogue::modelCodeForRow(GetParam()), code);
  EXPECT_EQ(ModelCatalogue::findModelRow(code), GetParam());
  EXPECT_EQ(ModelCatalogue::modelNameText(code), want.model);
  EXPECT_EQ(ModelCatalogue::bandNameText(code), want.band);
  EXPECT_EQ(ModelCatalogue::channelCount(code), want.channels);
  EXPECT_EQ(ModelCatalogue::spacingRestriction(code), want.restriction);
  EXPECT_EQ(ModelCatalogue::bandKind(code), GetParam() < 9 ? 0 : 1);
  EXPECT_EQ(ModelCatalogue::titleText(code), std::string(want.model) + " " + want.band);
  EXPECT_EQ(ModelCatalogue::modelNameWithKind(code),
            std::string(want.model) + (GetParam() < 9 ? " [VHF]" : " [UHF]"));
  EXPECT_EQ(ModelCatalogue::findRowByNames(want.model, want.band), GetParam());
}

TEST_P(CatalogueRowTest, TheDefaultImageHoldsTheRowsDefaults) {
  const ExpectedRow& want = kExpected[GetParam()];
  const ModelCode code = codeOf(want.bandByte, want.reversed);
  RadioData data;
  data.resetToModel(code);
  const RadioImage& image = data.editImage;

  EXPECT_EQ(modelCodeOf(image), code);
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(data.narrowSetting(), GetParam() == 16 ? 1 : 0);
  for (int n = 1; n <= 16; ++n)
    EXPECT_FALSE(data.channelSlot(n).isProgrammed());

  const auto cell = [&](int k, FrequencyField which) {
    return DisplayText::testFrequencyCell(data.testFrequency(k), which).text;
  };
  EXPECT_EQ(cell(1, FrequencyField::Receive), want.firstReceive);
  EXPECT_EQ(cell(1, FrequencyField::Transmit), want.firstTransmit);
  EXPECT_EQ(cell(3, FrequencyField::Transmit), want.thirdTransmit);
  for (int k = 1; k <= 8; ++k) {
    EXPECT_TRUE(data.testFrequency(k).isProgrammed()) << k;
    EXPECT_EQ(data.testFrequency(k).flags(), 0xFF) << k;
    EXPECT_EQ(bytesAt(image, layout::testFreqOffset(k) + layout::kRxTone, 4),
              std::vector<std::uint8_t>(4, 0xFF));
  }
  for (int k = 9; k <= 16; ++k)
    EXPECT_EQ(bytesAt(image, layout::testFreqOffset(k), 16), std::vector<std::uint8_t>(16, 0xFF)) << k;

  for (std::size_t i = 0; i < 16; ++i)
    EXPECT_EQ(image[layout::kChannelMap + i], i + 1);
  const bool monitorModel = GetParam() == 8 || GetParam() == 23 || GetParam() == 24;
  EXPECT_EQ(image[layout::kFeatureFlags], monitorModel ? 0xFD : 0xFF);
  EXPECT_EQ(image[layout::kSquelchLevel], monitorModel ? 3 : 9);
  EXPECT_EQ(image[layout::kMoniKey], 3);
  EXPECT_EQ(image[layout::kTimeOutTimer], 6);

  std::vector<std::uint8_t> bandEdges(7, 0xFF);
  if (GetParam() == 16) bandEdges = {0xFF, 0xFF, 0x00, 0x44, 0x00, 0x46, 0x0C};
  if (GetParam() == 17) bandEdges = {0x38, 0x8A, 0x00, 0x35, 0x00, 0x37, 0x0C};
  EXPECT_EQ(bytesAt(image, layout::kBandEdgeBlock, 7), bandEdges);

  // Everything the default image does not write stays 0xFF.
  const auto untouched = [](std::size_t offset) {
    const bool written = (offset >= layout::kTestFreqTable && offset < layout::testFreqOffset(9)) ||
                         (offset >= layout::kChannelMap && offset < layout::kChannelMap + 16) ||
                         (offset >= layout::kBandEdgeBlock && offset < layout::kBandEdgeBlock + 7) ||
                         (offset >= layout::kFeatureFlags && offset <= layout::kTimeOutTimer) ||
                         (offset >= layout::kModelCode && offset < layout::kModelCode + 8);
    return !written;
  };
  for (std::size_t offset = 0; offset < kImageSize; ++offset)
    if (untouched(offset)) {
      EXPECT_EQ(image[offset], 0xFF) << "offset " << offset;
    }
}

INSTANTIATE_TEST_SUITE_P(AllRows, CatalogueRowTest, ::testing::Range(0, 25));

TEST(ModelCatalogue, TheSameReversedCodeWithAnotherTypeNibbleIsAnotherModel) {
  const ModelCode plain = codeOf(0x20, "0144P");
  const ModelCode export_ = codeOf(0xF0, "0144P");
  EXPECT_EQ(ModelCatalogue::modelNameText(plain), "HX-4410");
  EXPECT_EQ(ModelCatalogue::channelCount(plain), 2);
  EXPECT_EQ(ModelCatalogue::modelNameText(export_), "HX-4410(E)");
  EXPECT_EQ(ModelCatalogue::channelCount(export_), 4);
}

TEST(ModelCatalogue, AnUnlistedCodeHasTwoChannelsNoNamesAndLimitsByItsBandNibble) {
  const ModelCode unlisted = codeOf(0x23, "0144P");
  EXPECT_FALSE(ModelCatalogue::isListedModel(unlisted));
  EXPECT_EQ(ModelCatalogue::findModelRow(unlisted), -1);
  EXPECT_EQ(ModelCatalogue::modelNumber(unlisted), -1);
  EXPECT_EQ(ModelCatalogue::channelCount(unlisted), 2);
  EXPECT_EQ(ModelCatalogue::spacingRestriction(unlisted), 0);
  EXPECT_EQ(ModelCatalogue::bandKind(unlisted), -1);
  EXPECT_EQ(ModelCatalogue::modelNameText(unlisted), "");
  EXPECT_EQ(ModelCatalogue::bandNameText(unlisted), "");
  EXPECT_EQ(ModelCatalogue::bandLimit(unlisted, false), 150.0);
  EXPECT_EQ(ModelCatalogue::bandLimit(unlisted, true), 174.0);
  EXPECT_TRUE(ModelCatalogue::defaultTestFrequencies(unlisted).empty());
  EXPECT_EQ(ModelCatalogue::findRowByNames("HX-4410", "UHF 1:450-470 MHz"), -1);
  EXPECT_EQ(ModelCatalogue::bandLimit(codeOf(0x2E, "XXXXP"), false), 350.0);
}

TEST(ModelCatalogue, TheFinalCharacterOfTheCodeIsNotCompared) {
  EXPECT_EQ(ModelCatalogue::findModelRow(codeOf(0xFF, "0745X")), 16);
  EXPECT_FALSE(ModelCatalogue::isListedModel(codeOf(0xFF, "0746P")));
}

TEST(ModelCatalogue, AnAllFFCodeIsEmpty) {
  ModelCode code;
  code.fill(0xFF);
  EXPECT_TRUE(ModelCatalogue::isEmptyModelCode(code));
  code[7] = 0x50;
  EXPECT_FALSE(ModelCatalogue::isEmptyModelCode(code));
  EXPECT_FALSE(ModelCatalogue::isEmptyModelCode(ModelCatalogue::defaultModelCode()));
}

TEST(ModelCatalogue, BandListsHoldTheModelsBandsInRowOrder) {
  const auto bands = ModelCatalogue::bandList(6);
  ASSERT_EQ(bands.size(), 5u);
  EXPECT_EQ(bands[0], (ListEntry{"UHF 1:450-470 MHz", 0xF4}));
  EXPECT_EQ(bands[3], (ListEntry{"UHF 6:440-460 MHz", 0xFF}));
  EXPECT_EQ(bands[4], (ListEntry{"UHF 7:350-370 MHz", 0xFE}));
  EXPECT_TRUE(ModelCatalogue::bandList(10).empty());
  EXPECT_TRUE(ModelCatalogue::bandList(-1).empty());
  const auto models = ModelCatalogue::modelList();
  ASSERT_EQ(models.size(), 10u);
  EXPECT_EQ(models[9], (ListEntry{"HX-5410M", 9}));
}

TEST(ModelCatalogue, IdentityCodesAreTheForwardCodes) {
  const auto codes = ModelCatalogue::identityCodes();
  ASSERT_EQ(codes.size(), 9u);
  EXPECT_STREQ(codes[0], "P4410");
  EXPECT_STREQ(codes[8], "P5390");
}

} // namespace
} // namespace vpr
