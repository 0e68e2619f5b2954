// Undo and redo of the working image in the running main window with its real views: each
// change the user makes is one step, taken back and done again with the keys, byte-exact, with
// the views, the Edit menu and the modified state following.
#include "app/CMemoryMapDlg.h"
#include "app/CModelInfoDlg.h"
#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "model/DisplayText.h"
#include "model/MemoryMap.h"
#include "model/RadioData.h"
#include "support/ModalDriver.h"
#include "views/CChInfoView.h"
#include "views/CEditGrid.h"
#include "views/CFeatureView.h"
#include "views/CFilterEdit.h"
#include "views/CSpinEdit.h"
#include "views/ViewTestSupport.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

using test::pressKey;
using test::typeKeys;

constexpr int kRowHx4470Vhf1 = 2;

class UndoTest : public test::MainFrameFixture {
protected:
  UndoTest() : MainFrameFixture(Views::Real) {}
  void SetUp() override {
    MainFrameFixture::SetUp();
    radioData().resetToModel(ModelCatalogue::modelCodeForRow(kRowHx4470Vhf1));
    frame->updateTitle();
    frame->onCommand(cmd::ChannelInformation);
    channels = qobject_cast<CChInfoView*>(frame->viewOf(ViewKind::ChannelInfo));
    ASSERT_NE(channels, nullptr);
    channels->grid()->setFocus();
  }

  // The main window active again after a modal window, with the focus on the channel grid.
  void backToChannels() {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    channels = qobject_cast<CChInfoView*>(frame->viewOf(ViewKind::ChannelInfo));
    ASSERT_NE(channels, nullptr);
    channels->grid()->setFocus();
  }
  QAction* undo() const { return frame->action(cmd::EditUndo); }
  QAction* redo() const { return frame->action(cmd::EditRedo); }
  QString channelCell(int row, int col) const { return channels->grid()->cellText(row, col); }
  // Types a receive frequency into a channel and stores it with Enter.
  void typeReceive(int channel, const QString& text) {
    channels->grid()->setFocus();
    channels->grid()->setCell(channel, 1);
    typeKeys(text);
    pressKey(Qt::Key_Return);
  }

  CChInfoView* channels = nullptr;
};

TEST_F(UndoTest, WithNothingToUndoTheCommandsAreDisabledAndTheKeysDoNothing) {
  EXPECT_FALSE(undo()->isEnabled());
  EXPECT_FALSE(redo()->isEnabled());
  EXPECT_EQ(undo()->text(), "&Undo");
  const RadioImage before = radioData().editImage;
  pressKey(Qt::Key_Z, Qt::ControlModifier);
  pressKey(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(radioData().editImage, before);
}

TEST_F(UndoTest, ATypedFrequencyIsOneStepUndoneAndRedoneWithTheKeys) {
  const RadioImage before = radioData().editImage;
  typeReceive(3, "155.5");
  const RadioImage after = radioData().editImage;
  ASSERT_NE(after, before);
  EXPECT_EQ(undo()->text(), "&Undo RX Freq. of channel 3");
  EXPECT_EQ(undo()->toolTip(), "Undo RX Freq. of channel 3");

  pressKey(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(radioData().editImage, before);
  EXPECT_EQ(channelCell(3, 1), "");
  EXPECT_FALSE(radioData().isModified()) << "undone back to the image as created";
  EXPECT_EQ(redo()->text(), "&Redo RX Freq. of channel 3");

  pressKey(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(radioData().editImage, after);
  EXPECT_EQ(channelCell(3, 1).left(5), "155.5");
  EXPECT_TRUE(radioData().isModified());

  pressKey(Qt::Key_Z, Qt::ControlModifier);
  pressKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(radioData().editImage, after) << "Ctrl+Shift+Z redoes as well";
}

TEST_F(UndoTest, APasteOfThreeChannelRowsIsOneStep) {
  typeReceive(1, "151");
  typeReceive(2, "152");
  typeReceive(3, "153");
  radioData().copyChannels(1, 3);
  const RadioImage before = radioData().editImage;
  channels->grid()->setCell(10, 1);
  pressKey(Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(channelCell(12, 1).left(3), "153");
  EXPECT_EQ(undo()->text(), "&Undo Paste");

  pressKey(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(radioData().editImage, before);
  for (int row = 10; row <= 12; ++row)
    EXPECT_EQ(channelCell(row, 1), "") << row;
  EXPECT_EQ(undo()->text(), "&Undo RX Freq. of channel 3");
  pressKey(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(channelCell(11, 1).left(3), "152");
}

TEST_F(UndoTest, AModelChangeIsOneStepAndTheTitleAndViewsFollowItBack) {
  typeReceive(5, "160");
  const RadioImage before = radioData().editImage;
  const QString titleBefore = frame->windowTitle();
  ui.answers.push_back(MessageAnswer::Ok); // the confirmation of the change
  test::whenModal<CModelInfoDlg>([](CModelInfoDlg* dialog) {
    auto* models = dialog->findChildren<QComboBox*>().value(0);
    models->setCurrentIndex((models->currentIndex() + 1) % models->count());
    dialog->accept();
  });
  frame->onCommand(cmd::ModelInformation);
  ASSERT_NE(radioData().editImage, before);
  ASSERT_NE(frame->windowTitle(), titleBefore);
  EXPECT_EQ(undo()->text(), "&Undo Model Change");

  backToChannels();
  pressKey(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(radioData().editImage, before);
  EXPECT_EQ(frame->windowTitle(), titleBefore);
  EXPECT_EQ(channels->grid()->rows(), 17) << "the channel view shows the 16 channels again";
  EXPECT_EQ(channelCell(5, 1).left(3), "160");
}

TEST_F(UndoTest, AMemoryMapCommitIsOneStepAndReloadsTheViews) {
  const RadioImage before = radioData().editImage;
  test::whenModal<CMemoryMapDlg>([](CMemoryMapDlg* dialog) {
    // Channel 1 starts at 0x010: its receive frequency 155.00000 is 00 00 50 15. The keys go to
    // the window's own grid and cell editor (a modal window need not be the active one here).
    dialog->grid()->setCell(63, 1);
    for (const char* byte : {"00", "00", "50", "15", "00", "00", "50", "15"}) {
      QTest::keyClick(dialog->grid(), byte[0]);
      QTest::keyClick(dialog->cellEditor(), byte[1]);
      QTest::keyClick(dialog->cellEditor(), Qt::Key_Return);
    }
    QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
  });
  frame->onCommand(cmd::MemoryMap);
  EXPECT_EQ(channelCell(1, 1).left(6), "155.00");
  EXPECT_EQ(undo()->text(), "&Undo Memory Map");

  backToChannels();
  pressKey(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(radioData().editImage, before);
  EXPECT_EQ(channelCell(1, 1), "");
}

TEST_F(UndoTest, AMemoryMapClosedWithoutChangeIsNoStep) {
  test::whenModal<CMemoryMapDlg>(
      [](CMemoryMapDlg* dialog) { QTest::mouseClick(dialog->closeButton(), Qt::LeftButton); });
  frame->onCommand(cmd::MemoryMap);
  EXPECT_FALSE(undo()->isEnabled());
}

TEST_F(UndoTest, CtrlZInAFormFieldWithNothingTypedUndoesTheLastStep) {
  frame->onCommand(cmd::OptionalFeatures);
  auto* features = frame->viewOf(ViewKind::Features);
  ASSERT_NE(features, nullptr);
  const RadioImage before = radioData().editImage;
  const QList<CSpinEdit*> fields = features->findChildren<CSpinEdit*>();
  ASSERT_EQ(fields.size(), 2);
  CFilterEdit* timeOut = fields[0]->edit();
  CFilterEdit* squelch = fields[1]->edit();
  squelch->setFocus(Qt::TabFocusReason);
  typeKeys("4");
  timeOut->setFocus(Qt::TabFocusReason); // leaving the field stores the entry
  ASSERT_NE(radioData().editImage, before);
  EXPECT_EQ(undo()->text(), "&Undo Squelch Level");
  pressKey(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(radioData().editImage, before);
  EXPECT_EQ(squelch->text(), "9") << "the field shows the level before the step";
}

TEST_F(UndoTest, NewStartsAFreshHistory) {
  typeReceive(2, "152");
  ASSERT_TRUE(undo()->isEnabled());
  ui.answers.push_back(MessageAnswer::Ok); // replace the data
  ui.answers.push_back(MessageAnswer::No); // do not save the changes
  frame->onCommand(cmd::FileNew);
  EXPECT_FALSE(undo()->isEnabled());
  EXPECT_FALSE(redo()->isEnabled());
}

} // namespace
