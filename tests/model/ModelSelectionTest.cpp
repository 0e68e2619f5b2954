#include "model/ModelSelection.h"

#include "support/FakeUserInterface.h"
#include "support/TestImages.h"
#include "tests/model/ModelTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vpr {
namespace {

using test::idText;

class ModelSelectionTest : public test::LanguageTest {
protected:
  void SetUp() override {
    LanguageTest::SetUp();
    data.resetToModel(ModelCatalogue::modelCodeForRow(16)); // HX-5470/5470M, UHF 6
    hooks.closeAllViews = [this] { steps.push_back("close"); };
    hooks.resetFileName = [this] { steps.push_back("file name"); };
    hooks.rebuildMenus = [this] { steps.push_back("menus"); };
    hooks.openChannelView = [this] { steps.push_back("channel view"); };
  }

  int modelIndexOf(const std::string& name) const {
    for (std::size_t i = 0; i < ModelCatalogue::modelList().size(); ++i)
      if (ModelCatalogue::modelList()[i].text == name) return static_cast<int>(i);
    return -1;
  }

  RadioData data;
  test::FakeUserInterface ui;
  ModelSelection::Hooks hooks;
  std::vector<std::string> steps;
};

TEST_F(ModelSelectionTest, OpensOnTheImagesModelAndBand) {
  ModelSelection selection(data);
  EXPECT_EQ(selection.modelList()[static_cast<std::size_t>(selection.selectedModelIndex())].text,
            "HX-5470/5470M");
  EXPECT_EQ(selection.bandList()[static_cast<std::size_t>(selection.selectedBandIndex())].text,
            "UHF 6:440-460 MHz");
  EXPECT_FALSE(selection.isChange());
}

TEST_F(ModelSelectionTest, AnotherModelKeepsTheBandOrFallsBackToItsFirst) {
  ModelSelection selection(data);
  selection.pickModel(modelIndexOf("HX-5410"));
  EXPECT_EQ(selection.bandList().size(), 4u);
  EXPECT_EQ(selection.selectedBandIndex(), 0);
  EXPECT_EQ(selection.chosenBandByte(), 0x24);

  selection.pickBand(1); // UHF 2
  selection.pickModel(modelIndexOf("HX-5410M"));
  EXPECT_EQ(selection.bandList()[static_cast<std::size_t>(selection.selectedBandIndex())].text,
            "UHF 2:470-490 MHz");
  EXPECT_EQ(selection.chosenBandByte(), 0xF5);
}

TEST_F(ModelSelectionTest, OkWithoutAChangeKeepsTheImageAndAsksNothing) {
  std::string text = "445";
  data.setChannelFrequency(1, text, FrequencyField::Receive);
  data.markSaved();
  ModelSelection selection(data);
  EXPECT_EQ(selection.accept(ui, hooks), ModelSelection::Outcome::Applied);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_TRUE(data.channelRecord(1));
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(steps, (std::vector<std::string>{"close", "menus", "channel view"}));
}

TEST_F(ModelSelectionTest, CancellingTheConfirmationChangesNothing) {
  const RadioImage before = data.editImage;
  ModelSelection selection(data);
  selection.pickModel(modelIndexOf("HX-4410"));
  ui.answers.push_back(MessageAnswer::Cancel);
  EXPECT_EQ(selection.accept(ui, hooks), ModelSelection::Outcome::Cancelled);
  ASSERT_EQ(ui.messageTexts(), (std::vector<std::string>{idText(10026013)}));
  EXPECT_EQ(ui.messages[0].kind, MessageKind::Confirmation);
  EXPECT_EQ(data.editImage, before);
  EXPECT_TRUE(steps.empty());
}

TEST_F(ModelSelectionTest, AConfirmedChangeBuildsTheNewModelsDefaultImage) {
  std::string text = "445";
  data.setChannelFrequency(1, text, FrequencyField::Receive);
  data.copyChannels(1, 1);
  ModelSelection selection(data);
  selection.pickModel(modelIndexOf("HX-4410"));
  selection.pickBand(1); // VHF 2
  ui.answers.push_back(MessageAnswer::Ok);
  EXPECT_EQ(selection.accept(ui, hooks), ModelSelection::Outcome::Applied);

  EXPECT_EQ(data.findModelRow(), 1);
  EXPECT_EQ(data.editImage, test::rowImage(1));
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(data.bandLimits().lower, 136.0);
  EXPECT_EQ(data.narrowSetting(), 0);
  EXPECT_TRUE(data.channelClipboard().isEmpty());
  EXPECT_EQ(steps, (std::vector<std::string>{"close", "file name", "menus", "channel view"}));
}

} // namespace
} // namespace vpr
