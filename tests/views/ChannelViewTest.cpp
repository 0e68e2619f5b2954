#include "ViewTestSupport.h"

#include "lang/CLanguageTable.h"
#include "model/DisplayText.h"
#include "views/CChInfoView.h"
#include "views/CFilterEdit.h"
#include "views/CToneCombo.h"

#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>

namespace vpr {
namespace {

using test::clickCell;
using test::pressKey;
using test::typeKeys;

class ChannelView : public ::testing::Test, protected test::ViewFixtureData {
protected:
  void SetUp() override {
    view = std::make_unique<CChInfoView>(data, ui);
    ASSERT_TRUE(test::showActive(*view));
    grid = view->grid();
    grid->setFocus();
  }

  void program(int n, const char* rx) {
    std::string text = rx;
    data.setChannelFrequency(n, text, FrequencyField::Receive);
    view->reloadFromImage();
  }
  QString cell(int row, int col) const { return grid->cellText(row, col); }
  QString text(int id) const { return QString::fromStdString(textOf(id)); }
  ChannelRecord record(int n) const { return data.channelSlot(n); }

  std::unique_ptr<CChInfoView> view;
  CEditGrid* grid = nullptr;
};

TEST_F(ChannelView, EnterOnColumnOneOfAReceiveOnlyChannelGoesToTheNextRow) {
  program(1, "150.000");
  std::string none;
  data.setChannelFrequency(1, none, FrequencyField::Transmit);
  view->reloadFromImage();
  grid->setCell(1, 1);
  pressKey(Qt::Key_Return);
  ASSERT_EQ(grid->editorKind(), CEditGrid::EditorKind::Text);
  pressKey(Qt::Key_Return);
  EXPECT_EQ(grid->row(), 2);
  EXPECT_EQ(grid->col(), 1);
}

TEST_F(ChannelView, ClearingColumnOneDeletesTheWholeChannel) {
  program(3, "151.000");
  grid->setCell(3, 1);
  pressKey(Qt::Key_Backspace);
  ASSERT_EQ(grid->editorKind(), CEditGrid::EditorKind::Text);
  EXPECT_TRUE(view->frequencyEditor()->text().isEmpty());
  pressKey(Qt::Key_Down);
  EXPECT_EQ(grid->row(), 3) << "the grid does not move under an open editor";
  clickCell(*grid, 8, 1); // leaving the cell commits the empty entry
  EXPECT_FALSE(data.channelRecord(3));
  EXPECT_EQ(record(3), ChannelRecord::empty());
  for (int col = 1; col <= 6; ++col)
    EXPECT_TRUE(cell(3, col).isEmpty()) << col;
  EXPECT_EQ(cell(3, 0), "3");
}

TEST_F(ChannelView, ClearingColumnTwoMakesTransmitToneAndOptionAUnreachable) {
  program(1, "150.000");
  grid->setCell(1, 2);
  pressKey(Qt::Key_Delete);
  pressKey(Qt::Key_Return);
  ASSERT_TRUE(data.channelRecord(1));
  EXPECT_FALSE(record(1).hasTransmit());
  EXPECT_EQ(record(1).txTone(), kToneOff);
  EXPECT_TRUE(cell(1, 2).isEmpty());

  for (const int col : {4, 5}) {
    grid->setFocus();
    clickCell(*grid, 1, col);
    EXPECT_EQ(grid->col(), 2) << "a click on column " << col << " opens column 2";
    EXPECT_EQ(grid->openEditor(), view->frequencyEditor());
    pressKey(Qt::Key_Escape);
  }
}

TEST_F(ChannelView, ColumnsOfAnEmptyChannelSendTheEditorToColumnOne) {
  clickCell(*grid, 4, 3);
  EXPECT_EQ(grid->row(), 4);
  EXPECT_EQ(grid->col(), 1);
  EXPECT_EQ(grid->openEditor(), view->frequencyEditor());
}

TEST_F(ChannelView, AHeaderClickEditsThatColumnOfTheCurrentRow) {
  program(2, "150.000");
  grid->setCell(2, 1);
  QHeaderView* header = grid->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(header->sectionViewportPosition(3) + 5, header->height() / 2));
  EXPECT_EQ(grid->row(), 2);
  EXPECT_EQ(grid->col(), 3);
  EXPECT_EQ(grid->openEditor(), view->toneEditor());
}

TEST_F(ChannelView, AClickBelowTheLastRowOpensNothing) {
  data.resetToModel(ModelCatalogue::modelCodeForRow(0));
  view->reloadFromImage();
  view->resize(view->width(), 400);
  grid->setMaximumHeight(300);
  grid->resize(grid->width(), 300);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(80, grid->viewport()->height() - 5));
  EXPECT_EQ(grid->editorKind(), CEditGrid::EditorKind::None);
}

TEST_F(ChannelView, TypedDcsCodeIsUpperCasedAndStoredInBothTones) {
  program(1, "150.000");
  grid->setCell(1, 3);
  typeKeys("d023n");
  EXPECT_EQ(view->toneEditor()->currentText(), "D023N");
  pressKey(Qt::Key_Return);
  EXPECT_EQ(record(1).rxTone(), 0x8023);
  EXPECT_EQ(record(1).txTone(), 0x8023) << "a typed receive tone also fills an unset transmit tone";
  EXPECT_EQ(cell(1, 3), "D023N");
  EXPECT_EQ(grid->col(), 4);
}

TEST_F(ChannelView, EscapeInTheToneEditorKeepsTheTypedTone) {
  program(1, "150.000");
  grid->setCell(1, 4);
  typeKeys("100");
  pressKey(Qt::Key_Escape);
  EXPECT_EQ(record(1).txTone(), 0x1000);
  EXPECT_EQ(grid->editorKind(), CEditGrid::EditorKind::None);
}

TEST_F(ChannelView, AnOutOfRangeToneIsBroughtIntoRange) {
  program(1, "150.000");
  grid->setCell(1, 3);
  typeKeys("999");
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(1, 3), "250.3");
  grid->setCell(1, 3);
  typeKeys("d89");
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(1, 3), "D770N") << "digits above 7 become 7, a missing digit 0";
}

TEST_F(ChannelView, PasteFromAnOpenEditorCommitsItFirst) {
  program(1, "151.000");
  grid->setCell(1, 1);
  view->copyRows();
  grid->setCell(2, 1);
  typeKeys("152");
  pressKey(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid->editorKind(), CEditGrid::EditorKind::None);
  EXPECT_EQ(QApplication::focusWidget(), grid);
  EXPECT_EQ(record(2), record(1)) << "the pasted record replaced the committed entry";
}

TEST_F(ChannelView, PickingAToneFromTheListStoresItAtOnce) {
  program(1, "150.000");
  grid->setCell(1, 4);
  pressKey(Qt::Key_Return);
  ASSERT_EQ(grid->openEditor(), view->toneEditor());
  view->toneEditor()->setCurrentIndex(1);
  emit view->toneEditor()->activated(1);
  EXPECT_EQ(record(1).txTone(), 0x0670);
  EXPECT_EQ(record(1).rxTone(), kToneOff);
  EXPECT_EQ(grid->openEditor(), view->toneEditor()) << "the editor stays open after a pick";
}

TEST_F(ChannelView, OptionEditorStoresTheChosenValue) {
  program(1, "150.000");
  grid->setCell(1, 6);
  pressKey(Qt::Key_Return);
  QComboBox* options = view->optionEditor();
  ASSERT_EQ(grid->openEditor(), options);
  ASSERT_EQ(options->count(), 2);
  options->setCurrentIndex(0);
  emit options->activated(0);
  EXPECT_EQ(record(1).optionB(), 0);
  EXPECT_EQ(cell(1, 6), text(10029011));
}

TEST_F(ChannelView, LettersAndASecondSeparatorNeverReachTheFrequency) {
  grid->setCell(1, 1);
  typeKeys("1x5a0.1.2,5");
  EXPECT_EQ(view->frequencyEditor()->text(), "150.125");
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(1, 1), "150.12500");
}

TEST_F(ChannelView, NoTypedTextLeavesAnInvalidFrequencyCode) {
  const auto validBcd = [](const FrequencyCode& code) {
    for (const std::uint8_t byte : code)
      if ((byte >> 4) > 9 || (byte & 0x0F) > 9) return false;
    return true;
  };
  int row = 1;
  for (const char* typed : {".", "0", "9999999999", "0.0000001", ",5", "00000000.1", "174.0000049"}) {
    grid->setFocus();
    grid->setCell(row, 1);
    typeKeys(typed);
    pressKey(Qt::Key_Return);
    const ChannelRecord r = record(row);
    if (r.isProgrammed()) {
      EXPECT_TRUE(validBcd(r.rxFreq())) << typed;
      EXPECT_TRUE(validBcd(r.txFreq())) << typed;
      EXPECT_LE(r.rxStepCode(), 1) << typed;
      const double mhz = cell(row, 1).toDouble();
      EXPECT_GE(mhz, 150.0) << typed;
      EXPECT_LE(mhz, 174.0) << typed;
    } else {
      EXPECT_EQ(r, ChannelRecord::empty()) << typed;
    }
    ++row;
  }
}

TEST_F(ChannelView, CopyOfRowsTwoToFourPastedAtRowTenChangesRowsTenAndTwelveOnly) {
  program(2, "152.000");
  program(4, "154.000");
  for (int n = 10; n <= 13; ++n)
    program(n, "160.000");
  const ChannelRecord eleven = record(11);
  const ChannelRecord thirteen = record(13);

  clickCell(*grid, 2, 0);
  clickCell(*grid, 4, 0, Qt::LeftButton, Qt::ShiftModifier);
  ASSERT_EQ(grid->selectedRowRange(), std::make_pair(2, 4));
  pressKey(Qt::Key_C, Qt::ControlModifier);
  clickCell(*grid, 10, 0);
  pressKey(Qt::Key_V, Qt::ControlModifier);

  EXPECT_EQ(cell(10, 1), "152.00000");
  EXPECT_EQ(record(11), eleven);
  EXPECT_EQ(cell(12, 1), "154.00000");
  EXPECT_EQ(record(13), thirteen);
}

TEST_F(ChannelView, DeleteKeyInRowSelectionDeletesTheSelectedChannels) {
  program(5, "155.000");
  program(6, "156.000");
  program(7, "157.000");
  grid->setCell(5, 2);
  pressKey(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_TRUE(grid->rowSelection());
  EXPECT_EQ(grid->selectedRowRange(), std::make_pair(5, 6));
  pressKey(Qt::Key_Delete);
  EXPECT_FALSE(data.channelRecord(5));
  EXPECT_FALSE(data.channelRecord(6));
  EXPECT_TRUE(data.channelRecord(7));
  pressKey(Qt::Key_Down);
  EXPECT_FALSE(grid->rowSelection()) << "a plain arrow leaves row selection";
}

TEST_F(ChannelView, ToClipWithTitleOfAnEmptyChannelFive) {
  clickCell(*grid, 5, 0);
  view->rowsToClipboard(true);
  QString expected;
  for (int col = 0; col < 7; ++col) {
    if (col) expected += '\t';
    expected += QString::fromStdString(textOf(DisplayText::channelHeaderId(ChannelField(col))));
  }
  expected += "\n5\t\t\t\t\t\t";
  EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
  EXPECT_FALSE(grid->rowSelection());
}

TEST_F(ChannelView, ToClipNeedsRowSelection) {
  QGuiApplication::clipboard()->setText("before");
  view->rowsToClipboard(false);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
}

TEST_F(ChannelView, TitleFollowsTheCurrentRow) {
  grid->setCell(7, 2);
  EXPECT_EQ(view->viewTitle(), QString("%1 [ %2 - 7 ]").arg(text(10027012), text(10030001)));
  EXPECT_EQ(view->windowTitle(), view->viewTitle());
}

TEST_F(ChannelView, HelpContextFollowsTheCurrentColumn) {
  grid->setCell(1, 3);
  EXPECT_EQ(view->helpContext(), 200964);
  grid->setCell(1, 6);
  EXPECT_EQ(view->helpContext(), 200967);
}

TEST_F(ChannelView, RowsFollowTheChannelCountAfterAModelChange) {
  data.resetToModel(ModelCatalogue::modelCodeForRow(0));
  view->reloadFromImage();
  EXPECT_EQ(grid->rows(), 3);
}

} // namespace
} // namespace vpr
