// Help contexts lead to pages of the HTML manual, shown in the program's own help window;
// without a manual nothing opens.
#include "app/AppTestSupport.h"
#include "app/CHelpSystem.h"
#include "app/CHelpWindow.h"
#include "app/XClients.h"
#include "lang/CLanguageTable.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

using vpr::CHelpSystem;
using vpr::CHelpWindow;

namespace {

class HelpSystemTest : public ::testing::Test {
protected:
  void SetUp() override {
    CHelpSystem::setHelpFileName("vpr40t_en.chm");
    CHelpSystem::setSearchFolders({QString::fromStdString(vpr::test::sourcePath("res"))});
  }
  void TearDown() override {
    CHelpSystem::setSearchFolders({});
    if (CHelpWindow* window = CHelpSystem::window()) window->close();
  }
};

// The help window after asking for help on a context, once it is on screen.
CHelpWindow* helpShownFor(int context) {
  if (!CHelpSystem::showHelp(context)) return nullptr;
  CHelpWindow* window = CHelpSystem::window();
  return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

// The window the window manager stacks on top of all others (its _NET_CLIENT_LIST_STACKING ends
// with it), or 0 when it cannot be asked.
WId topOfStack() {
  const QString ids = vpr::test::xprop({"-root", "_NET_CLIENT_LIST_STACKING"}).section(QLatin1Char('#'), 1);
  return static_cast<WId>(ids.section(QLatin1Char(','), -1).trimmed().toULongLong(nullptr, 0));
}

// Whether the window comes to the top of the stack and takes the input within a few seconds.
bool broughtToFront(QWidget* window) {
  return window &&
         QTest::qWaitFor([window] { return topOfStack() == window->winId() && window->isActiveWindow(); });
}

TEST_F(HelpSystemTest, HelpComesToTheFrontAboveTheModalDialogThatAskedAndEveryTimeAfter) {
  if (QGuiApplication::platformName() != QLatin1String("xcb") ||
      QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
    GTEST_SKIP() << "needs an X server with a window manager, and xprop";
  vpr::test::loadLanguage();
  QMainWindow main;
  main.resize(700, 500);
  main.show();
  main.activateWindow();
  ASSERT_TRUE(broughtToFront(&main));
  QDialog options(&main);
  options.resize(320, 200);
  bool askedFromTheDialog = false;
  vpr::test::whenModal<QDialog>([&askedFromTheDialog](QDialog* dialog) {
    ASSERT_TRUE(CHelpSystem::showHelp(0x72000));
    EXPECT_TRUE(broughtToFront(CHelpSystem::window())) << "help asked in a modal dialog";
    // Back to the dialog, which comes up over the help window; then help once more. A busy
    // window manager may pass over one request, so it is repeated as a user would click again.
    EXPECT_TRUE(QTest::qWaitFor([dialog] {
      if (topOfStack() == dialog->winId() && dialog->isActiveWindow()) return true;
      dialog->activateWindow();
      dialog->raise();
      return false;
    }));
    CHelpSystem::showHelp(0x72000);
    EXPECT_TRUE(broughtToFront(CHelpSystem::window())) << "help asked again in the dialog";
    askedFromTheDialog = true;
    dialog->accept();
  });
  options.exec();
  ASSERT_TRUE(askedFromTheDialog);
  // The help window outlives the dialog, and Help Topics in the main window brings it up again.
  ASSERT_NE(CHelpSystem::window(), nullptr);
  main.activateWindow();
  main.raise();
  ASSERT_TRUE(broughtToFront(&main));
  CHelpSystem::showHelp(0);
  EXPECT_TRUE(broughtToFront(CHelpSystem::window())) << "help asked in the main window";
}

TEST_F(HelpSystemTest, EveryPageOfTheManualLinksEveryOtherPage) {
  const QDir folder(QString::fromStdString(vpr::test::sourcePath("res/help/en")));
  const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
  ASSERT_GT(pages.size(), 10);
  for (const QString& page : pages) {
    QFile file(folder.filePath(page));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
    const QString html = QString::fromUtf8(file.readAll());
    const QString nav = html.section(QStringLiteral("<nav>"), 1).section(QStringLiteral("</nav>"), 0, 0);
    for (const QString& other : pages)
      EXPECT_TRUE(nav.contains(QStringLiteral("href=\"%1\"").arg(other)))
          << page.toStdString() << " lacks " << other.toStdString();
  }
}

TEST_F(HelpSystemTest, EveryContextOfTheProgramHasAPageInTheManual) {
  const int contexts[] = {0,       0x11000, 0x12000, 0x13000, 0x14000, 0x15000, 0x16000, 0x17000, 0x20000,
                          0x21000, 0x22000, 0x31000, 0x32000, 0x33000, 0x34000, 0x51000, 0x52000, 0x53000,
                          0x71000, 0x81000, 0x82000, 0x83000, 0x91000, 0x95000, 200962,  209153,  340225,
                          0x18000, 0x19000, 0x1A000, 0x72000, 0x1B000, 0x1C000, 0x35000, 0x54000, 0x55000};
  for (int context : contexts) {
    const QUrl url = CHelpSystem::urlOf(context);
    ASSERT_TRUE(url.isLocalFile()) << std::hex << context;
    EXPECT_TRUE(QFileInfo::exists(url.toLocalFile())) << url.toString().toStdString();
  }
}

TEST_F(HelpSystemTest, AContextInsideAGroupOpensItsGroupPageAtItsAnchor) {
  EXPECT_EQ(CHelpSystem::pageOf(0x31000), "channels.html");
  EXPECT_EQ(CHelpSystem::pageOf(200962), "channels.html#c31102");
  EXPECT_EQ(CHelpSystem::pageOf(0x71000), "setup.html#port");
  EXPECT_EQ(CHelpSystem::pageOf(0), "index.html");
  EXPECT_EQ(CHelpSystem::urlOf(0x12000).fragment(), "open");
}

// The help window reaches an anchor only when its text document knows it as an anchor (an id on
// a table row, for example, is not one), so the pages are read as the window reads them.
TEST_F(HelpSystemTest, AnchorsNamedByThePagesAreAnchorsOfTheHelpWindowsDocument) {
  for (int context :
       {0x11000, 0x12000, 0x21000, 0x51000, 0x52000, 0x71000, 0x81000, 0x95000, 200962, 200967, 340225}) {
    const QUrl url = CHelpSystem::urlOf(context);
    QFile page(url.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    QTextDocument document;
    document.setHtml(QString::fromUtf8(page.readAll()));
    QStringList anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
      for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
        anchors << fragment.fragment().charFormat().anchorNames();
    EXPECT_TRUE(anchors.contains(url.fragment())) << url.toString().toStdString();
  }
}

TEST_F(HelpSystemTest, ALanguageWithoutItsOwnPageShowsTheEnglishPageAndSaysSoOnce) {
  vpr::test::loadLanguage(false, "German");
  // A German manual that has its contents page only.
  const QDir german(QString::fromStdString(vpr::test::makeTempDir()));
  ASSERT_TRUE(german.mkpath(QStringLiteral("help/de")));
  const QString res = QString::fromStdString(vpr::test::sourcePath("res"));
  ASSERT_TRUE(QFile::copy(res + QStringLiteral("/help/en/index.html"),
                          german.filePath(QStringLiteral("help/de/index.html"))));
  CHelpSystem::setHelpFileName(QStringLiteral("vpr40t_de.chm"));
  CHelpSystem::setSearchFolders({german.path(), res});
  EXPECT_TRUE(CHelpSystem::urlOf(0).path().endsWith(QStringLiteral("/help/de/index.html")));
  EXPECT_TRUE(CHelpSystem::urlOf(0x31000).path().endsWith(QStringLiteral("/help/en/channels.html")));

  CHelpWindow* window = helpShownFor(0x31000);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->statusBar()->currentMessage().toStdString(), vpr::textOf(19000007));
  window->statusBar()->clearMessage();
  ASSERT_NE(helpShownFor(0x32000), nullptr);
  EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
  vpr::test::loadLanguage();
}

TEST_F(HelpSystemTest, HelpOpensInTheProgramsOwnWindowAtTheAnchorWithoutABrowser) {
  vpr::test::loadLanguage();
  vpr::test::UrlRecorder browser;
  CHelpWindow* window = helpShownFor(0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->browser()->verticalScrollBar()->value(), 0);
  window->resize(520, 320);
  // Option B is described at the end of the channels page: the page scrolls down to it.
  ASSERT_EQ(helpShownFor(200967), window);
  EXPECT_EQ(window->browser()->source(), CHelpSystem::urlOf(200967));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->browser()->verticalScrollBar()->value() > 0; }));
  EXPECT_TRUE(browser.urls.isEmpty());

  // Back returns to the contents page, Forward goes to the channels page again.
  ASSERT_TRUE(window->backAction()->isEnabled());
  window->backAction()->trigger();
  EXPECT_EQ(window->browser()->source().fileName(), "index.html");
  window->forwardAction()->trigger();
  EXPECT_EQ(window->browser()->source().fileName(), "channels.html");

  // "Open in browser" hands the page shown to the browser.
  window->browserAction()->trigger();
  ASSERT_EQ(browser.urls.size(), 1);
  EXPECT_EQ(browser.urls[0].fileName(), "channels.html");
}

TEST_F(HelpSystemTest, TheContentsListTheManualsPagesAndOpenThemWithAClick) {
  vpr::test::loadLanguage();
  CHelpWindow* window = helpShownFor(0x31000);
  ASSERT_NE(window, nullptr);
  QListWidget* contents = window->contents();
  // Every page of the manual is listed, once.
  QStringList listed;
  for (int i = 0; i < contents->count(); ++i)
    listed << contents->item(i)->data(Qt::UserRole).toUrl().fileName();
  QStringList pages = QDir(QFileInfo(window->browser()->source().toLocalFile()).absolutePath())
                          .entryList({QStringLiteral("*.html")}, QDir::Files);
  listed.sort();
  EXPECT_EQ(listed, pages);
  ASSERT_NE(contents->currentItem(), nullptr);
  EXPECT_EQ(contents->currentItem()->text(), "Channels");
  QListWidgetItem* keys = contents->findItems("Key assignment", Qt::MatchExactly).value(0);
  ASSERT_NE(keys, nullptr);
  QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(keys).center());
  EXPECT_EQ(window->browser()->source().fileName(), "keys.html");
  for (int i = 0; i < contents->count(); ++i) {
    const QUrl page = contents->item(i)->data(Qt::UserRole).toUrl();
    EXPECT_TRUE(QFileInfo::exists(page.toLocalFile())) << page.toString().toStdString();
  }
}

TEST_F(HelpSystemTest, SearchInThePageFindsEveryOccurrenceInTurnAndSaysWhenThereIsNone) {
  vpr::test::loadLanguage();
  CHelpWindow* window = helpShownFor(0x31000);
  ASSERT_NE(window, nullptr);
  window->findField()->setText("option");
  ASSERT_TRUE(window->findInPage(false));
  const int first = window->browser()->textCursor().selectionStart();
  EXPECT_EQ(window->browser()->textCursor().selectedText().toLower(), "option");
  ASSERT_TRUE(window->findInPage(false));
  EXPECT_GT(window->browser()->textCursor().selectionStart(), first);
  ASSERT_TRUE(window->findInPage(true));
  EXPECT_EQ(window->browser()->textCursor().selectionStart(), first);
  window->findField()->setText("zqxwv");
  EXPECT_FALSE(window->findInPage(false));
}

} // namespace
