// The Qt message boxes and file dialogs show the captions, icons and buttons of their kind
// and hand back what the user pressed or picked.
#include "views/CQtUserInterface.h"

#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vpr {
namespace {

struct SeenBox {
  Qt::TextFormat format = Qt::AutoText;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QString defaultButton;
  QWidget* parent = nullptr;
};

class QtUserInterfaceTest : public ::testing::Test {
protected:
  void SetUp() override { test::loadLanguage(true); }

  // Shows request, records the box, then presses the button with the given caption (or
  // Enter / Escape when pressKey is set) and returns the answer.
  MessageAnswer show(const MessageRequest& request, const QString& press,
                     Qt::Key pressKey = Qt::Key_unknown) {
    test::whenModal<QMessageBox>([this, press, pressKey](QMessageBox* box) {
      seen = {};
      seen.caption = box->windowTitle();
      seen.text = box->text();
      seen.format = box->textFormat();
      seen.icon = box->icon();
      for (QAbstractButton* button : box->buttons())
        seen.buttons << button->text();
      seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
      seen.parent = box->parentWidget();
      if (pressKey != Qt::Key_unknown) {
        QTest::keyClick(box, pressKey);
        return;
      }
      for (QAbstractButton* button : box->buttons())
        if (button->text() == press) button->click();
    });
    return ui.showMessage(request);
  }

  CQtUserInterface ui;
  SeenBox seen;
};

TEST_F(QtUserInterfaceTest, eachKindCarriesItsCaptionAndIcon) {
  EXPECT_EQ(
      show({MessageKind::Error, "broken", {}, MessageButtons::Ok, MessageIcon::None, {}}, "ID:10002001"),
      MessageAnswer::Ok);
  EXPECT_EQ(seen.caption, "ID:10025001");
  EXPECT_EQ(seen.text, "broken");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QStringList{"ID:10002001"});

  show({MessageKind::Confirmation, "sure?", {}, MessageButtons::OkCancel, MessageIcon::None, {}},
       "ID:10002001");
  EXPECT_EQ(seen.caption, "ID:10025002");
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_TRUE(seen.buttons.contains("ID:10002001"));
  EXPECT_TRUE(seen.buttons.contains("ID:10002002"));

  show({MessageKind::Warning, "careful", {}, MessageButtons::Ok, MessageIcon::None, {}}, "ID:10002001");
  EXPECT_EQ(seen.caption, "ID:10025003");
  EXPECT_EQ(seen.icon, QMessageBox::Warning);

  show({MessageKind::Product, "done", {}, MessageButtons::Ok, MessageIcon::Information, {}}, "ID:10002001");
  EXPECT_EQ(seen.caption, "VPR-40T");
  EXPECT_EQ(seen.icon, QMessageBox::Information);

  show({MessageKind::Product, "plain", {}, MessageButtons::Ok, MessageIcon::None, {}}, "ID:10002001");
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST_F(QtUserInterfaceTest, aTextThatLooksLikeMarkupIsShownAsItStands) {
  show({MessageKind::Error, "Cannot open <b>radio</b>.dat", {}, MessageButtons::Ok, MessageIcon::None, {}},
       "ID:10002001");
  EXPECT_EQ(seen.text.toStdString(), "Cannot open <b>radio</b>.dat");
  EXPECT_EQ(seen.format, Qt::PlainText);
}

TEST_F(QtUserInterfaceTest, aGivenCaptionReplacesTheKindsCaption) {
  show({MessageKind::Error, "x", "Test mode", MessageButtons::RetryCancel, MessageIcon::None, {}},
       "ID:10002002");
  EXPECT_EQ(seen.caption, "Test mode");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST_F(QtUserInterfaceTest, theAnswerIsTheButtonPressed) {
  const MessageRequest yesNoCancel{MessageKind::Product,     "save?", {}, MessageButtons::YesNoCancel,
                                   MessageIcon::Exclamation, {}};
  EXPECT_EQ(show(yesNoCancel, "ID:10002008"), MessageAnswer::Yes);
  EXPECT_EQ(seen.buttons.size(), 3);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(show(yesNoCancel, "ID:10002009"), MessageAnswer::No);
  EXPECT_EQ(show(yesNoCancel, "ID:10002002"), MessageAnswer::Cancel);
  EXPECT_EQ(show({MessageKind::Error, "again?", {}, MessageButtons::RetryCancel, MessageIcon::None, {}},
                 "ID:10002038"),
            MessageAnswer::Retry);
}

TEST_F(QtUserInterfaceTest, withoutALanguageTheButtonsKeepQtsCaptions) {
  test::unloadLanguage();
  const QString yes =
      QMessageBox(QMessageBox::NoIcon, {}, {}, QMessageBox::Yes).button(QMessageBox::Yes)->text();
  show({MessageKind::Product, "q", {}, MessageButtons::YesNo, MessageIcon::Question, {}}, yes);
  EXPECT_TRUE(seen.buttons.contains(yes));
  EXPECT_FALSE(seen.buttons.contains(QString()));
}

TEST_F(QtUserInterfaceTest, confirmIsTrueOnlyForOk) {
  test::whenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
  EXPECT_FALSE(ui.confirm("really?"));
  test::whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
  EXPECT_TRUE(ui.confirm("really?"));
}

TEST_F(QtUserInterfaceTest, enterAndEscapePressTheDefaultAndTheCancellingButton) {
  const MessageRequest confirmation{MessageKind::Confirmation, "go?", {}, MessageButtons::OkCancel,
                                    MessageIcon::None,         {}};
  EXPECT_EQ(show(confirmation, {}, Qt::Key_Return), MessageAnswer::Cancel);
  EXPECT_EQ(seen.defaultButton, "ID:10002002");

  MessageRequest okDefault = confirmation;
  okDefault.defaultAnswer = MessageAnswer::Ok;
  EXPECT_EQ(show(okDefault, {}, Qt::Key_Return), MessageAnswer::Ok);

  const MessageRequest yesNo{MessageKind::Product, "q", {}, MessageButtons::YesNo, MessageIcon::Question, {}};
  EXPECT_EQ(show(yesNo, {}, Qt::Key_Return), MessageAnswer::Yes);
  EXPECT_EQ(show(yesNo, {}, Qt::Key_Escape), MessageAnswer::No);
  EXPECT_EQ(show(confirmation, {}, Qt::Key_Escape), MessageAnswer::Cancel);
}

TEST_F(QtUserInterfaceTest, boxesAreModalOverTheGivenWindow) {
  QWidget window;
  window.show();
  ui.setParentWindow(&window);
  show({MessageKind::Warning, "w", {}, MessageButtons::Ok, MessageIcon::None, {}}, "ID:10002001");
  EXPECT_EQ(seen.parent, &window);
}

TEST_F(QtUserInterfaceTest, pumpingRunsPendingEvents) {
  bool ran = false;
  QMetaObject::invokeMethod(
      &ui, [&] { ran = true; }, Qt::QueuedConnection);
  ui.pumpOneMessage();
  EXPECT_TRUE(ran);
}

TEST_F(QtUserInterfaceTest, theOpenDialogOffersDataFilesOfTheFolderAndReturnsTheChosenPath) {
  const std::string folder = test::makeTempDir();
  QFile file(QString::fromStdString(folder + "/radio.dat"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  QString filter;
  QString directory;
  QFileDialog::FileMode mode{};
  test::whenModal<QFileDialog>([&](QFileDialog* dialog) {
    filter = dialog->nameFilters().join(';');
    directory = dialog->directory().absolutePath();
    mode = dialog->fileMode();
    dialog->selectFile("radio.dat");
    QMetaObject::invokeMethod(dialog, "accept");
  });
  const auto chosen = ui.chooseFileToOpen({folder, {}, {}, "dat"});
  EXPECT_EQ(filter, "ID:10007001 (*.dat)");
  EXPECT_EQ(directory, QDir(QString::fromStdString(folder)).absolutePath());
  EXPECT_EQ(mode, QFileDialog::ExistingFile);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(QFileInfo(QString::fromStdString(*chosen)).canonicalFilePath(),
            QFileInfo(file).canonicalFilePath());

  test::whenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_FALSE(ui.chooseFileToOpen({folder, {}, {}, "dat"}).has_value());
}

TEST_F(QtUserInterfaceTest, theSaveDialogProposesTheNameAndAddsTheDataExtension) {
  const std::string folder = test::makeTempDir();
  QString proposed;
  bool confirmsOverwrite = false;
  test::whenModal<QFileDialog>([&](QFileDialog* dialog) {
    proposed = dialog->selectedFiles().value(0);
    confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->clear();
    QTest::keyClicks(name, "mine");
    QTest::keyClick(name, Qt::Key_Return);
  });
  const auto chosen = ui.chooseFileToSave({folder, "vpr40t.dat", "Data file", "dat"});
  EXPECT_TRUE(proposed.endsWith("vpr40t.dat"));
  EXPECT_TRUE(confirmsOverwrite);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(QFileInfo(QString::fromStdString(*chosen)).fileName().toStdString(), "mine.dat");
}

} // namespace
} // namespace vpr
