// A seeded run of random key presses and mouse clicks into the whole program: the main window,
// its menus, every editing view and every dialog and message box they open. The selected port
// leads to a virtual radio, so that reading, writing, comparing with the radio, restoring a
// backup and the test mode (keying and adjusting included) are in the random stream. After every
// event the working image must still be a valid image, and the program must go on answering (a
// watchdog aborts the run, naming seed and event, when an event does not come back); at the end
// the radio is unkeyed, in no adjustment, and took no adjustment value outside one.
//
// ./test runs a short run; tools/random-gui.sh runs a long one. VPR_RANDOM_EVENTS and
// VPR_RANDOM_SEED choose the count and the seed; the run prints both.
#include "app/AppTestSupport.h"
#include "app/CAppSettings.h"
#include "app/CHelpSystem.h"
#include "app/CHelpWindow.h"
#include "app/CMainFrame.h"
#include "app/CMemoryMapDlg.h"
#include "app/CommandIds.h"
#include "link/CRadioComm.h"
#include "model/CurrentFile.h"
#include "model/DataFile.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"
#include "views/CQtUserInterface.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <mutex>
#include <random>
#include <thread>

using namespace vpr;

namespace {

// Real message boxes; file choices stay inside the test's own folder, so that random typing in a
// file dialog can never write elsewhere.
class ContainedUserInterface : public CQtUserInterface {
public:
  explicit ContainedUserInterface(std::string folder) : folder_(std::move(folder)) {}
  std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return pick(); }
  std::optional<std::string> chooseFileToSave(const FileRequest&) override { return pick(); }

private:
  std::optional<std::string> pick() {
    // Every other request is cancelled; the others name one of two files of the folder.
    ++requests_;
    if (requests_ % 2 == 0) return std::nullopt;
    return folder_ + (requests_ % 4 == 1 ? "/a.dat" : "/b.dat");
  }
  std::string folder_;
  int requests_ = 0;
};

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

std::string hexOf(const FrequencyCode& code) {
  std::string text;
  for (const std::uint8_t byte : code) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    text += digits;
  }
  return text;
}

bool validBcd(const FrequencyCode& code) {
  if (code == kNoFrequency) return true;
  for (const std::uint8_t byte : code)
    if ((byte >> 4) > 9 || (byte & 0x0F) > 9) return false;
  return true;
}

bool toneValid(ToneCode code) {
  return parseTone(formatTone(code)) == code;
}

// What makes the working image one the program may save and write: a listed model, every
// record's frequencies in BCD, tones that read back as themselves, the radio-wide values in range.
std::string imageFault(const RadioData& data) {
  if (!data.isListedModel()) return "the model code is not listed";
  for (int n = 1; n <= data.channelCount(); ++n) {
    const auto record = data.channelRecord(n);
    if (!record) continue;
    if (!validBcd(record->rxFreq()) || !validBcd(record->txFreq()))
      return "channel " + std::to_string(n) + " holds a frequency that is not BCD";
    if (!toneValid(record->rxTone()) || !toneValid(record->txTone()))
      return "channel " + std::to_string(n) + " holds a tone that does not read back";
  }
  for (int k = 1; k <= 16; ++k) {
    const TestFreqRecord record = data.testFrequency(k);
    if (!validBcd(record.rxFreq()) || !validBcd(record.txFreq()))
      return "test frequency " + std::to_string(k) + " is not BCD: " + hexOf(record.rxFreq()) + " / " +
             hexOf(record.txFreq());
  }
  if (data.timeOutTimer() * 30 > kTimeOutMaxSeconds) return "the time-out timer is out of range";
  if (data.squelchLevel() > kSquelchMax) return "the squelch level is out of range";
  if (data.moniKey() > 3) return "the Moni key is out of range";
  return {};
}

class RandomInputTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::isolateSettings();
    test::loadLanguage();
    folder = test::makeTempDir();
    radioData().startUp(std::nullopt);
    currentFile().setFolder(folder + "/");
    // The selected port leads to a radio holding the starting image (so that the test mode's
    // test frequencies agree); no other port leads to a device.
    sim::VirtualRadioOptions options;
    options.programMode = true;
    radio = std::make_unique<sim::VirtualRadio>(radioData().editImage, options);
    ASSERT_TRUE(radio->start()) << radio->error();
    for (int port = 1; port <= 20; ++port)
      g_radioComm.SetPortPath(port, folder + "/no-port-" + std::to_string(port));
    g_radioComm.SetPortPath(g_radioComm.PortNumber(), radio->devicePath());
    CHelpSystem::setHelpFileName("vpr40t_en.chm");
    CHelpSystem::setSearchFolders({QString::fromStdString(test::sourcePath("res"))});
    QApplication::setQuitOnLastWindowClosed(false);
    ui = std::make_unique<ContainedUserInterface>(folder);
    frame = std::make_unique<CMainFrame>(*ui, settings, false);
    ui->setParentWindow(frame.get());
    frame->resize(1100, 760);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    frame->activateWindow();
  }
  void TearDown() override {
    frame.reset();
    g_radioComm.SetOpen(false);
    radio.reset();
    if (QWidget* help = CHelpSystem::window()) help->close();
    QApplication::setQuitOnLastWindowClosed(true);
  }

  // The window the user would be typing into now.
  // The window that takes input, as with a real keyboard and mouse: the popup, else an open message
  // box (while a dialog is still starting, it is not always the active modal widget, and the
  // dialog under it must get no input), else the modal dialog or the active window.
  QWidget* target() const {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (qobject_cast<QMessageBox*>(window) && window->isVisible()) return window;
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return frame.get();
  }

  void randomKey(std::mt19937_64& random) {
    static constexpr Qt::Key kKeys[] = {
        Qt::Key_Return, Qt::Key_Escape,    Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Up,   Qt::Key_Down,
        Qt::Key_Left,   Qt::Key_Right,     Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
        Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Space,  Qt::Key_F4,       Qt::Key_F1,   Qt::Key_Menu};
    static constexpr char kTyped[] = "0123456789.,DdNnIi-+ abxyz";
    static constexpr char kCtrlLetters[] = "NOSRWTMCVAP0";
    // Keys go to the focus only when it is inside the window that takes input.
    QWidget* receiver = target();
    if (QWidget* focus = QApplication::focusWidget();
        focus && (focus == receiver || receiver->isAncestorOf(focus)))
      receiver = focus;
    const int kind = int(random() % 100);
    if (kind < 45) {
      const char c = kTyped[random() % (sizeof kTyped - 1)];
      QTest::keyClick(receiver, c);
    } else if (kind < 88) {
      const Qt::KeyboardModifiers mods =
          random() % 6 == 0 ? Qt::ShiftModifier : (random() % 8 == 0 ? Qt::AltModifier : Qt::NoModifier);
      QTest::keyClick(receiver, kKeys[random() % std::size(kKeys)], mods);
    } else if (kind < 95) {
      const char c = kCtrlLetters[random() % (sizeof kCtrlLetters - 1)];
      QTest::keyClick(receiver, static_cast<Qt::Key>(c), Qt::ControlModifier);
    } else {
      // Menu mnemonics of the main window.
      static constexpr char kMnemonics[] = "FMEPSVWH";
      QTest::keyClick(receiver, static_cast<Qt::Key>(kMnemonics[random() % (sizeof kMnemonics - 1)]),
                      Qt::AltModifier);
    }
  }

  void randomClick(std::mt19937_64& random) {
    QWidget* window = target();
    const QRect area = window->rect();
    if (area.isEmpty()) return;
    const QPoint point(int(random() % unsigned(area.width())), int(random() % unsigned(area.height())));
    QWidget* hit = window->childAt(point);
    if (!hit) hit = window;
    const QPoint local = hit->mapFrom(window, point);
    const int kind = int(random() % 100);
    if (kind < 85)
      QTest::mouseClick(hit, Qt::LeftButton, Qt::NoModifier, local);
    else if (kind < 95)
      QTest::mouseClick(hit, Qt::RightButton, Qt::NoModifier, local);
    else
      QTest::mouseDClick(hit, Qt::LeftButton, Qt::NoModifier, local);
  }

  test::UrlRecorder browser; // "open in browser" goes nowhere
  CAppSettings settings;
  std::string folder;
  std::unique_ptr<ContainedUserInterface> ui;
  std::unique_ptr<CMainFrame> frame;
  std::unique_ptr<sim::VirtualRadio> radio;
};

TEST_F(RandomInputTest, RandomKeysAndClicksKeepAValidImageAndAnAnsweringProgram) {
  const std::uint64_t seed = envNumber("VPR_RANDOM_SEED", 20261208);
  const std::uint64_t count = envNumber("VPR_RANDOM_EVENTS", 300);
  std::printf("random input: seed %llu, %llu events\n", static_cast<unsigned long long>(seed),
              static_cast<unsigned long long>(count));
  std::fflush(stdout);
  std::mt19937_64 random(seed);

  // Every view and dialog is opened in turn besides what the random keys and clicks reach.
  const int commands[] = {cmd::ChannelInformation, cmd::OptionalFeatures,   cmd::KeyAssignment,
                          cmd::TestFrequency,      cmd::ModelInformation,   cmd::CommunicationPort,
                          cmd::ReadData,           cmd::WriteData,          cmd::About,
                          cmd::HelpTopics,         cmd::WindowTileVertical, cmd::EditUndo,
                          cmd::EditRedo,           cmd::TestMode,           cmd::SetupOptions,
                          cmd::FileCompareFile,    cmd::FileCompareRadio,   cmd::FileRestoreBackup};
  const std::uint64_t commandEvery = std::max<std::uint64_t>(1, count / (3 * std::size(commands)));

  std::atomic<std::uint64_t> done{0};
  std::atomic<bool> finished{false};
  std::mutex mutex;
  std::condition_variable wake;
  std::string closing; // what the unwinding last tried to close, for the watchdog's message
  std::thread watchdog([&] {
    std::unique_lock lock(mutex);
    std::uint64_t seen = done;
    while (!wake.wait_for(lock, std::chrono::seconds(90), [&] { return finished.load(); })) {
      if (done == seen) {
        std::fprintf(stderr, "random input: no answer after event %llu (seed %llu)%s%s\n",
                     static_cast<unsigned long long>(seen), static_cast<unsigned long long>(seed),
                     closing.empty() ? "" : "; still closing ", closing.c_str());
        std::abort();
      }
      seen = done;
    }
  });

  std::string fault;
  std::uint64_t faultAt = 0;
  QEventLoop loop;
  std::function<void()> step;
  std::function<void()> unwind = [&] {
    // Close whatever is still open, innermost first, until the first step returns.
    // A message box goes first: one shown while a dialog is still opening (a failed start of
    // the test mode) is not always the active modal widget, and the dialog under it cannot end
    // before the box does.
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
        {
          const std::lock_guard lock(mutex);
          closing = "a message box \"" + box->text().toStdString() + "\"";
        }
        box->reject();
        QTimer::singleShot(0, unwind);
        return;
      }
    }
    QWidget* open = QApplication::activePopupWidget();
    if (!open) open = QApplication::activeModalWidget();
    if (open) {
      const std::lock_guard lock(mutex);
      closing =
          std::string(open->metaObject()->className()) + " \"" + open->windowTitle().toStdString() + "\"";
    }
    if (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
      else
        modal->close();
    } else {
      loop.quit();
      return;
    }
    QTimer::singleShot(0, unwind);
  };
  step = [&] {
    if (done >= count || !fault.empty()) {
      QTimer::singleShot(0, unwind);
      return;
    }
    const std::uint64_t n = done++;
    // The next event is due also while this one runs a dialog of its own.
    QTimer::singleShot(0, step);
    if (!frame->isVisible()) frame->show();
    // The memory map writes any byte the user types, frequencies included, by design: random
    // input there would break the image's rules on purpose. It gets none and is cancelled.
    if (auto* map = qobject_cast<CMemoryMapDlg*>(QApplication::activeModalWidget())) {
      map->reject();
      return;
    }
    if (n % commandEvery == 0 && !QApplication::activeModalWidget() && !QApplication::activePopupWidget()) {
      frame->activateWindow();
      frame->onCommand(commands[(n / commandEvery) % std::size(commands)]);
    } else if (random() % 2 == 0) {
      randomKey(random);
    } else {
      randomClick(random);
    }
    if (fault.empty()) {
      fault = imageFault(radioData());
      faultAt = n;
    }
  };
  QTimer::singleShot(0, step);
  loop.exec();
  {
    std::lock_guard lock(mutex);
    finished = true;
  }
  wake.notify_all();
  watchdog.join();

  EXPECT_EQ(fault, "") << "after event " << faultAt << " of seed " << seed;
  EXPECT_EQ(done.load(), count);
  const sim::TestModeState radioState = radio->testState();
  EXPECT_FALSE(radioState.transmitting);
  EXPECT_FALSE(radioState.adjusting);
  EXPECT_EQ(radioState.valuesOutsideAdjustment, 0);
  std::printf("random input: the radio took %d test-mode commands, %d blocks read, %d written\n",
              radio->stats().testCommands, radio->stats().blocksRead, radio->stats().blocksWritten);
  // The image the run left behind is saved and read back byte for byte.
  std::error_code error;
  const std::string path = folder + "/final.dat";
  ASSERT_EQ(DataFile::writeDataFile(path, radioData().editImage, error), DataFile::Written);
  RadioImage back{};
  DataFile::Magic magic{};
  ASSERT_EQ(DataFile::readDataFile(path, back, magic), DataFile::Read);
  EXPECT_TRUE(back == radioData().editImage);
}

} // namespace
