// The main window's radio commands against a virtual radio on the selected port.
#include "app/AppTestSupport.h"
#include "app/CAppSettings.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "link/CRadioComm.h"
#include "model/CurrentFile.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/FakeUserInterface.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

constexpr int kPort = 7;

class MainFrameRadioTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::isolateSettings();
    test::loadLanguage();
    radioData().startUp(std::nullopt);
    currentFile().setFileName("workshop.dat");
    radioMemory = RadioData::defaultImage(ModelCatalogue::modelCodeForRow(13));
    radio = std::make_unique<sim::VirtualRadio>(radioMemory, sim::VirtualRadioOptions{});
    ASSERT_TRUE(radio->start()) << radio->error();
    g_radioComm.SetPortPath(kPort, radio->devicePath());
    g_radioComm.SetPortNumber(kPort);
    frame = std::make_unique<CMainFrame>(ui, settings, false);
    frame->setViewFactory([](ViewKind kind, QWidget*) -> CImageView* {
      return new test::FakeView(QString::number(int(kind)), 0);
    });
    frame->show();
  }
  void TearDown() override {
    frame.reset();
    g_radioComm.SetPortPath(kPort, "");
    g_radioComm.SetPortNumber(1);
    radio.reset();
  }
  static void pressStart() {
    test::whenModal<QDialog>(
        [](QDialog* dialog) { dialog->findChild<QPushButton*>("startButton")->click(); });
  }

  RadioImage radioMemory{};
  std::unique_ptr<sim::VirtualRadio> radio;
  test::FakeUserInterface ui;
  CAppSettings settings;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameRadioTest, ACompleteReadMakesTheRadiosImageTheWorkingImage) {
  frame->onCommand(cmd::KeyAssignment);
  pressStart();
  frame->onCommand(cmd::ReadData);
  EXPECT_EQ(radioData().editImage, radioMemory);
  EXPECT_FALSE(radioData().isModified());
  EXPECT_EQ(currentFile().fileName(), "vpr40t.dat");
  EXPECT_EQ(frame->viewOf(ViewKind::Keys), nullptr) << "the views were closed";
  EXPECT_NE(frame->viewOf(ViewKind::ChannelInfo), nullptr) << "the channel view shows the new image";
  EXPECT_TRUE(frame->windowTitle().contains(QString::fromStdString(radioData().titleText())));
}

TEST_F(MainFrameRadioTest, ACancelledReadLeavesTheWorkingImageAlone) {
  const RadioImage before = radioData().editImage;
  test::whenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
  frame->onCommand(cmd::ReadData);
  EXPECT_EQ(radioData().editImage, before);
  EXPECT_EQ(currentFile().fileName(), "workshop.dat");
}

TEST_F(MainFrameRadioTest, WriteSendsTheWorkingImageToTheRadio) {
  radioData().resetToModel(ModelCatalogue::modelCodeForRow(13));
  radioData().editImage[0x10] = 0x25;
  const RadioImage before = radioData().editImage;
  pressStart();
  frame->onCommand(cmd::WriteData);
  EXPECT_EQ(radio->memory()[0x10], 0x25);
  EXPECT_EQ(radioData().editImage, before) << "a write changes nothing in the program";
  EXPECT_TRUE(radioData().isModified()) << "writing a radio is no save";
}

} // namespace
