#include "model/UndoHistory.h"
#include "model/ModelSelection.h"
#include "model/RadioData.h"
#include "tests/model/ModelTestSupport.h"

#include "support/FakeUserInterface.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

namespace vpr {
namespace {

constexpr int kRowHx4470Vhf1 = 2;  // 16 channels, wide or narrow
constexpr int kRowHx4410Vhf1 = 0;  // 2 channels
constexpr int kRowHx5470Uhf6 = 16; // only narrow

ImageState stateWithByte(std::size_t offset, std::uint8_t value) {
  ImageState state{clearedImage(), 0};
  state.image[offset] = value;
  return state;
}

TEST(UndoHistoryTest, UndoAndRedoWalkTheStepsInOrderAndNameThem) {
  UndoHistory history;
  const ImageState start = stateWithByte(0, 0xFF);
  const ImageState one = stateWithByte(0, 1);
  const ImageState two = stateWithByte(0, 2);
  history.reset(start);
  ASSERT_TRUE(history.record(one, "first"));
  ASSERT_TRUE(history.record(two, "second"));

  EXPECT_EQ(history.undoName(), "second");
  EXPECT_EQ(history.undo(), one);
  EXPECT_EQ(history.undoName(), "first");
  EXPECT_EQ(history.redoName(), "second");
  EXPECT_EQ(history.undo(), start);
  EXPECT_FALSE(history.canUndo());
  EXPECT_EQ(history.undo(), std::nullopt);
  EXPECT_EQ(history.current(), start);

  EXPECT_EQ(history.redo(), one);
  EXPECT_EQ(history.redo(), two);
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.redo(), std::nullopt);
  EXPECT_EQ(history.undoName(), "second");
}

TEST(UndoHistoryTest, ANewStepAfterAnUndoForgetsWhatCouldBeRedone) {
  UndoHistory history;
  history.reset(stateWithByte(0, 0xFF));
  history.record(stateWithByte(0, 1), "first");
  history.undo();
  ASSERT_TRUE(history.canRedo());
  history.record(stateWithByte(0, 3), "other");
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.undoName(), "other");
  EXPECT_EQ(history.undoCount(), 1u);
}

TEST(UndoHistoryTest, AnUnchangedStateIsNoStep) {
  UndoHistory history;
  history.reset(stateWithByte(5, 0x10));
  EXPECT_FALSE(history.record(stateWithByte(5, 0x10), "nothing"));
  EXPECT_FALSE(history.canUndo());
  // The wide/narrow setting alone is a change.
  ImageState narrow = stateWithByte(5, 0x10);
  narrow.narrowSetting = 1;
  EXPECT_TRUE(history.record(narrow, "narrow"));
}

TEST(UndoHistoryTest, KeepsAThousandStepsAndForgetsTheOldestBeyond) {
  UndoHistory history;
  history.reset(stateWithByte(0, 0));
  for (int i = 1; i <= 1005; ++i)
    history.record(stateWithByte(static_cast<std::size_t>(i % 1024), static_cast<std::uint8_t>(i % 250 + 1)),
                   "step " + std::to_string(i));
  EXPECT_EQ(history.undoCount(), UndoHistory::kDefaultCapacity);
  int undone = 0;
  while (history.undo())
    ++undone;
  EXPECT_EQ(undone, 1000);
  // The oldest state still reachable is the one after step 5.
  EXPECT_EQ(history.current(), stateWithByte(5, 6));
  EXPECT_EQ(history.redoName(), "step 6");
}

TEST(UndoHistoryTest, ResetForgetsEveryStepAndTellsTheListener) {
  UndoHistory history;
  int calls = 0;
  history.setOnChange([&calls] { ++calls; });
  history.reset(stateWithByte(0, 0));
  history.record(stateWithByte(0, 1), "a");
  history.undo();
  history.redo();
  EXPECT_EQ(calls, 4);
  history.reset(stateWithByte(0, 9));
  EXPECT_FALSE(history.canUndo());
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.current(), stateWithByte(0, 9));
}

class RadioDataUndoTest : public test::SeparatorTest {
protected:
  void SetUp() override {
    SeparatorTest::SetUp();
    data.resetToModel(ModelCatalogue::modelCodeForRow(kRowHx4470Vhf1));
  }
  std::string local(const char* text) { return SeparatorTest::local(text); }

  RadioData data;
};

TEST_P(RadioDataUndoTest, UndoingBackToTheSavedImageMakesItUnmodified) {
  std::string text = local("155.5");
  data.setChannelFrequency(1, text, FrequencyField::Receive);
  data.recordStep("a");
  data.markSaved();
  text = local("160");
  data.setChannelFrequency(1, text, FrequencyField::Transmit);
  data.recordStep("b");
  EXPECT_TRUE(data.isModified());
  data.undoStep();
  EXPECT_FALSE(data.isModified());
  data.undoStep();
  EXPECT_TRUE(data.isModified()); // before the save is a change against the saved file
}

TEST_P(RadioDataUndoTest, TheWideNarrowSettingComesBackWithItsStep) {
  data.applyNarrowSetting(1);
  ASSERT_TRUE(data.recordStep("Wide/Narrow"));
  ASSERT_TRUE(data.undoStep());
  EXPECT_EQ(data.narrowSetting(), 0);
  ASSERT_TRUE(data.redoStep());
  EXPECT_EQ(data.narrowSetting(), 1);
}

TEST_P(RadioDataUndoTest, NewOpenAndReadStartAFreshHistory) {
  const auto makeStep = [this] {
    std::string text = local("155.5");
    data.setChannelFrequency(2, text, FrequencyField::Receive);
    ASSERT_TRUE(data.recordStep("step"));
  };
  makeStep();
  data.newImage();
  EXPECT_FALSE(data.history().canUndo());

  makeStep();
  data.transferImage = test::rowImage(kRowHx4410Vhf1);
  data.adoptTransferImage(); // Open and Read end here
  EXPECT_FALSE(data.history().canUndo());
  EXPECT_FALSE(data.history().canRedo());
}

TEST_P(RadioDataUndoTest, SavingKeepsTheHistory) {
  data.setMoniKey(2);
  data.recordStep("Moni Key");
  data.markSaved();
  EXPECT_TRUE(data.history().canUndo());
}

TEST_P(RadioDataUndoTest, AModelChangeIsOneStepThatBringsBackModelBandLimitsAndSetting) {
  std::string text = local("155.5");
  data.setChannelFrequency(1, text, FrequencyField::Receive);
  data.recordStep("RX Freq. of channel 1");
  const RadioImage before = data.editImage;
  const BandLimits limitsBefore = data.bandLimits();

  test::FakeUserInterface ui;
  ui.answers.push_back(MessageAnswer::Ok);
  ModelSelection selection(data);
  RadioData target = [] {
    RadioData scratch;
    scratch.resetToModel(ModelCatalogue::modelCodeForRow(kRowHx5470Uhf6));
    return scratch;
  }();
  selection.pickModel(ModelSelection(target).selectedModelIndex());
  selection.pickBand(ModelSelection(target).selectedBandIndex());
  ASSERT_EQ(selection.accept(ui, {}), ModelSelection::Outcome::Applied);
  ASSERT_EQ(data.modelCode(), target.modelCode());
  EXPECT_EQ(data.narrowSetting(), 1);

  ASSERT_TRUE(data.undoStep());
  EXPECT_EQ(data.editImage, before);
  EXPECT_EQ(data.bandLimits().lower, limitsBefore.lower);
  EXPECT_EQ(data.bandLimits().upper, limitsBefore.upper);
  EXPECT_EQ(data.narrowSetting(), 0);
  EXPECT_EQ(data.history().undoName(), "RX Freq. of channel 1");

  ASSERT_TRUE(data.redoStep());
  EXPECT_EQ(data.modelCode(), target.modelCode());
  EXPECT_EQ(data.bandLimits().lower, target.bandLimits().lower);
  EXPECT_EQ(data.narrowSetting(), 1);
}

INSTANTIATE_TEST_SUITE_P(Separators, RadioDataUndoTest, ::testing::Values('.', ','));

} // namespace
} // namespace vpr
