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

// Each way of asking shows its page at its anchor in the one help window (each page differs from
// the one before, so a page still shown cannot pass for the next).
TEST_F(HelpCommandsTest, EachHelpRequestShowsItsPageAtItsAnchorInTheProgramsOwnWindow) {
  const auto shows = [](const QString& page, const QString& anchor) -> ::testing::AssertionResult {
    const QUrl url = shownPage();
    if (url.path().endsWith("/help/en/" + page) && url.fragment() == anchor)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "shown: " << url.toString().toStdString();
  };
  QAction* open = frame->action(cmd::FileOpen);
  auto* fileMenu = qobject_cast<QMenu*>(open->associatedObjects().value(0));
  ASSERT_NE(fileMenu, nullptr);
  fileMenu->popup(frame->mapToGlobal(QPoint(10, 10)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fileMenu));
  fileMenu->setActiveAction(open);
  QTest::keyClick(fileMenu, Qt::Key_F1);
  EXPECT_TRUE(shows("file.html", "open")) << "F1 on a highlighted menu item";
  EXPECT_TRUE(QTest::qWaitFor([&] { return !fileMenu->isVisible(); }));
  frame->onCommand(cmd::ChannelInformation);
  emit views[ViewKind::ChannelInfo]->helpRequested(200962);
  EXPECT_TRUE(shows("channels.html", "c31102")) << "a view's request";
  frame->onCommand(cmd::HelpTopics);
  EXPECT_TRUE(shows("index.html", "")) << "Help Topics";
  frame->onCommand(cmd::TreeView);
  QTest::keyClick(frame->treeBar()->tree(), Qt::Key_F1);
  EXPECT_TRUE(shows("window.html", "tree")) << "F1 in the tree";
  EXPECT_TRUE(browser.urls.isEmpty()) << "no browser is started for help";
}

TEST_F(HelpCommandsTest, OpenManualInBrowserHandsTheContentsPageToTheBrowser) {
  frame->onCommand(cmd::HelpInBrowser);
  ASSERT_EQ(browser.urls.size(), 1);
  EXPECT_TRUE(browser.urls[0].path().endsWith("/help/en/index.html"));
  EXPECT_TRUE(ui.messages.empty());
}

// Neither a manual missing from the folders nor a language without a manual's name opens
// anything, and neither is reported.
TEST_F(HelpCommandsTest, WithoutAManualNothingOpens) {
  frame->onCommand(cmd::ChannelInformation);
  CHelpSystem::setSearchFolders({QString::fromStdString(test::makeTempDir())});
  frame->onCommand(cmd::HelpTopics);
  emit views[ViewKind::ChannelInfo]->helpRequested(0x31000);
  CHelpSystem::setSearchFolders({QString::fromStdString(test::sourcePath("res"))});
  CHelpSystem::setHelpFileName("");
  frame->onCommand(cmd::HelpTopics);
  EXPECT_EQ(CHelpSystem::window(), nullptr);
  EXPECT_TRUE(browser.urls.isEmpty());
  EXPECT_TRUE(ui.messages.empty()) << "a missing manual is not reported";
}

} // namespace
} // namespace vpr
