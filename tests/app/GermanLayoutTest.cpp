// The program in German as a user gets it: the language picked in the Options dialog takes
// effect at the next start, numbers then take the decimal comma, and every window built with the
// German texts shows each text whole at 100 % scale (no label, button, check box, list entry,
// cell or column heading wider than the widget that shows it) with accelerator letters that are
// unique within each menu and dialog.
#include "app/AppTestSupport.h"
#include "app/CAboutDlg.h"
#include "app/CAdjustDlg.h"
#include "app/CAppSettings.h"
#include "app/CCompareDlg.h"
#include "app/CHelpWindow.h"
#include "app/CMainFrame.h"
#include "app/COptionsDlg.h"
#include "app/CRPSApp.h"
#include "app/CReadDlg.h"
#include "app/CRestoreDlg.h"
#include "app/CTestModeDlg.h"
#include "app/CWriteDlg.h"
#include "app/CommandIds.h"
#include "app/ProgramFixture.h"
#include "app/VirtualRadioAtPort.h"
#include "lang/CLanguageTable.h"
#include "link/TestModeSession.h"
#include "model/NumberText.h"
#include "model/RadioBackups.h"
#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <map>

using namespace vpr;

namespace {

constexpr int kGerman = 2;

// The text as shown: without the shortcut after a TAB and without accelerator markers.
QString shownText(QString text) {
  text = text.section(QLatin1Char('\t'), 0, 0);
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

int widestLine(const QFontMetrics& metrics, const QString& text) {
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  return widest;
}

// The accelerator letter of a text, or a null character when it has none.
QChar acceleratorOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toLower();
    ++i;
  }
  return {};
}

// Every text the window and its children show that is wider than the room it has, as
// "<class> "<text>": needs N of M"; and every accelerator letter that two controls share.
QStringList layoutFaults(QWidget* window) {
  QStringList faults;
  const auto check = [&faults](const QWidget* widget, const QString& text, int needed, int room) {
    if (needed > room)
      faults << QStringLiteral("%1 \"%2\": needs %3 of %4")
                    .arg(QString::fromLatin1(widget->metaObject()->className()), text)
                    .arg(needed)
                    .arg(room);
  };
  std::map<QChar, QString> accelerators;
  const auto claim = [&](const QString& text) {
    const QChar letter = acceleratorOf(text);
    if (letter.isNull()) return;
    const auto [it, added] = accelerators.emplace(letter, text);
    if (!added)
      faults << QStringLiteral("\"%1\" and \"%2\" share the accelerator %3").arg(it->second, text, letter);
  };

  QList<QWidget*> widgets = window->findChildren<QWidget*>();
  widgets.prepend(window);
  for (QWidget* widget : widgets) {
    if (widget != window && !widget->isVisibleTo(window)) continue;
    if (qobject_cast<QMenu*>(widget)) continue; // menus size themselves to their texts
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      if (label->text().isEmpty() || !label->pixmap().isNull()) continue;
      if (label->buddy()) claim(label->text());
      if (label->wordWrap())
        check(label, label->text(), label->heightForWidth(label->width()), label->height());
      else
        check(label, label->text(), label->sizeHint().width(), label->width());
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      if (button->text().isEmpty()) continue;
      // A tool button carries its action's menu text, whose accelerator belongs to the menu.
      if (!qobject_cast<QToolButton*>(button)) claim(button->text());
      // The style's size for the text (and indicator or icon) is the room it needs.
      check(button, button->text(), button->sizeHint().width(), button->width());
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      claim(group->title());
      check(group, group->title(), metrics.horizontalAdvance(shownText(group->title())) + 16, group->width());
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      QStyleOptionComboBox option;
      option.initFrom(combo);
      option.editable = combo->isEditable();
      option.frame = combo->hasFrame();
      const int field =
          combo->style()
              ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
              .width();
      for (int i = 0; i < combo->count(); ++i)
        check(combo, combo->itemText(i), metrics.horizontalAdvance(combo->itemText(i)), field);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      // A field the user cannot type into shows its text only as far as it is wide.
      if (edit->isReadOnly() && !edit->text().isEmpty() && !qobject_cast<QComboBox*>(edit->parentWidget()))
        check(edit, edit->text(), metrics.horizontalAdvance(edit->text()) + 6, edit->width());
    } else if (auto* header = qobject_cast<QHeaderView*>(widget)) {
      if (header->orientation() != Qt::Horizontal || !header->model()) continue;
      const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
      for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section) || header->sectionSize(section) == 0) continue;
        const QString text = header->model()->headerData(section, Qt::Horizontal).toString();
        check(header, text, widestLine(metrics, text) + margins, header->sectionSize(section));
      }
    } else if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
      QAbstractItemModel* model = view->model();
      if (!model) continue;
      std::function<void(const QModelIndex&)> visit = [&](const QModelIndex& parent) {
        for (int row = 0; row < model->rowCount(parent); ++row) {
          for (int column = 0; column < model->columnCount(parent); ++column) {
            const QModelIndex index = model->index(row, column, parent);
            const QString text = index.data(Qt::DisplayRole).toString();
            const QRect cell = view->visualRect(index);
            if (!text.isEmpty() && cell.isValid()) {
              const int icon = index.data(Qt::DecorationRole).isNull() ? 0 : view->iconSize().width() + 4;
              check(view, text, widestLine(view->fontMetrics(), text) + icon + 6, cell.width());
            }
            if (column == 0) visit(index);
          }
        }
      };
      visit(view->rootIndex());
    }
  }
  return faults;
}

// The same for a menu and its submenus: every item's accelerator letter unique in its menu.
QStringList menuFaults(const QMenu* menu) {
  QStringList faults;
  std::map<QChar, QString> accelerators;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || !action->isVisible()) continue;
    if (action->menu()) faults << menuFaults(action->menu());
    const QChar letter = acceleratorOf(action->text());
    if (letter.isNull()) continue;
    const auto [it, added] = accelerators.emplace(letter, action->text());
    if (!added)
      faults << QStringLiteral("%1: \"%2\" and \"%3\" share %4")
                    .arg(menu->title(), it->second, action->text(), letter);
  }
  return faults;
}

::testing::AssertionResult showsEveryTextWhole(QWidget* window) {
  const QStringList faults = layoutFaults(window);
  if (faults.isEmpty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << window->metaObject()->className() << ":\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
}

// Shows a window as the user gets it, checks it and closes it.
void checkShown(QWidget* window) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_TRUE(showsEveryTextWhole(window));
}

class GermanProgram : public test::ProgramFixture {
protected:
  void TearDown() override {
    app.reset();
    NumberText::setDecimalSeparator('.');
    test::loadLanguage();
  }

  void start() {
    app = std::make_unique<CRPSApp>(ui, QStringList{}, test::programOptions());
    ASSERT_TRUE(app->startup());
    frame = app->mainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
  }
  // Ends the program as the user's close would, settings written.
  void stop() {
    app->shutdown();
    app.reset();
  }

  // Runs a command of the main window and checks the first modal dialog it opens; whatever
  // modal window follows (a question after Cancel) is closed unchecked.
  void checkDialogOf(int command) {
    int checked = 0;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&checked] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      if (checked++ == 0) {
        EXPECT_TRUE(showsEveryTextWhole(dialog));
      }
      dialog->reject();
    });
    closer.start();
    frame->onCommand(command);
    EXPECT_GT(checked, 0) << "command " << command << " opened no dialog";
  }

  CMainFrame* frame = nullptr;
};

TEST_F(GermanProgram, TheLanguagePickedInOptionsTakesEffectAtTheNextStartWithTheDecimalComma) {
  start();
  EXPECT_EQ(languageTable().currentLanguageName(), "English");
  bool noteBefore = true, noteAfter = false;
  test::whenModal<COptionsDlg>([&](COptionsDlg* dialog) {
    noteBefore = dialog->restartNote()->isVisible();
    QComboBox* languages = dialog->languageBox();
    languages->setCurrentIndex(languages->findText(QStringLiteral("Deutsch")));
    noteAfter = dialog->restartNote()->isVisible();
    dialog->accept();
  });
  frame->onCommand(cmd::SetupOptions);
  EXPECT_FALSE(noteBefore);
  EXPECT_TRUE(noteAfter);
  // Still English until the program starts again, and the choice outlives this run's exit.
  EXPECT_EQ(frame->menuBar()->actions().front()->text().toStdString(), "&File");
  stop();
  EXPECT_EQ(CAppSettings().language(), kGerman);

  start();
  EXPECT_EQ(languageTable().currentLanguageName(), "German");
  EXPECT_EQ(frame->menuBar()->actions().front()->text().toStdString(), "&Datei");
  EXPECT_EQ(NumberText::decimalSeparator(), ',');
  EXPECT_EQ(NumberText::formatFixed(145.125, 3), "145,125");
}

TEST_F(GermanProgram, ALanguageTheFileLacksGivesTheFirstColumnAndIsStoredAsThat) {
  for (const int stored : {0, 7}) {
    CAppSettings().setLanguage(stored);
    start();
    EXPECT_EQ(languageTable().currentLanguageName(), "English") << stored;
    EXPECT_EQ(NumberText::decimalSeparator(), '.');
    stop();
    EXPECT_EQ(CAppSettings().language(), 1) << stored;
  }
}

class GermanLayout : public GermanProgram {
protected:
  void SetUp() override {
    GermanProgram::SetUp();
    CAppSettings().setLanguage(kGerman);
    start();
    ASSERT_EQ(languageTable().currentLanguageName(), "German");
    frame->resize(1024, 768);
  }
};

TEST_F(GermanLayout, TheMainWindowItsMenusAndEveryViewShowTheirTextsWhole) {
  for (QAction* menu : frame->menuBar()->actions())
    EXPECT_EQ(menuFaults(menu->menu()), QStringList()) << menu->text().toStdString();
  for (const int view :
       {cmd::ChannelInformation, cmd::OptionalFeatures, cmd::KeyAssignment, cmd::TestFrequency}) {
    frame->onCommand(view);
    QTest::qWait(50);
    EXPECT_TRUE(showsEveryTextWhole(frame)) << "with view " << view;
  }
}

TEST_F(GermanLayout, EveryDialogShowsItsTextsWhole) {
  for (const int command : {cmd::About, cmd::ModelInformation, cmd::CommunicationPort, cmd::SetupOptions,
                            cmd::FilePrint, cmd::MemoryMap, cmd::ReadData, cmd::WriteData})
    checkDialogOf(command);

  const std::string folder = test::makeTempDir();
  std::error_code error;
  ASSERT_FALSE(
      RadioBackups::store(folder, radioData().editImage, std::time(nullptr), BackupReason::BeforeWrite, error)
          .empty());
  CRestoreDlg restore(folder, [](int) {});
  checkShown(&restore);
  CCompareDlg compare(textOf(10065045), {{"Kan. 3 Empf.-Freq.", "145,125", "146,500"}}, [](int) {});
  checkShown(&compare);

  CHelpWindow help;
  checkShown(&help);
}

TEST_F(GermanLayout, TheTestModeAndAdjustmentDialogsShowTheirTextsWhole) {
  const RadioImage memory = test::markedImage(13, 0x20);
  sim::VirtualRadioOptions options;
  options.programMode = true;
  test::VirtualRadioAtPort at(memory, options);
  RadioImage image = memory;
  TestModeSession session(at.link, ui, image, false);
  ASSERT_EQ(session.begin(), 0);
  CTestModeDlg dialog(
      session, ui, [](int) {}, frame);
  checkShown(&dialog);
  bool adjusted = false;
  test::whenModal<CAdjustDlg>([&adjusted](CAdjustDlg* adjustment) {
    adjusted = true;
    EXPECT_TRUE(showsEveryTextWhole(adjustment));
    adjustment->reject();
  });
  ui.answers = {MessageAnswer::Ok}; // the question before an alignment change
  dialog.itemList()->setFocus();
  dialog.itemList()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
  QTest::keyClick(dialog.itemList(), Qt::Key_Return);
  EXPECT_TRUE(adjusted);
}

} // namespace
