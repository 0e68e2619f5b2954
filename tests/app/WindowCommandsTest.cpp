// The View and Window menus: the tree view bar, tiling and closing the child windows.

#include "app/CTreeViewBar.h"
#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "lang/CLanguageTable.h"
#include "model/ModelCatalogue.h"

#include <QMdiSubWindow>
#include <QStatusBar>

#include <functional>

namespace vpr {
namespace {

using WindowCommandsTest = test::MainFrameFixture;

TEST_F(WindowCommandsTest, CloseAllWindowDoesNotAskTheViewsAndHidesTheTreeBar) {
  frame->onCommand(cmd::OptionalFeatures);
  frame->onCommand(cmd::TreeView);
  test::FakeView* view = views[ViewKind::Features];
  view->mayClose = false;
  int queries = 0;
  view->queryLog = &queries;
  frame->onCommand(cmd::CloseAllWindows);
  EXPECT_EQ(queries, 0);
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
  EXPECT_TRUE(frame->treeBar()->isHidden());
  EXPECT_FALSE(frame->action(cmd::TreeView)->isChecked());
}

TEST_F(WindowCommandsTest, TileHorizontallyStacksAndTileVerticallyPlacesSideBySide) {
  frame->onCommand(cmd::ChannelInformation);
  frame->onCommand(cmd::KeyAssignment);
  const auto windows = frame->mdiArea()->subWindowList();
  ASSERT_EQ(windows.size(), 2);
  frame->onCommand(cmd::WindowTileHorizontal);
  EXPECT_EQ(windows[0]->width(), windows[1]->width());
  EXPECT_NE(windows[0]->y(), windows[1]->y());
  EXPECT_EQ(windows[0]->x(), windows[1]->x());
  frame->onCommand(cmd::WindowTileVertical);
  EXPECT_EQ(windows[0]->y(), windows[1]->y());
  EXPECT_NE(windows[0]->x(), windows[1]->x());
}

TEST_F(WindowCommandsTest, TheBarsFollowTheirItemsAndTheItemsFollowTheBars) {
  struct Case {
    int command;
    std::function<QWidget*()> bar;
  };
  const Case cases[] = {
      {cmd::TreeView, [&] { return static_cast<QWidget*>(frame->treeBar()); }},
      {cmd::ToolBar, [&] { return static_cast<QWidget*>(frame->toolBar()); }},
      {cmd::StatusBar, [&] { return static_cast<QWidget*>(frame->statusBar()); }},
  };
  for (const Case& c : cases) {
    QAction* item = frame->action(c.command);
    const bool shown = !c.bar()->isHidden();
    EXPECT_EQ(item->isChecked(), shown) << c.command;
    frame->onCommand(c.command);
    EXPECT_EQ(c.bar()->isHidden(), shown) << c.command;
    EXPECT_EQ(item->isChecked(), !shown) << c.command;
    frame->onCommand(c.command);
    EXPECT_EQ(c.bar()->isHidden(), !shown) << c.command;
    EXPECT_EQ(item->isChecked(), shown) << c.command;
  }
}

TEST_F(WindowCommandsTest, AltZeroGivesAShownTreeTheFocusAndShowsAHiddenOne) {
  frame->onCommand(cmd::FocusTreeView);
  ASSERT_FALSE(frame->treeBar()->isHidden());
  EXPECT_TRUE(frame->treeBar()->tree()->hasFocus());
  frame->onCommand(cmd::ChannelInformation);
  ASSERT_FALSE(frame->treeBar()->tree()->hasFocus());
  frame->onCommand(cmd::FocusTreeView);
  EXPECT_FALSE(frame->treeBar()->isHidden()) << "a shown bar stays";
  EXPECT_TRUE(frame->treeBar()->tree()->hasFocus());
}

TEST_F(WindowCommandsTest, TheTreeBarListsTheModelAndOpensAnEntryWithEnter) {
  frame->onCommand(cmd::TreeView);
  ASSERT_TRUE(frame->treeBar()->isVisible());
  QTreeWidget* tree = frame->treeBar()->tree();
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  EXPECT_EQ(root->text(0).toStdString(), radioData().modelNameText());
  ASSERT_EQ(root->childCount(), 4);
  EXPECT_EQ(root->child(2)->text(0).toStdString(), textOf(10027001));
  tree->setCurrentItem(root->child(2));
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->viewOf(ViewKind::Keys) != nullptr; }));
}

TEST_F(WindowCommandsTest, TheTreeKeepsTheModelNameItWasShownWith) {
  frame->onCommand(cmd::TreeView);
  const QString shown = frame->treeBar()->tree()->topLevelItem(0)->text(0);
  radioData().resetToModel(ModelCatalogue::modelCodeForRow(20));
  EXPECT_EQ(frame->treeBar()->tree()->topLevelItem(0)->text(0), shown);
  frame->onCommand(cmd::TreeView);
  frame->onCommand(cmd::TreeView);
  EXPECT_EQ(frame->treeBar()->tree()->topLevelItem(0)->text(0).toStdString(), radioData().modelNameText());
}

} // namespace
} // namespace vpr
