#include "ViewTestSupport.h"

#include "lang/CLanguageTable.h"
#include "views/CFilterEdit.h"
#include "views/CTestFreqView.h"

#include <gtest/gtest.h>
#include <memory>

namespace vpr {
namespace {

using test::clickCell;
using test::pressKey;
using test::typeKeys;

class TestFrequencyView : public ::testing::Test, protected test::ViewFixtureData {
protected:
  void SetUp() override {
    view = std::make_unique<CTestFreqView>(data, ui);
    ASSERT_TRUE(test::showActive(*view));
    grid = view->grid();
    grid->setFocus();
  }
  QString cell(int row, int col) const { return grid->cellText(row, col); }
  TestFreqRecord record(int k) const { return data.testFrequency(k); }

  std::unique_ptr<CTestFreqView> view;
  CEditGrid* grid = nullptr;
};

TEST_F(TestFrequencyView, ShowsTheBandDefaultsInSixteenRows) {
  EXPECT_EQ(grid->rows(), 17);
  EXPECT_EQ(cell(1, 1), "162.10000");
  EXPECT_EQ(cell(1, 2), "162.00000");
  EXPECT_TRUE(cell(9, 1).isEmpty());
  EXPECT_EQ(cell(16, 0), "16");
}

TEST_F(TestFrequencyView, ClearingTheTransmitCellErasesTheWholeRecord) {
  grid->setCell(2, 2);
  pressKey(Qt::Key_Backspace);
  pressKey(Qt::Key_Return);
  EXPECT_EQ(record(2), TestFreqRecord::empty());
  EXPECT_TRUE(cell(2, 1).isEmpty());
}

TEST_F(TestFrequencyView, DeletingTheLastTestFrequencyBringsBackTheBandDefaults) {
  for (int k = 2; k <= 16; ++k) {
    std::string none;
    data.setTestFrequency(k, none, FrequencyField::Receive);
  }
  std::string changed = "151.000000";
  data.setTestFrequency(1, changed, FrequencyField::Receive);
  view->reloadFromImage();
  ASSERT_TRUE(cell(2, 1).isEmpty());

  grid->setCell(1, 1);
  pressKey(Qt::Key_Delete);
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(1, 1), "162.10000") << "the defaults are back";
  EXPECT_EQ(cell(8, 2), "162.65000");
  EXPECT_TRUE(record(8).isProgrammed());
}

TEST_F(TestFrequencyView, RowDeleteOfEverythingBringsBackTheDefaults) {
  clickCell(*grid, 1, 0);
  clickCell(*grid, 16, 0, Qt::LeftButton, Qt::ShiftModifier);
  pressKey(Qt::Key_Delete);
  EXPECT_EQ(cell(1, 1), "162.10000");
  EXPECT_TRUE(cell(9, 1).isEmpty());
}

TEST_F(TestFrequencyView, EnterOnColumnTwoOfAnEmptyRowMovesToColumnOneOfTheNextRow) {
  grid->setCell(12, 2);
  pressKey(Qt::Key_Return);
  EXPECT_EQ(grid->editorKind(), CEditGrid::EditorKind::None);
  EXPECT_EQ(grid->row(), 13);
  EXPECT_EQ(grid->col(), 1);
}

TEST_F(TestFrequencyView, TypingOnColumnTwoOfAnEmptyRowEditsColumnOne) {
  grid->setCell(12, 2);
  typeKeys("160");
  EXPECT_EQ(grid->col(), 1);
  EXPECT_EQ(view->frequencyEditor()->text(), "160");
}

TEST_F(TestFrequencyView, PastingThreeRecordsAtRowFifteenChangesFifteenAndSixteenOnly) {
  clickCell(*grid, 8, 0);
  clickCell(*grid, 10, 0, Qt::LeftButton, Qt::ShiftModifier);
  pressKey(Qt::Key_C, Qt::ControlModifier);
  const TestFreqRecord eight = record(8);
  clickCell(*grid, 15, 0);
  pressKey(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(record(15).rxFreq(), eight.rxFreq());
  EXPECT_EQ(record(16), TestFreqRecord::empty()) << "an empty copied record empties its target";
  EXPECT_EQ(record(14), TestFreqRecord::empty());
}

TEST_F(TestFrequencyView, ClosingShowsTheNoteFirst) {
  EXPECT_TRUE(view->queryClose());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, textOf(10026021));
  EXPECT_EQ(ui.messages[0].caption, textOf(10027010));
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
}

} // namespace
} // namespace vpr
