#include "ViewTestSupport.h"

#include "model/NumberText.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"
#include "views/CToneCombo.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace vpr {
namespace {

using test::pressKey;

constexpr GridColumn kSevenColumns[] = {{10030028, 30, 4, 1}, {10030007, 80, 8, 1}, {10030008, 80, 8, 1},
                                        {10030010, 75, 8, 1}, {10030009, 75, 8, 1}, {10030011, 60, 4, 1},
                                        {10030012, 60, 4, 1}};

// A bare grid of 16 data rows and 7 columns whose Enter key steps one cell, as the views do
// when no editor can open.
class EditGrid : public ::testing::Test {
protected:
  void SetUp() override {
    test::loadLanguage(false);
    grid.setGridSize(17, 7);
    grid.setupColumns(kSevenColumns);
    grid.numberRows();
    grid.setKeyHandler([this](QKeyEvent* event) {
      if (event->key() != Qt::Key_Return) return false;
      ++enterCount;
      grid.step(1, event->modifiers());
      return true;
    });
    grid.resize(grid.contentWidth(), 200);
    ASSERT_TRUE(test::showActive(grid));
    grid.setFocus();
  }
  void at(int row, int col) { grid.setCell(row, col); }
  std::pair<int, int> cell() const { return {grid.row(), grid.col()}; }

  CEditGrid grid;
  int enterCount = 0;
};

TEST_F(EditGrid, StepsWrapIntoTheFollowingRows) {
  at(1, 6);
  grid.step(1, Qt::NoModifier);
  EXPECT_EQ(cell(), std::make_pair(2, 1));
  at(1, 1);
  grid.step(6, Qt::NoModifier);
  EXPECT_EQ(cell(), std::make_pair(2, 1));
  at(1, 3);
  grid.step(3, Qt::NoModifier);
  EXPECT_EQ(cell(), std::make_pair(1, 6));
  grid.step(1, Qt::ShiftModifier);
  EXPECT_EQ(cell(), std::make_pair(1, 6)) << "Shift keeps the cell";
}

TEST_F(EditGrid, EnterOnTheLastCellDoesNotMoveAndDoesNotRepeatWhileHeld) {
  at(16, 6);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
  QKeyEvent autoRelease(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QString(), true);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(&grid, &press);
  EXPECT_EQ(cell(), std::make_pair(16, 6));
  EXPECT_EQ(enterCount, 1);
  QApplication::sendEvent(&grid, &autoRelease);
  QApplication::sendEvent(&grid, &repeat);
  EXPECT_EQ(enterCount, 1) << "a held Enter is ignored";
  QApplication::sendEvent(&grid, &release);
  at(16, 5);
  QApplication::sendEvent(&grid, &press);
  EXPECT_EQ(enterCount, 2) << "released, Enter works again";
  EXPECT_EQ(cell(), std::make_pair(16, 6));
}

TEST_F(EditGrid, ArrowsWrapBetweenRowsButNotPastTheEnds) {
  at(3, 6);
  pressKey(Qt::Key_Right);
  EXPECT_EQ(cell(), std::make_pair(4, 1));
  pressKey(Qt::Key_Left);
  EXPECT_EQ(cell(), std::make_pair(3, 6));
  at(16, 6);
  pressKey(Qt::Key_Right);
  EXPECT_EQ(cell(), std::make_pair(16, 6));
  at(1, 1);
  pressKey(Qt::Key_Left);
  EXPECT_EQ(cell(), std::make_pair(1, 1)) << "the number column never takes the cursor";
  pressKey(Qt::Key_Home);
  EXPECT_EQ(grid.col(), 1);
}

TEST_F(EditGrid, PagingStopsAtTheFirstAndLastRow) {
  const int page = grid.rowsPerPage();
  ASSERT_GT(page, 1);
  ASSERT_LT(page, 16);
  at(1, 2);
  for (int i = 0; i < 6; ++i)
    pressKey(Qt::Key_PageDown);
  EXPECT_EQ(cell(), std::make_pair(16, 2));
  for (int i = 0; i < 6; ++i)
    pressKey(Qt::Key_PageUp);
  EXPECT_EQ(cell(), std::make_pair(1, 2));
  pressKey(Qt::Key_PageDown);
  EXPECT_GT(grid.row(), 1);
  EXPECT_LE(grid.row(), 1 + page);
}

TEST_F(EditGrid, PagingLeavesRowSelection) {
  grid.setRowSelection(true);
  pressKey(Qt::Key_PageDown);
  EXPECT_FALSE(grid.rowSelection());
}

TEST_F(EditGrid, EditorsNeverOpenOnTheHeaderOrNumberColumn) {
  QLineEdit editor;
  grid.setCurrentCell(-1, -1);
  EXPECT_FALSE(grid.openTextEditor(&editor, "1", true));
  EXPECT_EQ(grid.editorKind(), CEditGrid::EditorKind::None);
  EXPECT_FALSE(grid.closeEditor(false));
}

TEST_F(EditGrid, TheTextEditorSitsInsideItsCellAndBlanksIt) {
  auto* editor = new QLineEdit(grid.viewport());
  at(2, 3);
  grid.setCellText(2, 3, "old");
  ASSERT_TRUE(grid.openTextEditor(editor, "old", true));
  EXPECT_TRUE(grid.visualItemRect(grid.item(1, 3)).contains(editor->geometry()));
  EXPECT_EQ(editor->selectedText(), "old");
  EXPECT_EQ(grid.savedCellText(), "old");
  EXPECT_TRUE(grid.cellText(2, 3).isEmpty());
  EXPECT_TRUE(grid.closeEditor(true));
  EXPECT_TRUE(editor->text().isEmpty());
  EXPECT_FALSE(editor->isVisible());
}

TEST_F(EditGrid, ScrollingTakesFocusFromAnOpenEditorSoThatTheViewCommitsIt) {
  auto* editor = new QLineEdit(grid.viewport());
  at(2, 2);
  ASSERT_TRUE(grid.openTextEditor(editor, "150", true));
  ASSERT_TRUE(editor->hasFocus());
  grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_TRUE(grid.hasFocus());
  EXPECT_EQ(grid.topRow(), 2);
}

TEST_F(EditGrid, TheWheelScrollsThreeRowsPerNotch) {
  QWheelEvent down(QPointF(20, 20), grid.mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid.viewport(), &down);
  EXPECT_EQ(grid.topRow(), 4);
}

TEST_F(EditGrid, ContextMenusOpenOnlyInsideTheRowSelection) {
  at(4, 2);
  EXPECT_FALSE(grid.menuAllowedAt(4));
  test::clickCell(grid, 4, 0);
  test::clickCell(grid, 6, 0, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_TRUE(grid.menuAllowedAt(5));
  EXPECT_FALSE(grid.menuAllowedAt(7));
  EXPECT_FALSE(grid.menuAllowedAt(0));
  test::clickCell(grid, 1, 0);
  test::clickCell(grid, 16, 0, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_TRUE(grid.menuAllowedAt(0)) << "all rows selected: the header row opens it";
}

class EditorFilter : public ::testing::TestWithParam<char> {
protected:
  void SetUp() override { NumberText::setDecimalSeparator(GetParam()); }
  void TearDown() override { NumberText::setDecimalSeparator('.'); }
};

TEST_P(EditorFilter, FrequencyEditorTakesOneSeparatorTurnedIntoTheLocaleOne) {
  CFilterEdit edit;
  edit.setInputMode(CFilterEdit::FrequencyInput);
  edit.setMaxLength(10);
  QTest::keyClicks(&edit, "1.2.3");
  const QString sep(QChar::fromLatin1(GetParam()));
  EXPECT_EQ(edit.text(), "1" + sep + "23");
  edit.selectAll();
  QTest::keyClicks(&edit, ",5");
  EXPECT_EQ(edit.text(), sep + "5") << "a separator replacing the old one is taken";
  edit.clear();
  QTest::keyClicks(&edit, "12345678901234");
  EXPECT_EQ(edit.text().size(), 10);
}

TEST_P(EditorFilter, PastedTextIsFilteredCharacterByCharacter) {
  CFilterEdit edit;
  edit.setInputMode(CFilterEdit::FrequencyInput);
  QGuiApplication::clipboard()->setText("abc14x5.1.2");
  QTest::keySequence(&edit, QKeySequence::Paste);
  EXPECT_EQ(edit.text(), QString("145") + QChar::fromLatin1(GetParam()) + "12");
}

INSTANTIATE_TEST_SUITE_P(Separators, EditorFilter, ::testing::Values('.', ','));

TEST(FilterEditModes, EachModeAcceptsOnlyItsCharacters) {
  const auto accepted = [](int mode, QChar c) { return CFilterEdit::filterChar(mode, "", 0, 0, c); };
  EXPECT_FALSE(accepted(CFilterEdit::NoInput, '1'));
  EXPECT_EQ(accepted(CFilterEdit::AnyInput, 'x'), QChar('x'));
  EXPECT_EQ(accepted(CFilterEdit::DigitInput, '7'), QChar('7'));
  EXPECT_FALSE(accepted(CFilterEdit::DigitInput, '.'));
  EXPECT_FALSE(accepted(CFilterEdit::DigitInput, QChar(0x0663))) << "only ASCII digits";
  EXPECT_EQ(accepted(CFilterEdit::HexInput, 'c'), QChar('C'));
  EXPECT_FALSE(accepted(CFilterEdit::HexInput, 'g'));
  EXPECT_FALSE(accepted(CFilterEdit::AnyInput, ' ')) << "blanks and control characters never qualify";
}

TEST(ToneComboFilter, BuildsDcsCodesAndRefusesStrayLetters) {
  CToneCombo combo;
  combo.fillToneList();
  EXPECT_EQ(combo.count(), 205);
  EXPECT_EQ(combo.itemText(1), "67.0");
  EXPECT_EQ(combo.itemText(39), "D023N");
  combo.setEditText("");
  QTest::keyClicks(&combo, "nd023nx9");
  EXPECT_EQ(combo.currentText(), "D023N") << "N before D, letters and a sixth character are refused";
  combo.setEditText("");
  QTest::keyClicks(&combo, "12dd");
  EXPECT_EQ(combo.currentText(), "12d") << "a second D is refused; a lower-case d after the start stays";
  EXPECT_FALSE(CToneCombo::filterChar("", 0, 0, 'I'));
  EXPECT_EQ(CToneCombo::filterChar("67.0", 0, 4, 'i'), QChar('I')) << "replacing the whole text";
}

} // namespace
} // namespace vpr
