// The Help menu and the help requests of the main window, its menus and its views.

#include "app/CHelpSystem.h"
#include "app/CHelpWindow.h"
#include "app/CTreeViewBar.h"
#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "support/TestSupport.h"

#include <QTextBrowser>

namespace vpr {
namespace {

// Help requests of the main window, its menus and its views show the manual at their context in
// the program's own help window; only Help > Open Manual in Browser hands it to a browser.
class HelpCommandsTest : public test::MainFrameFixture {
protected:
  void SetUp() override {
    MainFrameFixture::SetUp();
    CHelpSystem::setHelpFileName("vpr40t_en.chm");
    CHelpSystem::setSearchFolders({QString::fromStdString(test::sourcePath("res"))});
    // Each case starts without a help window, so that a page shown before cannot pass for its own.
    delete CHelpSystem::window();
  }
  void TearDown() override {
    CHelpSystem::setSearchFolders({});
    delete CHelpSystem::window();
    MainFrameFixture::TearDown();
  }
  // The page the help window shows, once it is on screen (empty before).
  static QUrl shownPage() {
    CHelpWindow* window = CHelpSystem::window();
    if (!window || !QTest::qWaitForWindowExposed(window)) return {};
    return window->browser()->source();
  }
  test::UrlRecorder browser;
};

TEST_F(HelpCommandsTest, F1OnAHighlightedMenuItemOpensTheHelpOfItsCommand) {
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

TEST_F(HelpCommandsTest, AViewsHelpRequestAndHelpTopicsOpenTheManual) {
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

TEST_F(HelpCommandsTest, F1InTheTreeOpensTheTreeViewHelp) {
  frame->onCommand(cmd::TreeView);
  QTest::keyClick(frame->treeBar()->tree(), Qt::Key_F1);
  const QUrl page = shownPage();
  EXPECT_TRUE(page.path().endsWith("/help/en/window.html")) << page.toString().toStdString();
  EXPECT_EQ(page.fragment(), "tree");
}

TEST_F(HelpCommandsTest, OpenManualInBrowserHandsTheContentsPageToTheBrowser) {
  frame->onCommand(cmd::HelpInBrowser);
  ASSERT_EQ(browser.urls.size(), 1);
  EXPECT_TRUE(browser.urls[0].path().endsWith("/help/en/index.html"));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HelpCommandsTest, WithoutAManualNothingOpens) {
  CHelpSystem::setSearchFolders({QString::fromStdString(test::makeTempDir())});
  frame->onCommand(cmd::HelpTopics);
  EXPECT_EQ(CHelpSystem::window(), nullptr);
  EXPECT_TRUE(browser.urls.isEmpty());
  EXPECT_TRUE(ui.messages.empty()) << "a missing manual is not reported";
}

} // namespace
} // namespace vpr
