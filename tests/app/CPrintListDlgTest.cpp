// The Print Out List dialog with real widgets and keys, and the pages that its Print and Export
// put out.
#include "app/CPrintListDlg.h"
#include "app/AppTestSupport.h"
#include "app/CRPSView.h"
#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"
#include "views/CSpinEdit.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace vpr {
namespace {

// The page count pdfinfo reads from a PDF file; -1 when it is no PDF.
int pdfPages(const QString& path) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {path});
  info.waitForFinished();
  const QString out = QString::fromUtf8(info.readAllStandardOutput());
  for (const QString& line : out.split('\n'))
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  return -1;
}

class PrintListTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::loadLanguage(true);
    data.resetToModel(ModelCatalogue::modelCodeForRow(2)); // 16 channels
    for (int n = 1; n <= 7; ++n) {
      std::string rx = "146.52";
      data.setChannelFrequency(n, rx, FrequencyField::Receive);
    }
    dialog =
        std::make_unique<CPrintListDlg>(data, printing, [this](int context) { help.push_back(context); });
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }
  QCheckBox* box(CPrintListDlg::Section section) const { return dialog->sectionBox(section); }
  std::string pages() const { return dialog->pageCountDisplay()->text().toStdString(); }
  bool anyChecked() const {
    for (int s = 0; s < CPrintListDlg::SectionCount; ++s)
      if (box(CPrintListDlg::Section(s))->isChecked()) return true;
    return false;
  }

  RadioData data;
  test::FakeUserInterface ui;
  CRPSView printing{data, ui};
  std::vector<int> help;
  std::unique_ptr<CPrintListDlg> dialog;
};

TEST_F(PrintListTest, OpensWithTheModelAloneAndTheWholeChannelRange) {
  EXPECT_EQ(dialog->windowTitle().toStdString(), "ID:10008001");
  EXPECT_TRUE(box(CPrintListDlg::Model)->isChecked());
  for (const auto section : {CPrintListDlg::Features, CPrintListDlg::Keys, CPrintListDlg::TestFrequencies,
                             CPrintListDlg::Channels})
    EXPECT_FALSE(box(section)->isChecked());
  EXPECT_EQ(box(CPrintListDlg::Channels)->text().toStdString(), "ID:10027012");
  EXPECT_EQ(dialog->startField()->text(), "1");
  EXPECT_EQ(dialog->endField()->text(), "16");
  EXPECT_FALSE(dialog->startField()->isEnabled());
  EXPECT_FALSE(dialog->endField()->isEnabled());
  EXPECT_TRUE(dialog->okButton()->isEnabled());
  EXPECT_TRUE(dialog->previewButton()->isEnabled());
  EXPECT_EQ(pages(), " 1");
  EXPECT_EQ(dialog->selection(), PrintSelection::printListDefault(16));
}

TEST_F(PrintListTest, ClearAllAndSelectAllSetEverySectionAndTheButtonsFollow) {
  QTest::mouseClick(dialog->clearAllButton(), Qt::LeftButton);
  EXPECT_FALSE(anyChecked());
  EXPECT_FALSE(dialog->okButton()->isEnabled());
  EXPECT_FALSE(dialog->previewButton()->isEnabled());
  EXPECT_FALSE(dialog->startField()->isEnabled());

  box(CPrintListDlg::Keys)->click();
  EXPECT_TRUE(dialog->okButton()->isEnabled());
  EXPECT_EQ(pages(), " 1");

  dialog->startField()->setText("5");
  QTest::mouseClick(dialog->selectAllButton(), Qt::LeftButton);
  for (int s = 0; s < CPrintListDlg::SectionCount; ++s)
    EXPECT_TRUE(box(CPrintListDlg::Section(s))->isChecked());
  EXPECT_EQ(dialog->startField()->text(), "1");
  EXPECT_TRUE(dialog->startField()->isEnabled());
  EXPECT_EQ(pages(), " 3") << "the settings page and seven channels on two pages";
  EXPECT_EQ(dialog->selection(), PrintSelection::everything(16));
}

TEST_F(PrintListTest, TypedChannelsAreClampedAndAFinishedEntryMovesTheOtherEnd) {
  box(CPrintListDlg::Channels)->click();
  EXPECT_EQ(pages(), " 2") << "seven channels on two pages";
  CSpinEdit* start = dialog->startField();
  CSpinEdit* end = dialog->endField();
  const auto type = [](CSpinEdit* field, const char* text) {
    field->edit()->setFocus();
    field->edit()->selectAll();
    QTest::keyClicks(field->edit(), text);
  };
  type(end, "6");
  QTest::keyClick(end->edit(), Qt::Key_Tab);
  EXPECT_EQ(pages(), " 1") << "channels 1..6 fit one page";
  type(end, "99");
  EXPECT_EQ(end->text(), "16") << "clamped while typing";
  QTest::keyClick(end->edit(), Qt::Key_Tab);
  EXPECT_EQ(pages(), " 2");

  type(start, "7");
  EXPECT_EQ(pages(), " 1") << "the start being typed already counts: channel 7 alone";
  QTest::keyClick(start->edit(), Qt::Key_Tab);
  EXPECT_EQ(start->text(), "7");
  EXPECT_EQ(end->text(), "16");

  type(end, "3");
  QTest::keyClick(end->edit(), Qt::Key_Tab);
  EXPECT_EQ(start->text(), "3") << "an end below the start takes the start down";
  EXPECT_EQ(end->text(), "3");

  type(start, "12");
  QTest::keyClick(start->edit(), Qt::Key_Tab);
  EXPECT_EQ(end->text(), "12") << "a start above the end pulls the end up";
  const PrintSelection chosen = dialog->selection();
  EXPECT_EQ(chosen.firstChannel, 12);
  EXPECT_EQ(chosen.lastChannel, 12);
}

TEST_F(PrintListTest, SpinsWrapAroundAndSelectTheirText) {
  box(CPrintListDlg::Channels)->click();
  CSpinEdit* start = dialog->startField();
  start->edit()->setFocus();
  QTest::keyClick(start->edit(), Qt::Key_Down); // 1 wraps to 16, the end follows
  EXPECT_EQ(start->text(), "16");
  EXPECT_EQ(dialog->endField()->text(), "16");
  EXPECT_EQ(start->edit()->selectedText(), "16");
  EXPECT_EQ(pages(), " 1") << "channel 16 is empty: the header page only, with the model";
  QTest::keyClick(start->edit(), Qt::Key_Up); // 16 wraps to 1
  EXPECT_EQ(start->text(), "1");
  EXPECT_EQ(dialog->endField()->text(), "16");
}

TEST_F(PrintListTest, EnterMovesTheFocusUnlessAButtonHasIt) {
  box(CPrintListDlg::Channels)->click();
  box(CPrintListDlg::Model)->setFocus();
  QTest::keyClick(box(CPrintListDlg::Model), Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible()) << "Enter on a check box does not print";
  EXPECT_EQ(QApplication::focusWidget(), box(CPrintListDlg::Features));
  dialog->startField()->edit()->setFocus();
  QTest::keyClick(dialog->startField()->edit(), Qt::Key_Return);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->endField()->isAncestorOf(QApplication::focusWidget()) ||
              QApplication::focusWidget() == dialog->endField());

  // Enter on Clear All presses it.
  dialog->clearAllButton()->setFocus();
  QTest::keyClick(dialog->clearAllButton(), Qt::Key_Return);
  EXPECT_FALSE(anyChecked());
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(PrintListTest, HelpOpensThePrintTopicAndOnThePreviewButtonThePreviewTopic) {
  QTest::mouseClick(dialog->helpButton(), Qt::LeftButton);
  dialog->previewButton()->setFocus();
  QTest::keyClick(dialog->previewButton(), Qt::Key_F1);
  box(CPrintListDlg::Keys)->setFocus();
  QTest::keyClick(box(CPrintListDlg::Keys), Qt::Key_F1);
  EXPECT_EQ(help, (std::vector<int>{0x15000, 0x16000, 0x15000}));
}

TEST_F(PrintListTest, OkPrintsTheChosenPagesAndCloses) {
  const QString pdf = QString::fromStdString(test::makeTempDir()) + "/printed.pdf";
  printing.printer().setOutputFormat(QPrinter::PdfFormat);
  printing.printer().setOutputFileName(pdf);
  QTest::mouseClick(dialog->selectAllButton(), Qt::LeftButton);
  bool printDialogShown = false;
  test::whenModal<QPrintDialog>([&](QPrintDialog* print) {
    printDialogShown = true;
    print->accept();
  });
  QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
  EXPECT_TRUE(printDialogShown);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(pdfPages(pdf), 3);
}

TEST_F(PrintListTest, ExportWritesThePdfAndAFailedExportKeepsTheListOpen) {
  CPrintListDlg exporter(data, printing, {}, CPrintListDlg::Purpose::ExportPdf);
  exporter.show();
  EXPECT_EQ(exporter.okButton()->text().toStdString(), "ID:10063008");
  const QString folder = QString::fromStdString(test::makeTempDir());
  ui.saveChoices.push_back((folder + "/missing/out.pdf").toStdString());
  QTest::mouseClick(exporter.okButton(), Qt::LeftButton);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
  EXPECT_NE(ui.messages[0].text.find("ID:10063001"), std::string::npos);
  EXPECT_TRUE(exporter.isVisible());
  EXPECT_EQ(ui.saveRequests.back().extension, "pdf");

  ui.saveChoices.push_back((folder + "/out.pdf").toStdString());
  QTest::mouseClick(exporter.okButton(), Qt::LeftButton);
  EXPECT_FALSE(exporter.isVisible());
  EXPECT_EQ(pdfPages(folder + "/out.pdf"), 1);
}

} // namespace
} // namespace vpr
