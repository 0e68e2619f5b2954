// The main flows by keys alone, on a shown main window with a window manager: the keys go
// through Qt's shortcut, menu and focus handling as a user's do, and every step is checked by
// what it left in the image, on disk and in the radio.
#include "app/AppTestSupport.h"
#include "app/CMainFrame.h"
#include "app/CMemoryMapDlg.h"
#include "app/CModelInfoDlg.h"
#include "app/CRPSApp.h"
#include "app/CTestModeDlg.h"
#include "link/CRadioComm.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "model/RadioImage.h"
#include "sim/VirtualRadio.h"
#include "support/FakeUserInterface.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"
#include "views/CChInfoView.h"
#include "views/CEditGrid.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace vpr;

namespace {

constexpr int kPort = 7;

// A key as the user presses it: into the open menu, else the focused control, else the active
// window.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = QApplication::activePopupWidget();
  if (!target) target = QApplication::focusWidget();
  if (!target) target = QApplication::activeWindow();
  ASSERT_NE(target, nullptr) << "no window takes keys";
  QTest::keyClick(target, Qt::Key(key), modifiers);
}

void type(const char* text) {
  for (const char* c = text; *c; ++c)
    press(QChar::fromLatin1(*c).toUpper().unicode());
}

class KeyboardOnly : public ::testing::Test {
protected:
  void SetUp() override {
    test::isolateSettings();
    test::loadLanguage();
    radioMemory = RadioData::defaultImage(ModelCatalogue::modelCodeForRow(2));
    radio = std::make_unique<sim::VirtualRadio>(radioMemory, sim::VirtualRadioOptions{});
    ASSERT_TRUE(radio->start()) << radio->error();
    g_radioComm.SetPortPath(kPort, radio->devicePath());
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "VESKARO", "VPR40T");
    raw.setValue("Backup/ComPort", kPort);
    raw.sync();
    app = std::make_unique<CRPSApp>(ui, QStringList{}, test::programOptions());
    ASSERT_TRUE(app->startup());
    frame = app->mainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  }
  void TearDown() override {
    app.reset();
    g_radioComm.SetPortPath(kPort, "");
    g_radioComm.SetPortNumber(1);
    radio.reset();
    test::loadLanguage();
  }
  // The channel grid, once it holds the focus.
  CEditGrid* focusedGrid() {
    CEditGrid* grid = nullptr;
    const bool focused = QTest::qWaitFor([&] {
      auto* view = qobject_cast<CChInfoView*>(frame->viewOf(ViewKind::ChannelInfo));
      grid = view ? view->grid() : nullptr;
      return grid && grid->hasFocus();
    });
    return focused ? grid : nullptr;
  }

  RadioImage radioMemory{};
  std::unique_ptr<sim::VirtualRadio> radio;
  test::FakeUserInterface ui;
  std::unique_ptr<CRPSApp> app;
  CMainFrame* frame = nullptr;
};

TEST_F(KeyboardOnly, ANewImageIsEditedSavedMappedPreviewedWrittenReadAndTestedByKeysAlone) {
  // A new image, and the model dialog reached through its menu and left with OK.
  radioData().editImage[0x10] ^= 0xFF;
  ui.answers.push_back(MessageAnswer::No); // do not save the changed image
  press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(radioData().editImage, RadioData::defaultImage(radioData().modelCode()));
  bool modelShown = false;
  test::whenModal<CModelInfoDlg>([&](CModelInfoDlg*) {
    modelShown = true;
    press(Qt::Key_Return);
  });
  press(Qt::Key_M, Qt::AltModifier);
  press(Qt::Key_I);
  EXPECT_TRUE(modelShown);

  // A channel with frequency, receive tone and an option, typed into the grid.
  CEditGrid* grid = focusedGrid();
  ASSERT_NE(grid, nullptr) << "the channel grid has the focus";
  const std::string frequency = std::to_string(static_cast<int>(radioData().bandLimits().lower) + 1) + ".5";
  grid->setCell(1, 1);
  type(frequency.c_str());
  press(Qt::Key_Return);
  ASSERT_TRUE(radioData().channelRecord(1));
  grid->setCell(1, 3);
  press(Qt::Key_Return);
  type("88.5");
  press(Qt::Key_Return);
  EXPECT_EQ(radioData().channelSlot(1).rxTone(), 0x0885);
  grid->setCell(1, 5);
  const QString optionBefore = grid->cellText(1, 5);
  press(Qt::Key_Return);
  press(Qt::Key_Down);
  press(Qt::Key_Return);
  EXPECT_NE(grid->cellText(1, 5), optionBefore);

  // Save under the name the file question gives.
  const std::string saved = test::makeTempDir() + "/keys.dat";
  ui.saveChoices.push_back(saved);
  press(Qt::Key_S, Qt::ControlModifier);
  RadioImage onDisk{};
  DataFile::Magic magic{};
  ASSERT_EQ(DataFile::readDataFile(saved, onDisk, magic), DataFile::Read);
  EXPECT_EQ(onDisk, radioData().editImage);

  // Memory map: a byte typed, then Tab to Close and Space on it keeps the edit.
  bool mapped = false;
  test::whenModal<CMemoryMapDlg>([&](CMemoryMapDlg* map) {
    type("42");
    press(Qt::Key_Return);
    for (int i = 0; i < 8 && QApplication::focusWidget() != map->closeButton(); ++i)
      press(Qt::Key_Tab);
    mapped = QApplication::focusWidget() == map->closeButton();
    press(Qt::Key_Space);
  });
  press(Qt::Key_M, Qt::ControlModifier);
  EXPECT_TRUE(mapped) << "Tab reaches Close";
  EXPECT_EQ(radioData().editImage[0], 0x42);

  // Print preview from the File menu, closed with Escape.
  bool previewed = false;
  test::whenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog*) {
    previewed = true;
    press(Qt::Key_Escape);
  });
  press(Qt::Key_F, Qt::AltModifier);
  press(Qt::Key_V);
  EXPECT_TRUE(previewed);

  // Write to the radio, then read it back: Enter starts each.
  test::whenModal<QDialog>([](QDialog*) { press(Qt::Key_Return); });
  press(Qt::Key_W, Qt::ControlModifier);
  const auto channels = [](const auto& image) {
    return std::vector<std::uint8_t>(image.begin() + 0x10, image.begin() + 0x110);
  };
  EXPECT_EQ(channels(radio->memory()), channels(radioData().editImage)) << "the radio holds the channels";
  const RadioImage written = radioData().editImage;
  radioData().editImage[0x10] ^= 0xFF;
  ui.answers.push_back(MessageAnswer::No); // do not save before the read
  test::whenModal<QDialog>([](QDialog*) { press(Qt::Key_Return); });
  press(Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(channels(radioData().editImage), channels(written)) << "the read brought the channels back";

  // Test mode opens on the radio and Escape leaves it.
  bool tested = false;
  test::whenModal<CTestModeDlg>([&](CTestModeDlg*) {
    tested = true;
    press(Qt::Key_Escape);
  });
  press(Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(tested);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
