// Every window of the program as a user meets it, in English and in German, at whatever scale
// the test runs (CTest runs these suites also at QT_SCALE_FACTOR 1.5 and 2): the main window
// with its menus and views, every dialog and the message boxes show each text whole, no control
// lies over another or out of its window, every window lies on the screen, every control a user
// works with is named for a screen reader, and the icons are drawn from sources as sharp as the
// screen.
#include "app/AppTestSupport.h"
#include "app/CAdjustDlg.h"
#include "app/CAppSettings.h"
#include "app/CCompareDlg.h"
#include "app/CHelpSystem.h"
#include "app/CHelpWindow.h"
#include "app/CMainFrame.h"
#include "app/CPrintListDlg.h"
#include "app/CRPSApp.h"
#include "app/CRestoreDlg.h"
#include "app/CTestModeDlg.h"
#include "app/CTreeViewBar.h"
#include "app/CommandIds.h"
#include "app/LayoutFaults.h"
#include "app/ProgramFixture.h"
#include "app/ViewFrameSetup.h"
#include "app/VirtualRadioAtPort.h"
#include "lang/CLanguageTable.h"
#include "link/TestModeSession.h"
#include "model/DataFileFlows.h"
#include "model/ImageCompare.h"
#include "model/NumberText.h"
#include "model/RadioBackups.h"
#include "model/RadioData.h"
#include "support/ModalDriver.h"
#include "views/CQtUserInterface.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

#include <ctime>
#include <functional>

using namespace vpr;

namespace {

constexpr int kEnglish = 1;
constexpr int kGerman = 2;
// The test mode's error when the radio does not answer a command.
constexpr int kTextCommandFailed = 10026031;
// What the compare calls the radio read.
constexpr int kTextTheRadio = 10065045;

// The program started in a language, as a user starts it.
class ScaledProgram : public test::ProgramFixture {
protected:
  void start(int language) {
    CAppSettings().setLanguage(language);
    ASSERT_NE(test::ProgramFixture::start(), nullptr);
    ASSERT_EQ(languageTable().currentLanguageName(), language == kGerman ? "German" : "English");
  }
  void TearDown() override {
    CHelpSystem::setSearchFolders({});
    delete CHelpSystem::window();
    test::ProgramFixture::TearDown();
    NumberText::setDecimalSeparator('.');
  }
};

class ScaledLayout : public ScaledProgram, public ::testing::WithParamInterface<int> {
protected:
  void SetUp() override {
    ScaledProgram::SetUp();
    start(GetParam());
  }

  // Checks a window once it is on the screen, laid out as the user sees it.
  static void checkExposed(QWidget& window) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 20000));
    // The window manager frames and places the window a moment after it shows (seconds on a
    // machine busy with other builds); a fault is what is still there once it has.
    (void)QTest::qWaitFor(
        [&window] {
          return test::framedGeometry(window) != window.geometry() &&
                 static_cast<bool>(test::laidOutCleanly(window));
        },
        10000);
    EXPECT_TRUE(test::laidOutCleanly(window));
  }
  static void checkShown(QWidget& window) {
    window.show();
    checkExposed(window);
  }
  // Runs an action that opens modal windows, checks the first and closes each.
  static void checkFirstModalOf(const std::function<void()>& action) {
    int seen = 0;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&seen, &closer] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      if (seen++ == 0) {
        closer.stop(); // no second look while the check waits
        checkExposed(*dialog);
        closer.start();
      }
      dialog->reject();
    });
    closer.start();
    action();
    EXPECT_GT(seen, 0) << "no dialog opened";
  }

  void checkCommand(int command) {
    checkFirstModalOf([this, command] { frame->onCommand(command); });
  }
  // The print list, and the preview opened from it.
  void checkPrintListAndPreview() {
    bool previewed = false;
    test::whenModal<CPrintListDlg>([&previewed](CPrintListDlg* list) {
      checkExposed(*list);
      test::whenModal<QPrintPreviewDialog>([&previewed](QPrintPreviewDialog* preview) {
        previewed = true;
        checkExposed(*preview);
        preview->reject();
      });
      list->previewButton()->click();
      list->reject();
    });
    frame->onCommand(cmd::FilePrint);
    EXPECT_TRUE(previewed);
  }
  void checkRestoreAndCompare() {
    const std::string folder = test::makeTempDir();
    std::error_code error;
    ASSERT_FALSE(RadioBackups::store(folder, radioData().editImage, std::time(nullptr),
                                     BackupReason::BeforeWrite, error)
                     .empty());
    CRestoreDlg restore(
        folder, [](int) {}, frame);
    checkShown(restore);
    // The radio's differences from the working image, named as the program names them.
    CCompareDlg compare(
        textOf(kTextTheRadio), ImageCompare::compare(radioData().editImage, test::markedImage(13, 0x20)),
        [](int) {}, frame);
    checkShown(compare);
  }
  void checkHelpWindow() {
    CHelpSystem::setHelpFileName("vpr40t_en.chm");
    CHelpSystem::setSearchFolders({QString::fromStdString(test::sourcePath("res"))});
    frame->onCommand(cmd::HelpTopics);
    CHelpWindow* help = CHelpSystem::window();
    ASSERT_NE(help, nullptr);
    checkShown(*help);
  }
  // The test mode on the virtual radio, and the adjustment dialog it opens for an item.
  void checkTestModeAndAdjustment() {
    const RadioImage memory = test::markedImage(13, 0x20);
    sim::VirtualRadioOptions options;
    options.programMode = true;
    test::VirtualRadioAtPort at(memory, options);
    RadioImage image = memory;
    TestModeSession session(at.link, ui, image, false);
    ASSERT_EQ(session.begin(), 0);
    CTestModeDlg dialog(
        session, ui, [](int) {}, frame);
    checkShown(dialog);
    bool adjusted = false;
    test::whenModal<CAdjustDlg>([&adjusted](CAdjustDlg* adjustment) {
      adjusted = true;
      checkExposed(*adjustment);
      adjustment->reject();
    });
    ui.answers = {MessageAnswer::Ok}; // the question before an alignment change
    dialog.itemList()->setFocus();
    dialog.itemList()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(dialog.itemList(), Qt::Key_Return);
    EXPECT_TRUE(adjusted);
  }
  // The message boxes as the desktop program raises them: a question and an error with Retry.
  void checkMessageBoxes() {
    CQtUserInterface real;
    real.setParentWindow(frame);
    checkFirstModalOf([&real] { real.confirm(textOf(DataFileFlows::kTextReplaceData)); });
    checkFirstModalOf([&real] {
      real.showMessage({MessageKind::Error,
                        textOf(kTextCommandFailed),
                        {},
                        MessageButtons::RetryCancel,
                        MessageIcon::Stop,
                        MessageAnswer::Retry});
    });
  }
};

TEST_P(ScaledLayout, TheMainWindowItsMenusAndEveryViewShowEveryTextWholeWithNothingOverlapping) {
  for (QAction* menu : frame->menuBar()->actions())
    EXPECT_EQ(test::menuFaults(*menu->menu()).join(QLatin1Char('\n')).toStdString(), "");
  for (int command : {cmd::TreeView, cmd::ChannelInformation, cmd::OptionalFeatures, cmd::KeyAssignment,
                      cmd::TestFrequency})
    frame->onCommand(command);
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().size() == 4; }));
  for (QMdiSubWindow* window : frame->mdiArea()->subWindowList()) {
    frame->mdiArea()->setActiveSubWindow(window);
    window->showMaximized();
    CImageView* view = viewInFrame(window);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }));
    EXPECT_TRUE(test::laidOutCleanly(*frame)) << view->viewTitle().toStdString();
  }
}

TEST_P(ScaledLayout, EveryDialogAndMessageBoxShowsEveryTextWholeWithNothingOverlapping) {
  const std::vector<std::pair<const char*, std::function<void()>>> dialogs = {
      {"About", [this] { checkCommand(cmd::About); }},
      {"Model Information", [this] { checkCommand(cmd::ModelInformation); }},
      {"Port", [this] { checkCommand(cmd::CommunicationPort); }},
      {"Options", [this] { checkCommand(cmd::SetupOptions); }},
      {"Memory Map", [this] { checkCommand(cmd::MemoryMap); }},
      {"Read", [this] { checkCommand(cmd::ReadData); }},
      {"Write", [this] { checkCommand(cmd::WriteData); }},
      {"Fleet Write", [this] { checkCommand(cmd::WriteSeveralRadios); }},
      {"Print list and preview", [this] { checkPrintListAndPreview(); }},
      {"Restore and Compare", [this] { checkRestoreAndCompare(); }},
      {"Test Mode and Adjust", [this] { checkTestModeAndAdjustment(); }},
      {"Help window", [this] { checkHelpWindow(); }},
      {"message boxes", [this] { checkMessageBoxes(); }},
  };
  for (const auto& [name, check] : dialogs) {
    SCOPED_TRACE(name);
    check();
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, ScaledLayout, ::testing::Values(kEnglish, kGerman),
                         [](const auto& info) { return info.param == kGerman ? "German" : "English"; });

// The toolbar's and the tree's icons drawn at the screen's pixel ratio come from an image with
// that many pixels, not from a smaller one blown up.
class ScaledIcons : public ScaledProgram {};

TEST_F(ScaledIcons, AreDrawnFromSourcesAsSharpAsTheScreen) {
  start(kEnglish);
  frame->onCommand(cmd::TreeView);
  const qreal ratio = frame->devicePixelRatio();
  QStringList blurred;
  const auto check = [&](const QIcon& icon, QSize size, const QString& name) {
    const QPixmap drawn = icon.pixmap(size, ratio);
    if (drawn.size() != size * ratio)
      blurred << QStringLiteral("%1: %2x%3 for %4x%5")
                     .arg(name)
                     .arg(drawn.width())
                     .arg(drawn.height())
                     .arg(qRound(size.width() * ratio))
                     .arg(qRound(size.height() * ratio));
  };
  auto* toolBar = frame->findChild<QToolBar*>(QStringLiteral("toolBar"));
  ASSERT_NE(toolBar, nullptr);
  int icons = 0;
  for (QAction* action : toolBar->actions()) {
    if (action->icon().isNull()) continue;
    check(action->icon(), toolBar->iconSize(), action->text());
    ++icons;
  }
  QTreeWidget* tree = frame->treeBar()->tree();
  // A view without an icon size of its own draws at the style's small icon size.
  const int small = tree->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, tree);
  const QSize treeIcon = tree->iconSize().isValid() ? tree->iconSize() : QSize(small, small);
  for (QTreeWidgetItemIterator it(tree); *it; ++it) {
    check((*it)->icon(0), treeIcon, (*it)->text(0));
    ++icons;
  }
  EXPECT_GT(icons, 10);
  EXPECT_EQ(blurred, QStringList()) << "at a pixel ratio of " << ratio;
}

} // namespace
