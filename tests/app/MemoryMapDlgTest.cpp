// The Memory Map window driven with real keys and clicks: layout, entries, cursor rules, the
// address edit, Close and Escape.
#include "app/CMemoryMapDlg.h"
#include "model/MemoryMap.h"
#include "model/RadioData.h"
#include "support/TestLanguage.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"
#include "views/ViewTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vpr {
namespace {

using test::pressKey;
using test::typeKeys;

class MemoryMapDlgTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::loadLanguage();
    data.startUp(std::nullopt);
    for (std::size_t i = 0; i < 16; ++i)
      data.editImage[i] = static_cast<std::uint8_t>(0x30 + i);
    MemoryMap::Configuration setup;
    setup.source = data.editImage;
    map.configure(setup);
    before = data.editImage;
    openWindow();
  }
  void openWindow() {
    dialog = std::make_unique<CMemoryMapDlg>(map);
    ASSERT_TRUE(test::showActive(*dialog));
    grid = dialog->grid();
    ASSERT_TRUE(grid->hasFocus());
  }
  // Clicks Close and tells whether the window ended with OK (the image changed).
  bool clickClose() {
    QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    return dialog->result() == QDialog::Accepted;
  }
  QString cell(int row, int col) const { return grid->cellText(row, col); }

  RadioData data;
  MemoryMap map;
  RadioImage before{};
  std::unique_ptr<CMemoryMapDlg> dialog;
  CEditGrid* grid = nullptr;
};

TEST_F(MemoryMapDlgTest, TheFirstOpeningShowsOffsetZeroBottomLeftAndTheHighestRowOnTop) {
  EXPECT_EQ(grid->rows(), 65);
  EXPECT_EQ(grid->cols(), 34);
  EXPECT_EQ(grid->row(), 64);
  EXPECT_EQ(grid->col(), 1);
  EXPECT_EQ(grid->topRow(), 49);
  EXPECT_EQ(cell(64, 0), "   0000_");
  EXPECT_EQ(cell(1, 0), "   003F_");
  EXPECT_EQ(cell(64, 1), "30");
  EXPECT_EQ(cell(64, 16), "3F");
  EXPECT_EQ(cell(64, 18), "0");
  EXPECT_EQ(cell(1, 16), QString::fromStdString(MemoryMap::byteText(data.editImage[0x3FF])));
  EXPECT_EQ(cell(1, 33), QString::fromUtf8("\u00B7")) << "0xFF shows a dot, never a raw character";
  EXPECT_EQ(grid->horizontalHeaderItem(11)->text(), "__A");
  EXPECT_EQ(dialog->addressEdit()->text(), "0000");
}

TEST_F(MemoryMapDlgTest, ASingleDigitStoresItsByteAndAnEmptiedCellStoresFF) {
  typeKeys("7");
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(64, 1), "07");
  EXPECT_EQ(cell(64, 18), QString::fromUtf8("\u00B7"));
  EXPECT_EQ(grid->col(), 2) << "Enter in the editor moves one cell right";
  pressKey(Qt::Key_Backspace);
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(64, 2), "FF");
  EXPECT_EQ(data.editImage[0], 0x30) << "nothing reaches the image before Close";
  EXPECT_TRUE(clickClose());
  EXPECT_EQ(data.editImage[0], 0x07);
  EXPECT_EQ(data.editImage[1], 0xFF);
}

TEST_F(MemoryMapDlgTest, ACharacterTypedIntoTheCharacterBlockStoresItsCode) {
  pressKey(Qt::Key_Tab, Qt::ControlModifier);
  ASSERT_EQ(grid->col(), 18);
  typeKeys("A");
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(64, 18), "A");
  EXPECT_EQ(cell(64, 1), "41");
  EXPECT_TRUE(clickClose());
  EXPECT_EQ(data.editImage[0], 0x41);
}

TEST_F(MemoryMapDlgTest, CloseWithoutAChangeOrWithAByteTypedBackEndsWithCancel) {
  typeKeys("55");
  pressKey(Qt::Key_Return);
  pressKey(Qt::Key_Left);
  typeKeys("30");
  pressKey(Qt::Key_Return);
  EXPECT_FALSE(clickClose());
  EXPECT_EQ(data.editImage, before);
}

TEST_F(MemoryMapDlgTest, EscapeDiscardsTheEditsAndForgetsThePosition) {
  typeKeys("12");
  pressKey(Qt::Key_Return);
  typeKeys("34");
  pressKey(Qt::Key_Return);
  pressKey(Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(data.editImage, before);
  EXPECT_EQ(map.position().col, 1);
}

TEST_F(MemoryMapDlgTest, EscapeInTheEditorPutsTheCellBackAndKeepsTheWindow) {
  typeKeys("9");
  pressKey(Qt::Key_Escape);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(grid->hasFocus());
  EXPECT_EQ(cell(64, 1), "30");
  EXPECT_FALSE(clickClose());
}

TEST_F(MemoryMapDlgTest, F1AndTheHelpButtonOpenTheMemoryMapPageFromTheTableAndTheCellEditor) {
  EXPECT_FALSE(dialog->helpButton()->isEnabled()) << "no help system given";
  std::vector<int> asked;
  dialog = std::make_unique<CMemoryMapDlg>(map, [&asked](int context) { asked.push_back(context); });
  ASSERT_TRUE(test::showActive(*dialog));
  pressKey(Qt::Key_F1);
  pressKey(Qt::Key_Return); // the cell editor opens and takes the focus
  ASSERT_TRUE(dialog->cellEditor()->hasFocus());
  pressKey(Qt::Key_F1);
  QTest::mouseClick(dialog->helpButton(), Qt::LeftButton);
  EXPECT_EQ(asked, (std::vector<int>{0x54000, 0x54000, 0x54000}));
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(MemoryMapDlgTest, KeysTheFilterRefusesNeverReachACell) {
  typeKeys("G");
  EXPECT_EQ(grid->editorKind(), CEditGrid::EditorKind::None);
  pressKey(Qt::Key_Return);
  ASSERT_EQ(grid->editorKind(), CEditGrid::EditorKind::Text);
  typeKeys("zq9");
  EXPECT_EQ(dialog->cellEditor()->text(), "9");
  typeKeys("b");
  EXPECT_EQ(dialog->cellEditor()->text(), "9B") << "lower-case hexadecimal becomes upper case";
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(64, 1), "9B");
}

TEST_F(MemoryMapDlgTest, ATypedAddressSelectsItsCellAndShowsItsPageAndOneOutsideTheMapIsIgnored) {
  const auto typeAddress = [this](const char* typed) {
    dialog->addressEdit()->setFocus(Qt::TabFocusReason);
    dialog->addressEdit()->selectAll();
    typeKeys(typed);
    pressKey(Qt::Key_Return);
  };
  typeAddress("3F5");
  EXPECT_TRUE(grid->hasFocus());
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(1, 6));
  EXPECT_EQ(grid->topRow(), 1);
  EXPECT_EQ(dialog->addressEdit()->text(), "03F5");
  typeAddress("400");
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(1, 6));
  EXPECT_EQ(dialog->addressEdit()->text(), "03F5") << "the field shows the selected cell's address again";
}

TEST_F(MemoryMapDlgTest, TheCursorCrossesRowsInAddressOrderAndJumpsBetweenTheBlocks) {
  pressKey(Qt::Key_Left);
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(64, 1)) << "nothing below address 0";
  pressKey(Qt::Key_End);
  EXPECT_EQ(grid->col(), 16);
  pressKey(Qt::Key_Right);
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(63, 1)) << "on to the next higher address";
  pressKey(Qt::Key_Left);
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(64, 16));
  pressKey(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(grid->col(), 33);
  pressKey(Qt::Key_Home);
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(64, 18));
  pressKey(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(1, 18));
  pressKey(Qt::Key_Left);
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(2, 33)) << "the character block wraps too";
  pressKey(Qt::Key_Tab, Qt::ControlModifier);
  pressKey(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(64, 16));
  EXPECT_EQ(dialog->addressEdit()->text(), "000F");
}

TEST_F(MemoryMapDlgTest, AModifiedQueryWhileEditingLosesNothing) {
  typeKeys("AB");
  pressKey(Qt::Key_Return);
  data.isModified(); // what a title refresh does: it overwrites the transfer image
  EXPECT_EQ(cell(64, 1), "AB");
  EXPECT_TRUE(clickClose());
  EXPECT_EQ(data.editImage[0], 0xAB);
}

TEST_F(MemoryMapDlgTest, TheCharacterChoiceAndThePositionLastForTheNextOpening) {
  pressKey(Qt::Key_Up);
  pressKey(Qt::Key_Right);
  QTest::mouseClick(dialog->charactersBox(), Qt::LeftButton);
  EXPECT_EQ(grid->cols(), 17);
  EXPECT_FALSE(clickClose());
  openWindow();
  EXPECT_FALSE(dialog->charactersBox()->isChecked());
  EXPECT_EQ(grid->cols(), 17);
  EXPECT_EQ(std::pair(grid->row(), grid->col()), std::pair(63, 2));
  QTest::mouseClick(dialog->charactersBox(), Qt::LeftButton);
  EXPECT_EQ(grid->cols(), 34);
  EXPECT_EQ(cell(63, 18), QString::fromUtf8("\u00B7"));
}

} // namespace
} // namespace vpr
