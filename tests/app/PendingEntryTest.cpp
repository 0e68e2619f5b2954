// An entry typed into a view but not committed with Enter is part of the image that the main
// window saves, sends or asks about: leaving the program never drops it silently.
#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "model/DataFile.h"
#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"
#include "views/CChInfoView.h"
#include "views/CEditGrid.h"
#include "views/CFeatureView.h"
#include "views/CFilterEdit.h"
#include "views/CSpinEdit.h"
#include "views/CTestFreqView.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

class PendingEntryTest : public test::MainFrameFixture {
protected:
  PendingEntryTest() : MainFrameFixture(Views::Real) {}
  void SetUp() override {
    MainFrameFixture::SetUp();
    test::loadLanguage(true);
    inBand = QString::fromStdString(
        DisplayText::testFrequencyCell(radioData().testFrequency(1), FrequencyField::Receive).text);
  }

  // Types a receive frequency of the band into channel 1 and leaves the cell editor open.
  CChInfoView* typeChannelOneWithoutEnter() {
    frame->onCommand(cmd::ChannelInformation);
    auto* view = qobject_cast<CChInfoView*>(frame->viewOf(ViewKind::ChannelInfo));
    if (!view) return nullptr;
    view->grid()->setFocus();
    view->grid()->setCell(1, 1);
    QTest::keyClicks(view->grid(), inBand.left(1));
    QTest::keyClicks(view->frequencyEditor(), inBand.mid(1));
    return view;
  }

  // Closes the main window, confirms the exit and cancels the save-changes question.
  void exitAndCancelTheSaveQuestion() {
    ui.answers = {MessageAnswer::Ok, MessageAnswer::Cancel};
    frame->close();
  }

  // A frequency inside the band of the model the program starts with.
  QString inBand;
};

TEST_F(PendingEntryTest, ExitStoresAnOpenChannelEntryBeforeAskingToSave) {
  CChInfoView* view = typeChannelOneWithoutEnter();
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->grid()->editorKind(), CEditGrid::EditorKind::Text);
  ASSERT_FALSE(radioData().isModified());

  exitAndCancelTheSaveQuestion();

  ASSERT_EQ(ui.messages.size(), 2u) << "the typed channel makes the image modified";
  EXPECT_EQ(ui.messages[0].text, "ID:10012001");
  EXPECT_EQ(ui.messages[1].buttons, MessageButtons::YesNoCancel) << "the user is offered to save it";
  ASSERT_TRUE(radioData().channelRecord(1));
  EXPECT_EQ(view->grid()->cellText(1, 1), inBand);
  EXPECT_TRUE(frame->isVisible());
}

TEST_F(PendingEntryTest, ExitStoresAValueTypedIntoAFeatureField) {
  frame->onCommand(cmd::OptionalFeatures);
  auto* view = qobject_cast<CFeatureView*>(frame->viewOf(ViewKind::Features));
  ASSERT_NE(view, nullptr);
  CFilterEdit* squelch = view->spinField(CFeatureView::Squelch)->edit();
  squelch->setFocus();
  const QString before = squelch->text();
  const QString typed = before == "7" ? "3" : "7";
  squelch->selectAll();
  QTest::keyClicks(squelch, typed);

  exitAndCancelTheSaveQuestion();

  ASSERT_EQ(ui.messages.size(), 2u) << "the changed squelch level is offered for saving";
  EXPECT_EQ(QString::fromStdString(DisplayText::featureText(radioData(), FeatureItem::SquelchLevel).text),
            typed);
}

TEST_F(PendingEntryTest, ExitWithNothingTypedDoesNotAskToSave) {
  frame->onCommand(cmd::ChannelInformation);
  frame->onCommand(cmd::TestFrequency);
  ui.answers = {MessageAnswer::Cancel};
  frame->close();
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"ID:10012001"});
  EXPECT_FALSE(radioData().isModified());
}

TEST_F(PendingEntryTest, SaveAsWritesTheOpenEntryIntoTheFile) {
  CChInfoView* view = typeChannelOneWithoutEnter();
  ASSERT_NE(view, nullptr);
  const std::string path = test::makeTempDir() + "/pending.dat";
  ui.saveChoices.push_back(path);
  frame->onCommand(cmd::FileSaveAs);

  ASSERT_TRUE(radioData().channelRecord(1)) << "the entry is stored before the image is written";
  RadioImage saved{};
  DataFile::Magic magic{};
  ASSERT_EQ(DataFile::readDataFile(path, saved, magic), DataFile::Read);
  EXPECT_EQ(saved, radioData().editImage);
  EXPECT_FALSE(radioData().isModified());
}

TEST_F(PendingEntryTest, SaveStoresAnOpenTestFrequencyEntry) {
  const std::string path = test::makeTempDir() + "/pending.dat";
  ui.saveChoices.push_back(path);
  frame->onCommand(cmd::FileSaveAs);
  frame->onCommand(cmd::TestFrequency);
  auto* view = qobject_cast<CTestFreqView*>(frame->viewOf(ViewKind::TestFrequencies));
  ASSERT_NE(view, nullptr);
  view->grid()->setFocus();
  view->grid()->setCell(16, 1);
  QTest::keyClicks(view->grid(), inBand.left(1));
  QTest::keyClicks(view->frequencyEditor(), inBand.mid(1));
  ASSERT_EQ(view->grid()->editorKind(), CEditGrid::EditorKind::Text);

  ui.answers = {MessageAnswer::Ok}; // replace the file saved a moment ago
  frame->onCommand(cmd::FileSave);

  EXPECT_EQ(view->grid()->cellText(16, 1), inBand);
  RadioImage saved{};
  DataFile::Magic magic{};
  ASSERT_EQ(DataFile::readDataFile(path, saved, magic), DataFile::Read);
  EXPECT_EQ(saved, radioData().editImage);
  EXPECT_FALSE(radioData().isModified());
}

} // namespace
