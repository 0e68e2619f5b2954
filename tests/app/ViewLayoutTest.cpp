// The editing views inside the main window: the channel grid shows every row and column when
// the program starts maximised, and views in frames too small for them scroll instead of
// squeezing their controls over each other.
#include "app/AppTestSupport.h"
#include "app/CAppSettings.h"
#include "app/CMainFrame.h"
#include "app/CRPSApp.h"
#include "app/CommandIds.h"
#include "app/LayoutFaults.h"
#include "app/ProgramFixture.h"
#include "app/ViewFrameSetup.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"
#include "views/CChInfoView.h"
#include "views/CEditGrid.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

// Whether the grid shows every row and every column whole, with the number column in place.
::testing::AssertionResult showsEverything(const CEditGrid& grid) {
  if (grid.verticalScrollBar()->maximum() > 0)
    return ::testing::AssertionFailure()
           << "rows hidden: scroll range " << grid.verticalScrollBar()->maximum();
  const int last = grid.rows() - 2;
  const int rowBottom = grid.rowViewportPosition(last) + grid.rowHeight(last);
  if (rowBottom > grid.viewport()->height())
    return ::testing::AssertionFailure()
           << "last row ends at " << rowBottom << " of " << grid.viewport()->height();
  const int columnsEnd = grid.horizontalHeader()->length();
  if (columnsEnd > grid.viewport()->width())
    return ::testing::AssertionFailure()
           << "columns need " << columnsEnd << " of " << grid.viewport()->width();
  if (grid.horizontalScrollBar()->value() != 0)
    return ::testing::AssertionFailure() << "scrolled sideways by " << grid.horizontalScrollBar()->value();
  return ::testing::AssertionSuccess();
}

class ViewLayoutTest : public test::ProgramFixture {
protected:
  // Starts the program as a user does: maximised, with the channel view opened by start-up.
  CMainFrame* start() {
    // The remembered model has sixteen channels (HX-4470).
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "VESKARO", "VPR40T");
    raw.setValue("Backup/LastModel",
                 QString::fromStdString(CAppSettings::formatModelCode(ModelCatalogue::modelCodeForRow(2))));
    raw.sync();
    return test::ProgramFixture::start();
  }
  CChInfoView* channelView() {
    CChInfoView* view = nullptr;
    const bool shown = QTest::qWaitFor([&] {
      view = qobject_cast<CChInfoView*>(frame->viewOf(ViewKind::ChannelInfo));
      return view && view->isVisible();
    });
    return shown ? view : nullptr;
  }

  // Opens the other three views beside the channel view and tiles the four frames.
  QList<CImageView*> tileAllViews(int tileCommand) {
    for (int command : {cmd::OptionalFeatures, cmd::KeyAssignment, cmd::TestFrequency})
      frame->onCommand(command);
    frame->onCommand(tileCommand);
    QList<CImageView*> views;
    for (QMdiSubWindow* window : frame->mdiArea()->subWindowList())
      if (CImageView* view = viewInFrame(window)) views.append(view);
    return views;
  }
};

TEST_F(ViewLayoutTest, TheChannelGridOfASixteenChannelModelIsWholeWhenTheProgramStartsMaximised) {
  ASSERT_NE(start(), nullptr);
  ASSERT_EQ(radioData().channelCount(), 16);
  ASSERT_TRUE(frame->windowState().testFlag(Qt::WindowMaximized));
  CChInfoView* view = channelView();
  ASSERT_NE(view, nullptr);
  CEditGrid* grid = view->grid();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->isVisible(); }));
  EXPECT_TRUE(showsEverything(*grid));
  // The frame opened with room for the whole view: its pane has nothing to scroll to.
  auto* pane = qobject_cast<QAbstractScrollArea*>(view->parentWidget()->parentWidget());
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(pane->horizontalScrollBar()->maximum(), 0);
  // Moving to the last column keeps the number column in view.
  grid->setFocus();
  grid->setCell(16, grid->cols() - 1);
  EXPECT_TRUE(showsEverything(*grid));
  QTest::keyClick(grid, Qt::Key_Right);
  QTest::keyClick(grid, Qt::Key_End);
  EXPECT_TRUE(showsEverything(*grid));
}

TEST_F(ViewLayoutTest, ViewsTiledIntoASmallWindowScrollInsteadOfOverlappingTheirControls) {
  ASSERT_NE(start(), nullptr);
  ASSERT_NE(channelView(), nullptr);
  frame->showNormal();
  frame->resize(760, 520);
  const QList<CImageView*> views = tileAllViews(cmd::WindowTileVertical);
  ASSERT_EQ(views.size(), 4);
  for (CImageView* view : views) {
    const std::string name = view->viewTitle().toStdString();
    // The view keeps the room its layout needs; the frame scrolls over it.
    EXPECT_GE(view->width(), view->minimumSizeHint().width()) << name;
    EXPECT_GE(view->height(), view->minimumSizeHint().height()) << name;
    EXPECT_TRUE(test::laidOutCleanly(*view)) << name;
  }
}

TEST_F(ViewLayoutTest, TiledHorizontallyGridsShowEveryColumnHeadingAndFormsKeepLabelsBesideTheirFields) {
  ASSERT_NE(start(), nullptr);
  ASSERT_NE(channelView(), nullptr);
  const QList<CImageView*> views = tileAllViews(cmd::WindowTileHorizontal);
  ASSERT_EQ(views.size(), 4);
  for (CImageView* view : views) {
    const std::string name = view->viewTitle().toStdString();
    if (auto* grid = view->findChild<CEditGrid*>()) {
      // Short frames: the rows scroll, and the scroll bar sits beside the last column, not on it.
      ASSERT_TRUE(QTest::qWaitFor([&] { return grid->verticalScrollBar()->isVisible(); })) << name;
      EXPECT_LE(grid->horizontalHeader()->length(), grid->viewport()->width()) << name;
      continue;
    }
    for (QLabel* label : view->findChildren<QLabel*>()) {
      if (!label->buddy() || !label->buddy()->isVisible()) continue;
      const int gap = label->buddy()->geometry().left() - label->geometry().right();
      EXPECT_LT(gap, 3 * label->fontMetrics().height()) << name << ": " << label->text().toStdString();
    }
  }
}

} // namespace
