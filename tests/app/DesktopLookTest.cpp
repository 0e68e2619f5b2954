// How the program's windows look to the window manager and the user once it started: dialog
// buttons carry text only, dialogs and message boxes ask the window manager for neither a
// minimise nor a maximise button, and the About box shows the program's own icon.
#include "app/CAboutDlg.h"
#include "app/DialogButtons.h"
#include "app/ProgramFixture.h"
#include "app/XClients.h"
#include "support/ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

// The Motif hints a window carries on the X server, as the window manager reads them:
// {flags, functions, decorations}; empty when the window has none.
std::vector<unsigned long> motifHints(const QWidget& window) {
  const QString output = test::xprop({"-id", QString::number(window.winId()), "_MOTIF_WM_HINTS"});
  const auto equals = output.indexOf(QLatin1Char('='));
  if (equals < 0) return {};
  std::vector<unsigned long> values;
  for (const QString& field : output.mid(equals + 1).split(QLatin1Char(','))) {
    bool ok = false;
    const unsigned long value = field.trimmed().toULong(&ok, 0);
    if (ok) values.push_back(value);
  }
  return values;
}

// Whether the window manager is told to offer neither minimising nor maximising the window.
::testing::AssertionResult offersNoMinimiseOrMaximise(const QWidget& window) {
  constexpr unsigned long kHasFunctions = 1, kHasDecorations = 2;
  constexpr unsigned long kFunctionAll = 1, kFunctionMinimise = 8, kFunctionMaximise = 16;
  constexpr unsigned long kDecorationAll = 1, kDecorationMinimise = 32, kDecorationMaximise = 64;
  const std::vector<unsigned long> hints = motifHints(window);
  if (hints.size() < 3) return ::testing::AssertionFailure() << "the window carries no Motif hints";
  const unsigned long flags = hints[0], functions = hints[1], decorations = hints[2];
  if (!(flags & kHasFunctions) || (functions & (kFunctionAll | kFunctionMinimise | kFunctionMaximise)))
    return ::testing::AssertionFailure()
           << "functions 0x" << std::hex << functions << " (flags 0x" << flags << ")";
  if ((flags & kHasDecorations) &&
      (decorations & (kDecorationAll | kDecorationMinimise | kDecorationMaximise)))
    return ::testing::AssertionFailure() << "decorations 0x" << std::hex << decorations;
  return ::testing::AssertionSuccess();
}

class DesktopLookTest : public test::ProgramFixture {
protected:
  void SetUp() override {
    test::ProgramFixture::SetUp();
    ASSERT_NE(start(), nullptr);
  }
};

TEST_F(DesktopLookTest, DialogButtonsShowTextWithoutStockIcons) {
  QDialog dialog;
  QDialogButtonBox* buttons = makeOkCancelHelpButtons(dialog, true);
  for (QAbstractButton* button : buttons->buttons())
    EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
  QMessageBox box(QMessageBox::Question, QStringLiteral("caption"), QStringLiteral("text"),
                  QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Help);
  for (QAbstractButton* button : box.buttons())
    EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
}

TEST_F(DesktopLookTest, DialogsAndMessageBoxesOfferNoMinimiseOrMaximise) {
  QDialog dialog(frame);
  dialog.resize(300, 200);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_TRUE(offersNoMinimiseOrMaximise(dialog));

  QMessageBox box(QMessageBox::Warning, QStringLiteral("caption"), QStringLiteral("text"), QMessageBox::Ok,
                  frame);
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  EXPECT_TRUE(offersNoMinimiseOrMaximise(box));
  // The main window keeps both.
  EXPECT_FALSE(offersNoMinimiseOrMaximise(*frame));
}

TEST_F(DesktopLookTest, TheAboutBoxShowsTheProgramsIcon) {
  QImage shown;
  bool modalHasNoMaximise = false;
  test::whenModal<CAboutDlg>([&](CAboutDlg* dialog) {
    for (QLabel* label : dialog->findChildren<QLabel*>())
      if (!label->pixmap().isNull()) shown = label->pixmap().toImage();
    modalHasNoMaximise = offersNoMinimiseOrMaximise(*dialog);
    dialog->accept();
  });
  CAboutDlg::run(frame);
  ASSERT_FALSE(shown.isNull());
  const QSize size = shown.size();
  const QIcon programIcon = frame->windowIcon();
  ASSERT_FALSE(programIcon.isNull());
  EXPECT_TRUE(programIcon.availableSizes().contains(QSize(64, 64))); // the About box at 200 %
  EXPECT_EQ(shown, programIcon.pixmap(size).toImage().convertToFormat(shown.format()));
  EXPECT_NE(shown, QApplication::style()
                       ->standardIcon(QStyle::SP_MessageBoxInformation)
                       .pixmap(size)
                       .toImage()
                       .convertToFormat(shown.format()));
  EXPECT_TRUE(modalHasNoMaximise);
}

} // namespace
