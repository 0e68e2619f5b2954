// The main window with real widgets and events: views and their frames, the Window menu,
// the tree view bar, the status bar panes and the splash window.
#include "app/AppTestSupport.h"
#include "app/CAppSettings.h"
#include "app/CChildFrame.h"
#include "app/CComPortDlg.h"
#include "app/CHelpSystem.h"
#include "app/CHelpWindow.h"
#include "app/CMainFrame.h"
#include "app/CPrintListDlg.h"
#include "app/CSplashWnd.h"
#include "app/CTreeViewBar.h"
#include "app/CommandIds.h"
#include "app/ViewFrameSetup.h"
#include "lang/CLanguageTable.h"
#include "link/CRadioComm.h"
#include "model/CurrentFile.h"
#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"
#include "views/QtText.h"

#include <QDialog>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

class MainFrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::isolateSettings();
    test::loadLanguage();
    radioData().startUp(std::nullopt);
    frame = std::make_unique<CMainFrame>(ui, settings, false);
    frame->setViewFactory([this](ViewKind kind, QWidget*) -> CImageView* {
      if (unavailable.count(kind)) return nullptr;
      auto* view = new test::FakeView(QStringLiteral("View %1").arg(static_cast<int>(kind)), 0x31000);
      views[kind] = view;
      return view;
    });
    frame->resize(900, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  }
  void TearDown() override { frame.reset(); }

  bool menuBarHas(const QMenu* menu) const {
    for (QAction* action : frame->menuBar()->actions())
      if (action->menu() == menu) return true;
    return false;
  }

  test::FakeUserInterface ui;
  CAppSettings settings;
  std::unique_ptr<CMainFrame> frame;
  std::map<ViewKind, test::FakeView*> views;
  std::set<ViewKind> unavailable;
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

TEST_F(MainFrameTest, CloseAllWindowDoesNotAskTheViewsAndHidesTheTreeBar) {
  frame->onCommand(cmd::OptionalFeatures);
  frame->onCommand(cmd::TreeView);
  test::FakeView* view = views[ViewKind::Features];
  view->mayClose = false;
  int queries = 0;
  view->queryLog = &queries;
  frame->closeAllWindows();
  EXPECT_EQ(queries, 0);
  EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
  EXPECT_TRUE(frame->treeBar()->isHidden());
  EXPECT_FALSE(frame->action(cmd::TreeView)->isChecked());
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

TEST_F(MainFrameTest, TheTreeBarListsTheModelAndOpensAnEntryWithEnter) {
  frame->onCommand(cmd::TreeView);
  ASSERT_TRUE(frame->treeBar()->isVisible());
  EXPECT_TRUE(frame->action(cmd::TreeView)->isChecked());
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

TEST_F(MainFrameTest, TheTreeKeepsTheModelNameItWasShownWith) {
  frame->onCommand(cmd::TreeView);
  const QString shown = frame->treeBar()->tree()->topLevelItem(0)->text(0);
  radioData().resetToModel(ModelCatalogue::modelCodeForRow(20));
  EXPECT_EQ(frame->treeBar()->tree()->topLevelItem(0)->text(0), shown);
  frame->onCommand(cmd::TreeView);
  frame->onCommand(cmd::TreeView);
  EXPECT_EQ(frame->treeBar()->tree()->topLevelItem(0)->text(0).toStdString(), radioData().modelNameText());
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

// The print commands: one Print Out List at a time, and the menu's preview ends with a close request.
TEST_F(MainFrameTest, PrintOpensOneListAtATime) {
  int lists = 0;
  test::whenModal<CPrintListDlg>([&](CPrintListDlg* list) {
    frame->onCommand(cmd::FilePrint); // a second Print only brings the open list forward
    lists = static_cast<int>(frame->findChildren<CPrintListDlg*>().size());
    EXPECT_EQ(frame->printList(), list);
    list->reject();
  });
  frame->onCommand(cmd::FilePrintAlt);
  EXPECT_EQ(lists, 1);
  EXPECT_EQ(frame->printList(), nullptr);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainFrameTest, ClosingTheMainWindowDuringTheMenuPreviewEndsOnlyThePreview) {
  frame->onCommand(cmd::FilePrintPreview);
  QPointer<QWidget> preview = frame->menuPreview();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(preview));
  EXPECT_NE(preview->findChild<QAction*>("savePdf"), nullptr);
  frame->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return preview.isNull(); }));
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(ui.messages.empty()) << "no exit question while only the preview closes";
  EXPECT_EQ(frame->menuPreview(), nullptr);
}

TEST_F(MainFrameTest, ExitPostsACloseRequest) {
  ui.answers.push_back(MessageAnswer::Cancel);
  frame->onCommand(cmd::AppExit);
  EXPECT_TRUE(ui.messages.empty()) << "the close request is posted, not run at once";
  EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.messages.empty(); }));
  EXPECT_TRUE(frame->isVisible());
}

} // namespace

namespace {

// The data-file commands run the core's flows with this window's questions and views.
class MainFrameFileTest : public MainFrameTest {};

TEST_F(MainFrameFileTest, NewAnsweredWithCancelChangesNothing) {
  frame->onCommand(cmd::ChannelInformation);
  ui.answers.push_back(MessageAnswer::Cancel);
  frame->onCommand(cmd::FileNew);
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(views[ViewKind::ChannelInfo]->closeQueries, 0);
}

TEST_F(MainFrameFileTest, NewReplacesTheViewsAndKeepsTheModel) {
  frame->onCommand(cmd::KeyAssignment);
  ui.answers.push_back(MessageAnswer::Ok);
  frame->onCommand(cmd::FileNew);
  EXPECT_EQ(frame->viewOf(ViewKind::Keys), nullptr);
  EXPECT_NE(frame->viewOf(ViewKind::ChannelInfo), nullptr);
  EXPECT_EQ(currentFile().fileName(), "vpr40t.dat");
}

TEST_F(MainFrameFileTest, SaveAsAndOpenShowTheFileInTheTitle) {
  const std::string folder = test::makeTempDir();
  ui.saveChoices.push_back(folder + "/workshop");
  frame->onCommand(cmd::FileSaveAs);
  EXPECT_TRUE(frame->windowTitle().contains("[ " + qtText(10007002) + " : workshop.dat ]"))
      << frame->windowTitle().toStdString();

  radioData().resetToModel(ModelCatalogue::modelCodeForRow(20));
  currentFile().resetFileName();
  frame->updateTitle();
  frame->onCommand(cmd::TestFrequency);
  ui.openChoices.push_back(folder + "/workshop.dat");
  frame->onCommand(cmd::FileOpen);
  EXPECT_EQ(radioData().modelCode(), ModelCatalogue::defaultModelCode());
  EXPECT_TRUE(frame->windowTitle().contains("workshop.dat"));
  EXPECT_EQ(frame->viewOf(ViewKind::TestFrequencies), nullptr)
      << "views are closed before the image is replaced";
  EXPECT_NE(frame->viewOf(ViewKind::ChannelInfo), nullptr);
}

TEST_F(MainFrameFileTest, ReadFromRadioCancelledInTheSaveQuestionStops) {
  radioData().editImage[0x3E0] ^= 0x01;
  ASSERT_TRUE(radioData().isModified());
  ui.answers.push_back(MessageAnswer::Cancel);
  frame->onCommand(cmd::ReadData);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(frame->findChild<QDialog*>(), nullptr);
}

} // namespace

namespace {

TEST_F(MainFrameTest, TileHorizontallyStacksAndTileVerticallyPlacesSideBySide) {
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

} // namespace

namespace {

// Help requests of the main window, its menus and its views show the manual at their context in
// the program's own help window; only Help > Open Manual in Browser hands it to a browser.
class MainFrameHelpTest : public MainFrameTest {
protected:
  void SetUp() override {
    MainFrameTest::SetUp();
    CHelpSystem::setHelpFileName("vpr40t_en.chm");
    CHelpSystem::setSearchFolders({QString::fromStdString(test::sourcePath("res"))});
    // Each case starts without a help window, so that a page shown before cannot pass for its own.
    delete CHelpSystem::window();
  }
  void TearDown() override {
    CHelpSystem::setSearchFolders({});
    delete CHelpSystem::window();
    MainFrameTest::TearDown();
  }
  // The page the help window shows, once it is on screen (empty before).
  static QUrl shownPage() {
    CHelpWindow* window = CHelpSystem::window();
    if (!window || !QTest::qWaitForWindowExposed(window)) return {};
    return window->browser()->source();
  }
  test::UrlRecorder browser;
};

TEST_F(MainFrameHelpTest, F1OnAHighlightedMenuItemOpensTheHelpOfItsCommand) {
  QMenu* fileMenu = frame->action(cmd::FileOpen)->associatedObjects().isEmpty()
                        ? nullptr
                        : qobject_cast<QMenu*>(frame->action(cmd::FileOpen)->associatedObjects().first());
  ASSERT_NE(fileMenu, nullptr);
  fileMenu->popup(frame->mapToGlobal(QPoint(10, 10)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fileMenu));
  fileMenu->setActiveAction(frame->action(cmd::FileOpen));
  QTest::keyClick(fileMenu, Qt::Key_F1);
  const QUrl page = shownPage();
  EXPECT_TRUE(page.path().endsWith("/help/en/file.html")) << page.toString().toStdString();
  EXPECT_EQ(page.fragment(), "open");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !fileMenu->isVisible(); }));
  EXPECT_TRUE(browser.urls.isEmpty()) << "no browser is started for help";
}

TEST_F(MainFrameHelpTest, AViewsHelpRequestAndHelpTopicsOpenTheManual) {
  frame->onCommand(cmd::ChannelInformation);
  emit views[ViewKind::ChannelInfo]->helpRequested(200962);
  QUrl page = shownPage();
  EXPECT_TRUE(page.path().endsWith("/help/en/channels.html")) << page.toString().toStdString();
  EXPECT_EQ(page.fragment(), "c31102");
  frame->onCommand(cmd::HelpTopics);
  page = shownPage();
  EXPECT_TRUE(page.path().endsWith("/help/en/index.html")) << page.toString().toStdString();
  EXPECT_TRUE(browser.urls.isEmpty()) << "no browser is started for help";
}

TEST_F(MainFrameHelpTest, F1InTheTreeOpensTheTreeViewHelp) {
  frame->onCommand(cmd::TreeView);
  QTest::keyClick(frame->treeBar()->tree(), Qt::Key_F1);
  const QUrl page = shownPage();
  EXPECT_TRUE(page.path().endsWith("/help/en/window.html")) << page.toString().toStdString();
  EXPECT_EQ(page.fragment(), "tree");
}

TEST_F(MainFrameHelpTest, OpenManualInBrowserHandsTheContentsPageToTheBrowser) {
  frame->onCommand(cmd::HelpInBrowser);
  ASSERT_EQ(browser.urls.size(), 1);
  EXPECT_TRUE(browser.urls[0].path().endsWith("/help/en/index.html"));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainFrameHelpTest, WithoutAManualNothingOpens) {
  CHelpSystem::setSearchFolders({QString::fromStdString(test::makeTempDir())});
  frame->onCommand(cmd::HelpTopics);
  EXPECT_EQ(CHelpSystem::window(), nullptr);
  EXPECT_TRUE(browser.urls.isEmpty());
  EXPECT_TRUE(ui.messages.empty()) << "a missing manual is not reported";
}

} // namespace

namespace {

TEST_F(MainFrameTest, AltInAFloatingTreeBarReachesTheMainMenu) {
  frame->onCommand(cmd::TreeView);
  frame->treeBar()->setFloating(true);
  QTest::keyClick(frame->treeBar()->tree(), Qt::Key_Alt);
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->menuBar()->activeAction() != nullptr; }));
}

} // namespace

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
