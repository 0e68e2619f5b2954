// The main window with real widgets and events: views and their frames, the Window menu, the
// menus' texts and keys, the tree view bar, the status bar panes and the splash window.
#include "app/CChildFrame.h"
#include "app/CComPortDlg.h"
#include "app/CSplashWnd.h"
#include "app/CTreeViewBar.h"
#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "app/ViewFrameSetup.h"
#include "lang/CLanguageTable.h"
#include "link/CRadioComm.h"
#include "support/ModalDriver.h"

#include <QDialog>
#include <QMdiSubWindow>
#include <QMenuBar>

using namespace vpr;

namespace {

class MainFrameTest : public test::MainFrameFixture {
protected:
  bool menuBarHas(const QMenu* menu) const {
    for (QAction* action : frame->menuBar()->actions())
      if (action->menu() == menu) return true;
    return false;
  }
};

TEST_F(MainFrameTest, ChoosingAViewTwiceActivatesTheOpenOne) {
  frame->onCommand(cmd::ChannelInformation);
  frame->onCommand(cmd::KeyAssignment);
  ASSERT_EQ(frame->mdiArea()->subWindowList().size(), 2);
  frame->onCommand(cmd::ChannelInformation);
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(viewInFrame(frame->mdiArea()->activeSubWindow()), views[ViewKind::ChannelInfo]);
}

TEST_F(MainFrameTest, TheChannelViewOpensAtTheTopLeftWithTheViewTitle) {
  frame->onCommand(cmd::ChannelInformation);
  QMdiSubWindow* window = frame->mdiArea()->subWindowList().value(0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->pos(), QPoint(0, 0));
  EXPECT_EQ(window->windowTitle(), "View 0");
}

TEST_F(MainFrameTest, AViewThatIsNotBuiltSaysSo) {
  unavailable.insert(ViewKind::TestFrequencies);
  frame->onCommand(cmd::TestFrequency);
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, textOf(CMainFrame::kNotAvailableText));
  EXPECT_FALSE(ui.messages[0].text.empty());
}

TEST_F(MainFrameTest, TheWindowMenuIsThereOnlyWhileAChildWindowIsOpen) {
  EXPECT_FALSE(menuBarHas(frame->windowMenu()));
  frame->onCommand(cmd::OptionalFeatures);
  EXPECT_TRUE(menuBarHas(frame->windowMenu()));
  // It stands before the Help menu.
  const auto actions = frame->menuBar()->actions();
  EXPECT_EQ(actions.value(actions.size() - 2)->menu(), frame->windowMenu());
  frame->onCommand(cmd::CloseAllWindows);
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
  EXPECT_FALSE(menuBarHas(frame->windowMenu()));
}

TEST_F(MainFrameTest, AChildFrameAsksItsViewOnTheNextTurnBeforeClosing) {
  frame->onCommand(cmd::OptionalFeatures);
  test::FakeView* view = views[ViewKind::Features];
  view->mayClose = false;
  QMdiSubWindow* window = frame->mdiArea()->subWindowList().value(0);
  window->close();
  EXPECT_EQ(view->closeQueries, 0) << "the view is asked only after the close request returned";
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->closeQueries == 1; }));
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  view->mayClose = true;
  window->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().isEmpty(); }));
}

TEST_F(MainFrameTest, ReloadReachesEveryOpenView) {
  frame->onCommand(cmd::ChannelInformation);
  frame->onCommand(cmd::TestFrequency);
  frame->reloadViews();
  EXPECT_EQ(views[ViewKind::ChannelInfo]->reloads, 1);
  EXPECT_EQ(views[ViewKind::TestFrequencies]->reloads, 1);
}

TEST_F(MainFrameTest, AViewsTitleSignalRebuildsTheTitle) {
  frame->onCommand(cmd::ChannelInformation);
  const QString before = frame->windowTitle();
  radioData().applyNarrowSetting(radioData().narrowSetting() == 1 ? 0 : 1);
  emit views[ViewKind::ChannelInfo]->titleMayHaveChanged();
  EXPECT_NE(frame->windowTitle(), before);
  EXPECT_EQ(frame->windowTitle(), frame->titleText());
}

TEST_F(MainFrameTest, DoubleClickingTheRootOpensNothing) {
  frame->onCommand(cmd::TreeView);
  QTreeWidget* tree = frame->treeBar()->tree();
  QTreeWidgetItem* root = tree->topLevelItem(0);
  const QPoint centre = tree->visualItemRect(root).center();
  int requests = 0;
  QObject::connect(frame->treeBar(), &CTreeViewBar::commandRequested, [&] { ++requests; });
  // A real double-click arrives as a click followed by the double-click event.
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
  QTest::qWait(20);
  EXPECT_EQ(requests, 0);
  EXPECT_FALSE(root->isExpanded());
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainFrameTest, EscapeInTheTreeHidesTheBarAndClearsTheCheckMark) {
  frame->onCommand(cmd::TreeView);
  QTest::keyClick(frame->treeBar()->tree(), Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->treeBar()->isHidden(); }));
  EXPECT_FALSE(frame->action(cmd::TreeView)->isChecked());
}

TEST_F(MainFrameTest, DoubleClickingThePortPaneOpensTheCommunicationPortDialog) {
  g_radioComm.SetPortNumber(3);
  frame->updatePortPane();
  EXPECT_EQ(frame->portPane()->text(), "COM3");
  EXPECT_EQ(frame->portPane()->toolTip().toStdString(), g_radioComm.PortPath(3));
  bool shown = false;
  test::whenModal<CComPortDlg>([&](CComPortDlg* dialog) {
    shown = true;
    // The dialog stays while it scans the ports.
    if (dialog->scanDone())
      dialog->reject();
    else
      QObject::connect(dialog, &CComPortDlg::scanFinished, dialog, &QDialog::reject, Qt::QueuedConnection);
  });
  QTest::mouseDClick(frame->portPane(), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown; }));
  EXPECT_EQ(frame->portPane()->text(), "COM3") << "Cancel keeps the port";
  g_radioComm.SetPortNumber(1);
}

TEST_F(MainFrameTest, TheDateAndTimePanesAreFilled) {
  EXPECT_FALSE(frame->datePane()->text().isEmpty());
  EXPECT_FALSE(frame->timePane()->text().isEmpty());
}

TEST_F(MainFrameTest, CtrlTabStaysWithTheFocusedControl) {
  frame->onCommand(cmd::ChannelInformation);
  frame->onCommand(cmd::KeyAssignment);
  QMdiSubWindow* active = frame->mdiArea()->activeSubWindow();
  ASSERT_NE(active, nullptr);
  active->widget()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  QTest::qWait(20);
  EXPECT_EQ(frame->mdiArea()->activeSubWindow(), active);
}

TEST_F(MainFrameTest, AKeyPressWhileTheSplashIsUpClosesItAndGoesNoFurther) {
  frame->onCommand(cmd::TreeView);
  QTreeWidget* tree = frame->treeBar()->tree();
  ASSERT_TRUE(tree->hasFocus());
  CSplashWnd* splash = CSplashWnd::showSplash(frame.get(), 32);
  ASSERT_NE(splash, nullptr);
  EXPECT_EQ(CSplashWnd::showSplash(frame.get(), 32), nullptr) << "at most one splash window";
  // Escape in the tree would hide the tree view bar.
  QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
  QTest::qWait(20);
  EXPECT_EQ(CSplashWnd::current(), nullptr);
  EXPECT_FALSE(frame->treeBar()->isHidden());
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  tree->setFocus();
  QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->treeBar()->isHidden(); }))
      << "the next key press reaches the window again";
}

TEST_F(MainFrameTest, AMousePressWhileTheSplashIsUpClosesIt) {
  CSplashWnd* splash = CSplashWnd::showSplash(frame.get(), 32);
  ASSERT_NE(splash, nullptr);
  QTest::mouseClick(frame->portPane(), Qt::RightButton);
  EXPECT_EQ(CSplashWnd::current(), nullptr);
}

TEST_F(MainFrameTest, TheSplashPicturesFollowTheColourDepth) {
  EXPECT_NE(CSplashWnd::pictureFor(8), CSplashWnd::pictureFor(16));
  EXPECT_EQ(CSplashWnd::pictureFor(24), CSplashWnd::pictureFor(32));
  EXPECT_FALSE(QPixmap(CSplashWnd::pictureFor(8)).isNull());
  EXPECT_FALSE(QPixmap(CSplashWnd::pictureFor(32)).isNull());
}

TEST_F(MainFrameTest, TheSplashClosesByItself) {
  CSplashWnd::showSplash(frame.get(), 32);
  ASSERT_NE(CSplashWnd::current(), nullptr);
  EXPECT_TRUE(
      QTest::qWaitFor([] { return CSplashWnd::current() == nullptr; }, CSplashWnd::kLifetimeMs + 2000));
}

TEST_F(MainFrameTest, MenusCarryTheTextsOfTheTextTable) {
  EXPECT_EQ(frame->action(cmd::FileOpen)->text().toStdString(), textOf(10003102));
  EXPECT_EQ(frame->action(cmd::ReadData)->toolTip().toStdString(), textOf(10005005));
  EXPECT_EQ(frame->action(cmd::About)->toolTip().toStdString(), textOf(10001009));
  EXPECT_EQ(frame->action(cmd::TreeView)->shortcuts().size(), 2);
  EXPECT_EQ(frame->action(cmd::ReadData)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  const auto menus = frame->menuBar()->actions();
  ASSERT_EQ(menus.size(), 7);
  EXPECT_EQ(menus[0]->text().toStdString(), textOf(10003001));
  EXPECT_EQ(menus[6]->text().toStdString(), textOf(10003009));
}

} // namespace

namespace {

TEST_F(MainFrameTest, AltInAFloatingTreeBarReachesTheMainMenu) {
  frame->onCommand(cmd::TreeView);
  frame->treeBar()->setFloating(true);
  QTest::keyClick(frame->treeBar()->tree(), Qt::Key_Alt);
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->menuBar()->activeAction() != nullptr; }));
}

// Qt ignores a key that two shortcuts claim at once, so a child window's own shortcut (the
// system menu's Close is Ctrl+W on Linux) would silently disable the main window's accelerator.
TEST_F(MainFrameTest, NoChildWindowClaimsAnAcceleratorOfTheMainWindow) {
  frame->onCommand(cmd::ChannelInformation);
  QMdiSubWindow* child = frame->mdiArea()->subWindowList().value(0);
  ASSERT_NE(child, nullptr);
  QList<QAction*> childActions = child->findChildren<QAction*>();
  if (child->systemMenu()) childActions += child->systemMenu()->actions();
  for (int command : {cmd::FileNew, cmd::FileOpen, cmd::FileSave, cmd::FilePrint, cmd::ReadData,
                      cmd::WriteData, cmd::TestMode, cmd::MemoryMap, cmd::EditUndo, cmd::EditRedo}) {
    const QKeySequence key = frame->action(command)->shortcut();
    ASSERT_FALSE(key.isEmpty()) << command;
    for (QAction* action : childActions)
      EXPECT_FALSE(action->shortcuts().contains(key))
          << action->text().toStdString() << " claims " << key.toString().toStdString();
  }
}

} // namespace
