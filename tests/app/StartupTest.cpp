// Start-up and shutdown of the desktop program against an isolated settings store.
#include "app/AppTestSupport.h"
#include "app/CHelpSystem.h"
#include "app/CHelpWindow.h"
#include "app/CMainFrame.h"
#include "app/CRPSApp.h"
#include "app/CSplashWnd.h"
#include "app/CTreeViewBar.h"
#include "app/CommandIds.h"
#include "lang/CLanguageTable.h"
#include "link/CRadioComm.h"
#include "model/CurrentFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

class StartupTest : public ::testing::Test {
protected:
  void SetUp() override {
    settingsFolder = test::isolateSettings();
    documents = QString::fromStdString(test::makeTempDir());
    test::loadLanguage();
  }
  void TearDown() override { test::loadLanguage(); }

  CRPSApp::Options options() const {
    CRPSApp::Options o = test::programOptions();
    o.documentsFolder = documents;
    return o;
  }
  void store(const char* key, const QVariant& value) {
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "VESKARO", "VPR40T");
    raw.setValue(QLatin1String("Backup/") + QLatin1String(key), value);
  }
  QVariant stored(const char* key) const {
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "VESKARO", "VPR40T");
    return raw.value(QLatin1String("Backup/") + QLatin1String(key));
  }
  // Runs start-up with views that record what happens to them.
  std::unique_ptr<CRPSApp> start(const QStringList& words = {}) {
    auto app = std::make_unique<CRPSApp>(ui, words, options());
    EXPECT_TRUE(app->startup());
    if (app->mainFrame())
      app->mainFrame()->setViewFactory(
          [](ViewKind, QWidget*) -> CImageView* { return new test::FakeView("Channels", 0x31000); });
    return app;
  }

  QString settingsFolder;
  QString documents;
  test::FakeUserInterface ui;
};

TEST_F(StartupTest, FirstStartUsesTheDefaultsCreatesTheDataFolderAndShowsTheChannels) {
  auto app = start();
  CMainFrame* frame = app->mainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(frame->windowState().testFlag(Qt::WindowMaximized));
  EXPECT_EQ(g_radioComm.PortNumber(), 1);
  EXPECT_EQ(radioData().modelCode(), ModelCatalogue::defaultModelCode());
  const QString dataFolder = documents + "/Veskaro/VPR-40T/";
  EXPECT_TRUE(QFileInfo(dataFolder).isDir());
  EXPECT_EQ(QString::fromStdString(currentFile().folder()), dataFolder);
  EXPECT_EQ(currentFile().fileName(), "vpr40t.dat");
  EXPECT_EQ(frame->portPane()->text(), "COM1");
  // Every tool button shows its picture; the hidden tree view bar is left for its first showing.
  for (QAction* action : frame->toolBar()->actions())
    EXPECT_TRUE(action->isSeparator() || !action->icon().isNull()) << action->text().toStdString();
  EXPECT_EQ(frame->findChild<CTreeViewBar*>(), nullptr);
  // The channel information view opens once the event loop runs.
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->viewOf(ViewKind::ChannelInfo) != nullptr; }));
  EXPECT_TRUE(ui.messages.empty());
#ifdef Q_OS_LINUX
  // Every picture of the first window, Qt's own included, is read as the PNG it is: no
  // image-format plugin (nor the JPEG library) was loaded to be asked about it.
  QTest::qWait(50);
  QFile maps(QStringLiteral("/proc/self/maps"));
  ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
  EXPECT_FALSE(maps.readAll().contains("/imageformats/"));
#endif
}

TEST_F(StartupTest, ShutdownWritesModelPortFolderAndLanguage) {
  auto app = start();
  g_radioComm.SetPortNumber(5);
  app->shutdown();
  EXPECT_EQ(stored("LastModel").toString(), "00:00:20:30:31:34:34:50");
  EXPECT_EQ(stored("ComPort").toInt(), 5);
  EXPECT_EQ(stored("LastFilePath").toString(), documents + "/Veskaro/VPR-40T/");
  EXPECT_EQ(stored("Language").toInt(), 1);
}

TEST_F(StartupTest, StoredValuesAreRestored) {
  const QString folder = QString::fromStdString(test::makeTempDir()) + "/";
  const ModelCode other = ModelCatalogue::modelCodeForRow(5);
  store("ComPort", 12);
  store("LastFilePath", folder);
  store("LastModel", QString::fromStdString(CAppSettings::formatModelCode(other)));
  store("LastWinPos", "0:1:-1:-1:-1:-1:40:30:840:630");
  auto app = start();
  EXPECT_EQ(g_radioComm.PortNumber(), 12);
  EXPECT_EQ(QString::fromStdString(currentFile().folder()), folder);
  EXPECT_EQ(radioData().modelCode(), other);
  EXPECT_FALSE(app->mainFrame()->windowState().testFlag(Qt::WindowMaximized));
  EXPECT_EQ(app->mainFrame()->geometry().size(), QSize(800, 600));
}

// A remembered model that is malformed or names no model of the catalogue gives the default model.
TEST_F(StartupTest, MalformedValuesFallBackToTheirDefaults) {
  for (const char* model : {"00:00:20:30:31:34:34", "00:00:23:30:31:34:34:50"}) {
    store("ComPort", 21);
    store("LastFilePath", "/no/such/folder/");
    store("LastModel", model);
    store("LastWinPos", "0:1:-1:-1:-1:-1:40:30:840");
    radioData().resetToModel(ModelCatalogue::modelCodeForRow(5)); // so that leaving the model fails
    auto app = start();
    EXPECT_EQ(g_radioComm.PortNumber(), 1);
    EXPECT_EQ(QString::fromStdString(currentFile().folder()), documents + "/Veskaro/VPR-40T/");
    EXPECT_EQ(radioData().modelCode(), ModelCatalogue::defaultModelCode()) << model;
    EXPECT_TRUE(app->mainFrame()->windowState().testFlag(Qt::WindowMaximized));
  }
}

TEST_F(StartupTest, DemoInAnyLetterCaseMarksTheTitle) {
  auto app = start({"DeMo", "radio.dat"});
  EXPECT_TRUE(app->demonstrationMode());
  const QString title = app->mainFrame()->windowTitle();
  const QString suffix = QString(10, ' ') + QString::fromStdString(textOf(10001014));
  EXPECT_TRUE(title.endsWith(suffix)) << title.toStdString();
  // A file name on the command line opens nothing.
  EXPECT_EQ(currentFile().fileName(), "vpr40t.dat");
}

TEST_F(StartupTest, TheTitleNamesModelBandSpacingAndFile) {
  auto app = start();
  EXPECT_FALSE(app->demonstrationMode());
  const QString expected =
      QStringLiteral("VPR-40T  [ %1  %2] [ %3 : vpr40t.dat ]")
          .arg(QString::fromStdString(radioData().titleText()),
               QString::fromStdString(textOf(radioData().narrowSetting() == 1 ? 10031051 : 10031050)),
               QString::fromStdString(textOf(10007002)));
  EXPECT_EQ(app->mainFrame()->windowTitle(), expected);
  EXPECT_TRUE(app->mainFrame()->windowTitle().startsWith("VPR-40T  [ HX-"));
}

TEST_F(StartupTest, ALanguageFileFailureEndsStartUpWithoutWritingSettings) {
  const QString program = QString::fromStdString(test::makeTempDir());
  QFile damaged(program + "/vpr40t.lng");
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("*Language,English\r\n^#10000001,VPR-40T\r\n");
  damaged.close();
  CRPSApp::Options o = options();
  o.programFolder = program;
  CRPSApp app(ui, {}, o);
  EXPECT_FALSE(app.startup());
  EXPECT_FALSE(app.startupCompleted());
  EXPECT_EQ(app.mainFrame(), nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, CLanguageTable::kDamagedMessage);
  app.shutdown();
  EXPECT_FALSE(QFile::exists(test::settingsFile(settingsFolder)));
}

TEST_F(StartupTest, ExitAnsweredWithCancelKeepsRunningAndWritesNothing) {
  auto app = start();
  ui.answers.push_back(MessageAnswer::Cancel);
  EXPECT_FALSE(app->mainFrame()->close());
  EXPECT_TRUE(app->mainFrame()->isVisible());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, textOf(10012001));
  EXPECT_EQ(ui.messages[0].caption, textOf(10012002));
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Question);
  EXPECT_FALSE(stored("LastWinPos").isValid());
  EXPECT_FALSE(QFile::exists(test::settingsFile(settingsFolder)));
}

TEST_F(StartupTest, ExitAnsweredWithOkStoresThePlacement) {
  auto app = start();
  app->mainFrame()->showNormal();
  app->mainFrame()->setGeometry(50, 60, 700, 500);
  ui.answers.push_back(MessageAnswer::Ok);
  EXPECT_TRUE(app->mainFrame()->close());
  const auto placement = CAppSettings::parsePlacement(stored("LastWinPos").toString().toStdString());
  ASSERT_TRUE(placement);
  EXPECT_EQ(placement->showState, WindowPlacement::Normal);
  EXPECT_EQ(placement->right - placement->left, 700);
  EXPECT_EQ(placement->bottom - placement->top, 500);
}

TEST_F(StartupTest, ExitEndsTheEventLoopWithTheHelpWindowOpen) {
  CRPSApp::Options withManual = options();
  withManual.helpFolders = {QString::fromStdString(test::sourcePath("res"))};
  CRPSApp app(ui, {}, withManual);
  ASSERT_TRUE(app.startup());
  app.mainFrame()->onCommand(cmd::HelpTopics);
  QPointer<CHelpWindow> help = CHelpSystem::window();
  ASSERT_TRUE(help && QTest::qWaitForWindowExposed(help));
  ui.answers.push_back(MessageAnswer::Ok);
  app.mainFrame()->onCommand(cmd::AppExit);
  // The program's own loop, as main runs it; a loop still running after 20 s ends with 1.
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  watchdog.start(20000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(help.isNull() || !help->isVisible());
  ASSERT_EQ(ui.messages.size(), 1u);
}

TEST_F(StartupTest, AMinimisedWindowIsStoredAsItWouldBeRestored) {
  auto app = start();
  CMainFrame* frame = app->mainFrame();
  frame->setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
  EXPECT_EQ(frame->currentPlacement().showState, WindowPlacement::Maximized);
  frame->setWindowState(Qt::WindowMinimized);
  EXPECT_EQ(frame->currentPlacement().showState, WindowPlacement::Normal);
}

// Made below the documents folder; the documents folder itself where that cannot be; without
// documents, the program's DATA folder where it has one, else the program's folder.
TEST(DefaultDataFolder, IsMadeUnderTheDocumentsElseIsTheDocumentsElseLiesWithTheProgram) {
  const QString temp = QString::fromStdString(test::makeTempDir());
  const QString program = temp + "/program";
  ASSERT_TRUE(QDir(temp).mkpath("present") && QDir(temp).mkpath("blocked") && QDir(temp).mkpath("program"));
  QFile blocker(temp + "/blocked/Veskaro");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  for (const auto& [documents, expected] : std::initializer_list<std::pair<QString, QString>>{
           {temp + "/present", temp + "/present/Veskaro/VPR-40T/"},
           {temp + "/missing/Documents", temp + "/missing/Documents/Veskaro/VPR-40T/"},
           {temp + "/blocked", temp + "/blocked/"},
           {QString(), program + "/"}}) {
    EXPECT_EQ(CRPSApp::defaultDataFolder(documents, program), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir()) << expected.toStdString();
  }
  ASSERT_TRUE(QDir(program).mkdir("DATA"));
  EXPECT_EQ(CRPSApp::defaultDataFolder({}, program), program + "/DATA/");
}

} // namespace

namespace {

TEST_F(StartupTest, TheSplashComesUpOverTheShownMainWindow) {
  CRPSApp::Options o = options();
  o.showSplash = true;
  CRPSApp app(ui, {}, o);
  ASSERT_TRUE(app.startup());
  EXPECT_TRUE(QTest::qWaitFor([] { return CSplashWnd::current() != nullptr; }));
  EXPECT_TRUE(app.mainFrame()->windowHandle()->isExposed());
  EXPECT_EQ(CSplashWnd::current()->parentWidget(), app.mainFrame());
  CSplashWnd::current()->close();
}

} // namespace

namespace {

TEST(ApplicationFonts, TheFirstInstalledCandidateWinsAndTheEmptyFaceAlwaysQualifies) {
  const QFont installed = CRPSApp::chooseFont({{"No Such Face 40T", 13}, {"DejaVu Sans Mono", 15}, {"", 17}});
  EXPECT_EQ(installed.family(), "DejaVu Sans Mono");
  EXPECT_EQ(installed.pixelSize(), 15);
  EXPECT_TRUE(installed.fixedPitch());
  const QFont fallback = CRPSApp::chooseFont({{"No Such Face 40T", 13}, {"", 17}});
  EXPECT_EQ(fallback.pixelSize(), 17);
  EXPECT_TRUE(fallback.fixedPitch());
}

TEST_F(StartupTest, TheApplicationFontsArePublishedForTheViews) {
  auto app = start();
  EXPECT_EQ(qApp->property("vprFixedFont").value<QFont>(), app->fixedFont());
  EXPECT_EQ(qApp->property("vprLcdFont").value<QFont>(), app->lcdFont());
  EXPECT_TRUE(app->fixedFont().pixelSize() == 13 || app->fixedFont().pixelSize() == 17);
}

} // namespace
