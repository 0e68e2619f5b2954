// What the channel and the test frequency views do alike with a frequency typed into a cell:
// Enter stores it (a receive entry into an empty row fills transmit too), Escape abandons it,
// closing the view stores it, and an entry outside the band is stored and warned about once.
#include "ViewTestSupport.h"

#include "lang/CLanguageTable.h"
#include "views/CChInfoView.h"
#include "views/CFilterEdit.h"
#include "views/CTestFreqView.h"

#include <gtest/gtest.h>
#include <memory>

namespace vpr {
namespace {

using test::pressKey;
using test::typeKeys;

enum class GridKind { Channels, TestFrequencies };

class GridView : public ::testing::TestWithParam<GridKind>, protected test::ViewFixtureData {
protected:
  void SetUp() override {
    if (GetParam() == GridKind::Channels)
      view = std::make_unique<CChInfoView>(data, ui);
    else
      view = std::make_unique<CTestFreqView>(data, ui);
    ASSERT_TRUE(test::showActive(*view));
    grid = view->grid();
    grid->setFocus();
  }
  // Row 3 holds a record with both frequencies (the test frequencies' defaults do already).
  void programRowThree() {
    std::string rx = "150.000";
    if (GetParam() == GridKind::Channels) data.setChannelFrequency(3, rx, FrequencyField::Receive);
    view->reloadFromImage();
    ASSERT_FALSE(cell(3, 2).isEmpty());
  }
  QString cell(int row, int col) const { return grid->cellText(row, col); }
  void expectEditorClosed() const {
    EXPECT_EQ(grid->editorKind(), CEditGrid::EditorKind::None);
    EXPECT_EQ(QApplication::focusWidget(), grid);
  }

  std::unique_ptr<CGridView> view;
  CEditGrid* grid = nullptr;
};

TEST_P(GridView, EnterStoresAReceiveEntryIntoAnEmptyRowAsBothFrequenciesAndMovesToTransmit) {
  const RadioImage before = data.editImage;
  grid->setCell(10, 1);
  typeKeys("155.5");
  EXPECT_EQ(QApplication::focusWidget(), view->frequencyEditor());
  EXPECT_EQ(data.editImage, before) << "nothing is stored while the editor is open";
  pressKey(Qt::Key_Return);
  EXPECT_EQ(cell(10, 1), "155.50000");
  EXPECT_EQ(cell(10, 2), "155.50000");
  EXPECT_EQ(std::make_pair(grid->row(), grid->col()), std::make_pair(10, 2));
  expectEditorClosed();
}

TEST_P(GridView, EscapeAbandonsAnEntryInEitherFrequency) {
  programRowThree();
  const RadioImage before = data.editImage;
  for (const int col : {1, 2}) {
    SCOPED_TRACE(col);
    const QString shown = cell(3, col);
    grid->setCell(3, col);
    typeKeys("160.5");
    pressKey(Qt::Key_Escape);
    EXPECT_EQ(data.editImage, before);
    EXPECT_EQ(cell(3, col), shown);
    expectEditorClosed();
  }
}

TEST_P(GridView, ClosingStoresAnEntryStillInTheEditor) {
  grid->setCell(10, 1);
  typeKeys("155");
  EXPECT_TRUE(view->queryClose());
  EXPECT_EQ(cell(10, 1), "155.00000");
  EXPECT_EQ(grid->editorKind(), CEditGrid::EditorKind::None);
}

TEST_P(GridView, AnOutOfBandEntryIsStoredAndWarnedAboutOnce) {
  struct Case {
    int col;
    const char* typed;
    int warning;
    const char* stored; // a number beyond any band is taken as the band's edge
  };
  const Case cases[] = {{1, "200", 10026016, "200.00000"}, {2, "1000", 10026017, "174.00000"}};
  programRowThree();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ui.messages.clear();
    grid->setCell(3, c.col);
    typeKeys(c.typed);
    pressKey(Qt::Key_Return);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, textOf(c.warning));
    EXPECT_EQ(cell(3, c.col), c.stored);
    grid->setFocus();
  }
}

INSTANTIATE_TEST_SUITE_P(Views, GridView, ::testing::Values(GridKind::Channels, GridKind::TestFrequencies),
                         [](const ::testing::TestParamInfo<GridKind>& info) {
                           return info.param == GridKind::Channels ? "Channels" : "TestFrequencies";
                         });

} // namespace
} // namespace vpr
