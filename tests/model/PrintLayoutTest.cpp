#include "model/PrintLayout.h"
#include "model/PrintRange.h"

#include "model/DisplayText.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vpr {
namespace {

using test::idText;

constexpr const char* kDashes = "--------------";

class PrintLayoutTest : public test::LanguageTest {
protected:
  void SetUp() override {
    LanguageTest::SetUp();
    data.resetToModel(ModelCatalogue::modelCodeForRow(2)); // HX-4470/4470M, 16 channels
  }
  void program(int n, std::string frequency = "146.52") {
    data.setChannelFrequency(n, frequency, FrequencyField::Receive);
  }
  PrintLayout layout(const PrintSelection& selection, PageOrientation orientation = PageOrientation::Portrait,
                     std::vector<AdjustmentLine> adjustments = {}) const {
    return PrintLayout(data, selection, orientation, "08/12/26 18:30", std::move(adjustments));
  }
  static std::vector<int> channelsOf(const PagePlan& plan) {
    std::vector<int> all;
    for (const PlannedPage& page : plan.pages())
      all.insert(all.end(), page.channels.begin(), page.channels.end());
    return all;
  }
  // The one text of a page that reads exactly so; fails the test when there is not exactly one.
  static PlacedText only(const PageContent& page, const std::string& text) {
    const auto count = std::count_if(page.texts.begin(), page.texts.end(),
                                     [&](const PlacedText& placed) { return placed.text == text; });
    EXPECT_EQ(count, 1) << "text \"" << text << "\"";
    for (const PlacedText& placed : page.texts)
      if (placed.text == text) return placed;
    return {};
  }
  static bool has(const PageContent& page, const std::string& text) {
    return std::any_of(page.texts.begin(), page.texts.end(),
                       [&](const PlacedText& t) { return t.text == text; });
  }
  // The value printed on the same line as a label, to the right of it.
  static std::string valueBeside(const PageContent& page, const PlacedText& label) {
    const PlacedText* best = nullptr;
    for (const PlacedText& t : page.texts)
      if (t.y == label.y && t.x > label.x && t.role == FontRole::Value && (!best || t.x < best->x)) best = &t;
    return best ? best->text : "<none>";
  }

  RadioData data;
};

// ---- Page planning ----

TEST_F(PrintLayoutTest, OnlyProgrammedChannelsInTheRangeArePlannedSixToAPage) {
  program(2);
  program(5);
  program(9);
  PrintSelection selection = PrintSelection::printListDefault(16);
  selection.channels = true;
  const PagePlan plan = PagePlan::planPages(selection, data);
  ASSERT_EQ(plan.pageCount(), 1);
  EXPECT_EQ(plan.pages()[0], (PlannedPage{PageKind::Channels, {2, 5, 9}}));

  selection.firstChannel = 3;
  selection.lastChannel = 8;
  EXPECT_EQ(channelsOf(PagePlan::planPages(selection, data)), std::vector<int>{5});
  selection.firstChannel = 10;
  selection.lastChannel = 16;
  EXPECT_EQ(PagePlan::planPages(selection, data).pages().size(), 0u);
  EXPECT_EQ(PagePlan::planPages(selection, data).pageCount(), 1) << "an empty plan still prints the header";
}

TEST_F(PrintLayoutTest, ThirteenProgrammedChannelsGiveThreeChannelPages) {
  for (int n = 1; n <= 13; ++n)
    program(n);
  const PagePlan plan = PagePlan::planPages(PrintSelection::everything(16), data);
  ASSERT_EQ(plan.pageCount(), 4);
  EXPECT_EQ(plan.pages()[0].kind, PageKind::Settings);
  EXPECT_EQ(plan.pages()[1].channels, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(plan.pages()[2].channels, (std::vector<int>{7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(plan.pages()[3].channels, (std::vector<int>{13}));
}

TEST_F(PrintLayoutTest, EachSettingsSectionAloneGivesTheSettingsPageAndAdjustmentsComeLast) {
  for (bool PrintSelection::*section :
       {&PrintSelection::features, &PrintSelection::keys, &PrintSelection::testFrequencies}) {
    PrintSelection selection = PrintSelection::printListDefault(16);
    selection.*section = true;
    const PagePlan plan = PagePlan::planPages(selection, data);
    ASSERT_EQ(plan.pages().size(), 1u);
    EXPECT_EQ(plan.pages()[0].kind, PageKind::Settings);
  }
  program(1);
  PrintSelection selection = PrintSelection::everything(16);
  selection.adjustments = true;
  const PagePlan plan = PagePlan::planPages(selection, data);
  ASSERT_EQ(plan.pages().size(), 3u);
  EXPECT_EQ(plan.pages()[2].kind, PageKind::Adjustments);
  EXPECT_EQ(PagePlan::planPages(PrintSelection::testMode(16), data).pages(),
            (std::vector<PlannedPage>{{PageKind::Adjustments, {}}}));
}

TEST_F(PrintLayoutTest, ARangeBeyondTheModelsChannelsPrintsOnlyItsChannels) {
  data.resetToModel(ModelCatalogue::modelCodeForRow(0)); // 2 channels
  program(1);
  program(2);
  data.editImage[layout::kChannelTable + 2 * kRecordSize] = 0x00; // a stray record 3 behind the model's two
  PrintSelection selection = PrintSelection::everything(16);
  EXPECT_EQ(channelsOf(PagePlan::planPages(selection, data)), (std::vector<int>{1, 2}));
}

// ---- Page content ----

TEST_F(PrintLayoutTest, TheModelAlonePrintsOnePageWithTheHeaderAndTheModelBlock) {
  const PrintLayout print = layout(PrintSelection::printListDefault(16));
  ASSERT_EQ(print.pageCount(), 1);
  const PageContent page = print.page(0);
  const PageFrame frame = page.frame;
  EXPECT_EQ(frame, (PageFrame{20, -40, 782, -1054}));

  const PlacedText number = only(page, "1");
  EXPECT_EQ(number.align, TextAlign::Right);
  EXPECT_EQ(number.x, frame.right - 15);
  EXPECT_EQ(number.y, frame.top);
  const PlacedText printed = only(page, "08/12/26 18:30   " + idText(10009006) + " :");
  EXPECT_EQ(printed.x, frame.right - 45);
  EXPECT_LT(printed.y, number.y);
  const PlacedText title = only(page, "Veskaro VPR-40T " + idText(10009003));
  EXPECT_EQ(title.role, FontRole::Title);
  EXPECT_EQ(title.align, TextAlign::Centre);
  EXPECT_LT(title.y, printed.y);

  const PlacedText model = only(page, idText(10009001));
  EXPECT_EQ(model.x, frame.left + 100);
  EXPECT_EQ(valueBeside(page, model), "HX-4470/4470M [VHF]");
  const PlacedText band = only(page, idText(10009002));
  EXPECT_EQ(valueBeside(page, band), data.bandNameText());
  EXPECT_LT(band.y, model.y);
  EXPECT_LT(model.y, title.y);
  EXPECT_EQ(page.texts.size(), 7u) << "nothing but the header and the model block";
  ASSERT_EQ(page.rules.size(), 2u);
  EXPECT_EQ(page.rules[0].x1, frame.left);
  EXPECT_EQ(page.rules[0].x2, frame.right);
  EXPECT_LT(page.rules[0].y, title.y - PrintLayout::font(FontRole::Title).height);
  EXPECT_GT(page.rules[0].y, model.y);
}

TEST_F(PrintLayoutTest, WithoutTheModelTheHeaderHasNoModelBlock) {
  PrintSelection selection = PrintSelection::everything(16);
  selection.model = false;
  const PageContent page = layout(selection).page(0);
  EXPECT_FALSE(has(page, idText(10009001)));
  EXPECT_FALSE(has(page, "HX-4470/4470M [VHF]"));
  EXPECT_EQ(page.rules.size(), 2u) << "the title rule and the rule under the test frequency headings";
}

TEST_F(PrintLayoutTest, TheSettingsPageShowsTheValuesAsTheViewsShowThem) {
  data.commitTimeOutText("45");            // stored as 30 s
  data.editImage[layout::kMoniKey] = 0x07; // outside the key's choices
  std::string tx = "147.000";
  data.setTestFrequency(2, tx, FrequencyField::Transmit);
  const PageContent page = layout(PrintSelection::everything(16)).page(0);

  const PlacedText features = only(page, idText(10027002));
  EXPECT_EQ(features.role, FontRole::Heading);
  for (int i = 0; i < kFeatureItemCount; ++i) {
    const auto item = static_cast<FeatureItem>(i);
    const PlacedText label = only(page, idText(DisplayText::featureLabelId(item)));
    EXPECT_EQ(label.x, page.frame.left + 30);
    EXPECT_EQ(valueBeside(page, label), DisplayText::featureText(data, item).printed());
  }
  EXPECT_EQ(valueBeside(page, only(page, idText(10041001))), "30");

  const PlacedText keys = only(page, idText(10027001));
  EXPECT_LT(keys.y, features.y);
  EXPECT_EQ(valueBeside(page, only(page, idText(DisplayText::kMoniKeyLabelId))), kDashes);

  const PlacedText testFrequencies = only(page, idText(10027010));
  EXPECT_LT(testFrequencies.y, keys.y);
  const PlacedText numberHeading = only(page, idText(10028001));
  EXPECT_EQ(numberHeading.role, FontRole::ColumnHeading);
  const PlacedText first = only(page, " 1");
  const PlacedText second = only(page, " 2");
  const PlacedText last = only(page, "16");
  EXPECT_EQ(first.y - second.y, 20);
  EXPECT_EQ(first.y - last.y, 15 * 20);
  const TestFreqRecord record2 = data.testFrequency(2);
  EXPECT_EQ(valueBeside(page, second), DisplayText::testFrequencyCell(record2, FrequencyField::Receive).text);
  EXPECT_TRUE(has(page, "147.00000"));
  // An empty record prints nothing beside its number.
  EXPECT_EQ(valueBeside(page, last), "");
}

TEST_F(PrintLayoutTest, AReceiveOnlyChannelPrintsDashesForItsTransmitFields) {
  program(3, "146.52");
  std::string none;
  data.setChannelFrequency(3, none, FrequencyField::Transmit);
  PrintSelection selection = PrintSelection::printListDefault(16);
  selection.channels = true;
  const PageContent page = layout(selection).page(0);
  const auto value = [&](ChannelField field) {
    return valueBeside(page, only(page, idText(DisplayText::channelHeaderId(field))));
  };
  EXPECT_EQ(value(ChannelField::RxFrequency), "146.52000");
  EXPECT_EQ(value(ChannelField::TxFrequency), kDashes);
  EXPECT_EQ(value(ChannelField::TxTone), kDashes);
  EXPECT_EQ(value(ChannelField::OptionA), kDashes);
  EXPECT_EQ(value(ChannelField::RxTone), idText(10029001));
  EXPECT_EQ(value(ChannelField::OptionB), idText(10029012));
  const PlacedText channel = only(page, idText(10030001));
  EXPECT_EQ(channel.role, FontRole::SubHeading);
  EXPECT_EQ(only(page, "3").x, page.frame.left + 240);
}

TEST_F(PrintLayoutTest, ChannelFieldsFillTwoColumnPairsInPortraitAndThreeInLandscape) {
  program(1);
  PrintSelection selection = PrintSelection::printListDefault(16);
  selection.channels = true;
  const auto positions = [&](PageOrientation orientation) {
    const PageContent page = layout(selection, orientation).page(0);
    std::vector<std::pair<int, int>> xy;
    for (int f = 1; f <= 6; ++f) {
      const PlacedText label = only(page, idText(DisplayText::channelHeaderId(static_cast<ChannelField>(f))));
      xy.emplace_back(label.x - page.frame.left, label.y);
    }
    return xy;
  };
  const auto portrait = positions(PageOrientation::Portrait);
  const int top = portrait[0].second;
  EXPECT_EQ(portrait,
            (std::vector<std::pair<int, int>>{
                {20, top}, {20, top - 20}, {20, top - 40}, {20, top - 60}, {375, top}, {375, top - 20}}));
  const auto landscape = positions(PageOrientation::Landscape);
  const int ltop = landscape[0].second;
  EXPECT_EQ(landscape,
            (std::vector<std::pair<int, int>>{
                {20, ltop}, {20, ltop - 20}, {375, ltop}, {375, ltop - 20}, {730, ltop}, {730, ltop - 20}}));
}

TEST_F(PrintLayoutTest, EveryPageFitsItsFrameWithLinesInOrderInBothOrientations) {
  for (int n = 1; n <= 16; ++n)
    program(n, n % 2 ? "146.52" : "150.125");
  PrintSelection selection = PrintSelection::everything(16);
  selection.adjustments = true;
  std::vector<AdjustmentLine> adjustments;
  for (int i = 0; i < 9; ++i)
    adjustments.push_back({"item " + std::to_string(i), 255 - i});
  for (const PageOrientation orientation : {PageOrientation::Portrait, PageOrientation::Landscape}) {
    const PrintLayout print = layout(selection, orientation, adjustments);
    ASSERT_EQ(print.pageCount(), 5);
    for (int p = 0; p < print.pageCount(); ++p) {
      const PageContent page = print.page(p);
      ASSERT_FALSE(page.texts.empty());
      int previousChannel = 0;
      for (const PlacedText& text : page.texts) {
        SCOPED_TRACE("page " + std::to_string(p + 1) + " text \"" + text.text + "\"");
        EXPECT_LE(text.y, page.frame.top);
        EXPECT_GE(text.y - PrintLayout::font(text.role).height, page.frame.bottom);
        EXPECT_GE(text.x, page.frame.left);
        EXPECT_LE(text.x, page.frame.right);
        if (text.role == FontRole::SubHeading && text.x == page.frame.left + 240) {
          EXPECT_GT(std::stoi(text.text), previousChannel);
          previousChannel = std::stoi(text.text);
        }
      }
      for (const PlacedRule& rule : page.rules) {
        EXPECT_GE(rule.y, page.frame.bottom);
        EXPECT_LE(rule.x2, page.frame.right);
      }
      const PlacedText& number = page.texts.front();
      EXPECT_EQ(number.text, std::to_string(p + 1));
      EXPECT_EQ(number.role, FontRole::Header);
      EXPECT_EQ(number.y, page.frame.top);
    }
    EXPECT_EQ(print.page(4).rules.size(), 2u + 9u) << "header rules and one rule under each adjustment";
    EXPECT_TRUE(has(print.page(4), "255"));
    EXPECT_TRUE(has(print.page(4), "item 8"));
  }
}

TEST_F(PrintLayoutTest, AdjustmentLinesAreUnderlinedEighteenUnitsApart) {
  const PrintLayout print =
      layout(PrintSelection::testMode(16), PageOrientation::Portrait, {{"Power", 128}, {"Balance", 7}});
  const PageContent page = print.page(0);
  EXPECT_TRUE(has(page, idText(10009004)));
  const PlacedText power = only(page, "Power");
  const PlacedText balance = only(page, "Balance");
  EXPECT_EQ(power.y - balance.y, 18);
  EXPECT_EQ(valueBeside(page, power), "128");
  EXPECT_EQ(only(page, "128").x, page.frame.left + 315);
  const PlacedRule underline = page.rules.back();
  EXPECT_EQ(underline.x1, page.frame.left + 18);
  EXPECT_EQ(underline.x2, page.frame.left + 350);
  EXPECT_LT(underline.y, balance.y - PrintLayout::font(FontRole::Value).height);
}

// ---- The channel range of the print list ----

TEST(PrintRangeTest, AStartAboveTheEndPullsTheEndUpAndAnEndBelowTheStartPullsTheStartDown) {
  PrintRange range(16);
  range.setLast(8);
  range.setFirst(12);
  EXPECT_EQ(range.first(), 12);
  EXPECT_EQ(range.last(), 12);
  range.setLast(3);
  EXPECT_EQ(range.first(), 3);
  EXPECT_EQ(range.last(), 3);
}

TEST(PrintRangeTest, TypedValuesAreClampedToTheChannelsAndSpinsWrapAround) {
  PrintRange range(16);
  std::string text = "99";
  EXPECT_EQ(range.clampTyped(text), 16);
  EXPECT_EQ(text, "16");
  text = "0";
  EXPECT_EQ(range.clampTyped(text), 1);
  EXPECT_EQ(text, "1");
  range.stepFirst(-1); // 1 down wraps to 16, which pulls the end along
  EXPECT_EQ(range.first(), 16);
  EXPECT_EQ(range.last(), 16);
  range.stepLast(+1); // 16 up wraps to 1, which pulls the start down
  EXPECT_EQ(range.first(), 1);
  EXPECT_EQ(range.last(), 1);
  range.stepLast(+1);
  EXPECT_EQ(range.last(), 2);
  range.reset();
  EXPECT_EQ(range.first(), 1);
  EXPECT_EQ(range.last(), 16);
}

} // namespace
} // namespace vpr
