// The main flows of the desktop program by the keyboard alone: the whole program on the test's X
// server with its window manager, a virtual radio at its port, and keys pressed through the X
// server (xdotool), so that a key reaches only the window and control that really have the focus.
// The walk picks a model, makes a new image, edits a channel (frequency, tone from the tone list,
// both options), saves it through the file dialog, reads the radio, opens the file again, writes
// it (answering the model question), keys and unkeys the transmitter in the test mode, opens and
// closes the print preview and changes a byte in the memory map. After every step it checks what
// the user would: the image, the file on disk, the radio's memory, and which window and control
// have the focus. The focused grid cell and dialog buttons must look different from unfocused ones.
//
// The walk runs on a thread of its own and looks at the program only through calls run on the
// program's thread: a dialog's own event loop then runs undisturbed while the walk goes on.
#include "app/CMainFrame.h"
#include "app/CMemoryMapDlg.h"
#include "app/CModelInfoDlg.h"
#include "app/CRPSApp.h"
#include "app/CReadDlg.h"
#include "app/CTestModeDlg.h"
#include "app/CWriteDlg.h"
#include "app/ProgramFixture.h"
#include "app/XClients.h"
#include "lang/CLanguageTable.h"
#include "model/DataFile.h"
#include "model/MemoryMap.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/TestSupport.h"
#include "views/CChInfoView.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"
#include "views/CQtUserInterface.h"
#include "views/CToneCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <type_traits>

using namespace vpr;
using namespace std::chrono_literals;

namespace {

constexpr int kTextReplaceData = 10026013;
constexpr int kTextModelDiffers = 10026007;

// The walk's side: keys through the X server, and questions to the program's thread.
class KeyWalk {
public:
  // Runs f on the program's thread and returns its result.
  template <class F> static auto onProgram(F f) {
    std::invoke_result_t<F> result{};
    QMetaObject::invokeMethod(
        qApp, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
  }

  static bool keys(const QStringList& names) { return test::realKeys(names); }
  static bool type(const QString& text) { return test::xdotool({"type", "--delay", "20", text}); }

  // Waits until the condition, asked on the program's thread, holds.
  static bool until(const std::function<bool()>& condition, std::chrono::milliseconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!onProgram(condition)) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }

  // Where the keyboard is now: the active window and the focused control.
  static std::string focusReport() {
    return onProgram([] {
      const auto describe = [](const QWidget* widget) -> std::string {
        if (!widget) return "nothing";
        return std::string(widget->metaObject()->className()) + " \"" +
               (widget->objectName().isEmpty() ? widget->windowTitle() : widget->objectName()).toStdString() +
               "\"";
      };
      return "active window " + describe(QApplication::activeWindow()) + ", modal " +
             describe(QApplication::activeModalWidget()) + ", popup " +
             describe(QApplication::activePopupWidget()) + ", focus " + describe(QApplication::focusWidget());
    });
  }

  // The widget or a control inside it has the focus.
  static bool holdsFocus(const QWidget* widget) {
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
  }
  template <class T> static T* activeModal() { return qobject_cast<T*>(QApplication::activeModalWidget()); }
  // The window is the active one and the focus is in it (as the window manager gave it).
  static bool focusIn(const QWidget* window) {
    return window && QApplication::activeWindow() == window && QApplication::focusWidget() &&
           QApplication::focusWidget()->window() == window;
  }
};

// A message box of the program with the keyboard focus.
QMessageBox* messageBox() {
  auto* box = KeyWalk::activeModal<QMessageBox>();
  return box && KeyWalk::focusIn(box) ? box : nullptr;
}

// The file dialog (Qt's own, as on a desktop without a platform dialog) with the focus in its
// file name field, as it opens.
QFileDialog* fileDialogAtName() {
  auto* dialog = KeyWalk::activeModal<QFileDialog>();
  return dialog && KeyWalk::focusIn(dialog) && qobject_cast<QLineEdit*>(QApplication::focusWidget())
             ? dialog
             : nullptr;
}

// The transfer dialog is open with the focus on its start button.
template <class Dialog> bool onStartButton() {
  auto* dialog = KeyWalk::activeModal<Dialog>();
  return dialog && KeyWalk::focusIn(dialog) &&
         QApplication::focusWidget() == dialog->template findChild<QPushButton*>("startButton");
}

// Equal images, or where they first differ.
::testing::AssertionResult sameImage(const RadioImage& actual, const RadioImage& expected) {
  const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin());
  if (a == actual.end()) return ::testing::AssertionSuccess();
  char where[64];
  std::snprintf(where, sizeof where, "offset 0x%03zX holds 0x%02X instead of 0x%02X",
                static_cast<std::size_t>(a - actual.begin()), *a, *e);
  return ::testing::AssertionFailure() << "the images differ first at " << where;
}

class KeyboardWalk : public test::ProgramWith<CQtUserInterface> {
protected:
  void SetUp() override {
    test::ProgramWith<CQtUserInterface>::SetUp();
    folder = QString::fromStdString(test::makeTempDir());
    // The radio holds another model than any the walk chooses, so that writing asks first.
    radioStart = RadioData::defaultImage(ModelCatalogue::modelCodeForRow(kRadioRow));
    sim::VirtualRadioOptions options;
    options.programMode = true;
    radio = std::make_unique<sim::VirtualRadio>(radioStart, options);
    ASSERT_TRUE(radio->start()) << radio->error();

    CRPSApp::Options startOptions = test::programOptions();
    startOptions.portDeviceOverride = QString::fromStdString(radio->devicePath());
    ASSERT_NE(start(startOptions), nullptr);
    ui.setParentWindow(frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  }

  // Runs the walk on its own thread while this thread runs the program; whatever the walk left
  // open (after a failure) is closed before the program ends.
  void walk(const std::function<void()>& steps) {
    std::atomic<bool> finished = false;
    std::thread walker([&] {
      steps();
      closeWhatIsOpen();
      finished = true;
    });
    // Every wait of the walk is bounded, so the walk ends whatever the program does.
    while (!finished.load())
      QTest::qWait(10);
    walker.join();
  }

  static void closeWhatIsOpen() {
    KeyWalk::until(
        [] {
          if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            return false;
          }
          if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
            return false;
          }
          return true;
        },
        60s);
  }

  CChInfoView* channelView() const {
    return qobject_cast<CChInfoView*>(frame->viewOf(ViewKind::ChannelInfo));
  }
  // The channel view's grid has the focus, on the given cell.
  bool gridAt(int row, int col) const {
    CChInfoView* view = channelView();
    return view && QApplication::focusWidget() == view->grid() && view->grid()->row() == row &&
           view->grid()->col() == col;
  }
  // Answers the open question with OK: its default is Cancel, so Tab goes to OK first.
  void answerOk(int questionText) {
    ASSERT_TRUE(KeyWalk::until([] { return messageBox() != nullptr; })) << KeyWalk::focusReport();
    EXPECT_EQ(KeyWalk::onProgram([] { return messageBox()->text(); }),
              QString::fromStdString(textOf(questionText)));
    ASSERT_TRUE(KeyWalk::keys({"Tab"}));
    ASSERT_TRUE(KeyWalk::until([] {
      QMessageBox* box = messageBox();
      return box && QApplication::focusWidget() == box->button(QMessageBox::Ok);
    })) << KeyWalk::focusReport();
    ASSERT_TRUE(KeyWalk::keys({"Return"}));
    ASSERT_TRUE(KeyWalk::until([] { return !KeyWalk::activeModal<QMessageBox>(); }))
        << KeyWalk::focusReport();
  }
  // Takes the success message of a transfer with Enter once it shows; the keyboard is back in the
  // main window then.
  void acknowledgeSuccess() {
    ASSERT_TRUE(KeyWalk::until([] { return messageBox() != nullptr; }, 120s)) << KeyWalk::focusReport();
    EXPECT_EQ(KeyWalk::onProgram([] { return messageBox()->icon(); }), QMessageBox::Information)
        << KeyWalk::onProgram([] { return messageBox()->text().toStdString(); });
    ASSERT_TRUE(KeyWalk::keys({"Return"}));
    ASSERT_TRUE(
        KeyWalk::until([&] { return !QApplication::activeModalWidget() && KeyWalk::focusIn(frame); }, 60s))
        << KeyWalk::focusReport();
  }
  // The control has the focus and shows it: its picture differs from the one it has once Tab took
  // the focus away (Shift+Tab brings it back). `area` is the part of `painted` to look at.
  void expectFocusShown(QWidget* control, QWidget* painted, const std::function<QRect()>& area) {
    ASSERT_TRUE(KeyWalk::until([&] { return control->hasFocus(); })) << KeyWalk::focusReport();
    const auto picture = [&] { return painted->grab(area()).toImage(); };
    const QImage focused = KeyWalk::onProgram(picture);
    ASSERT_TRUE(KeyWalk::keys({"Tab"}));
    ASSERT_TRUE(KeyWalk::until([&] { return !control->hasFocus(); })) << KeyWalk::focusReport();
    EXPECT_NE(KeyWalk::onProgram(picture), focused)
        << control->metaObject()->className() << " looks the same with the focus as without";
    ASSERT_TRUE(KeyWalk::keys({"shift+Tab"}));
    ASSERT_TRUE(KeyWalk::until([&] { return control->hasFocus(); })) << KeyWalk::focusReport();
  }
  // Types a file name over the one the file dialog proposes and takes it with Enter.
  void chooseFile(const QString& path) {
    ASSERT_TRUE(KeyWalk::until([] { return fileDialogAtName() != nullptr; })) << KeyWalk::focusReport();
    ASSERT_TRUE(KeyWalk::keys({"ctrl+a"}));
    ASSERT_TRUE(KeyWalk::type(path));
    ASSERT_TRUE(KeyWalk::until([&] {
      auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      return edit && edit->text() == path;
    })) << KeyWalk::focusReport();
    ASSERT_TRUE(KeyWalk::keys({"Return"}));
    ASSERT_TRUE(KeyWalk::until([] { return !KeyWalk::activeModal<QFileDialog>(); }))
        << KeyWalk::focusReport();
  }

  static constexpr int kRadioRow = 16;
  std::unique_ptr<sim::VirtualRadio> radio;
  RadioImage radioStart{};
  QString folder;
};

TEST_F(KeyboardWalk, EveryMainFlowByKeysAloneWithTheFocusInSight) {
  const QString file = folder + "/walk.dat";
  walk([&] {
    using W = KeyWalk;
    const auto menu = [](const char* opener, const char* item) {
      return W::keys({opener}) &&
             W::until([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }) &&
             W::keys({item});
    };
    const auto image = [] { return W::onProgram([] { return radioData().editImage; }); };
    // Tab until the control has the focus (at most `limit` times).
    const auto tabTo = [](QWidget* control, int limit) {
      for (int tab = 0; tab < limit && !W::onProgram([&] { return control->hasFocus(); }); ++tab) {
        QWidget* before = W::onProgram([] { return QApplication::focusWidget(); });
        if (!W::keys({"Tab"}) || !W::until([&] { return QApplication::focusWidget() != before; }))
          return false;
      }
      return W::onProgram([&] { return control->hasFocus(); });
    };

    // Model ▸ Model Information opens on the model list: the next model, Enter, the question answered.
    const ModelCode startModel = W::onProgram([] { return radioData().modelCode(); });
    ASSERT_TRUE(menu("alt+m", "i"));
    QComboBox* models = nullptr;
    ASSERT_TRUE(W::until([&] {
      auto* dialog = W::activeModal<CModelInfoDlg>();
      models = dialog ? dialog->findChild<QComboBox*>("modelList") : nullptr;
      return models && W::focusIn(dialog) && QApplication::focusWidget() == models;
    })) << W::focusReport();
    ASSERT_NO_FATAL_FAILURE(expectFocusShown(models, models, [&] { return models->rect(); }));
    const int firstModel = W::onProgram([&] { return models->currentIndex(); });
    ASSERT_TRUE(W::keys({"Down"}));
    ASSERT_TRUE(W::until([&] { return models->currentIndex() == firstModel + 1; })) << W::focusReport();
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_NO_FATAL_FAILURE(answerOk(kTextReplaceData));
    ASSERT_TRUE(W::until([&] { return gridAt(1, 1); })) << W::focusReport();
    const ModelCode model = W::onProgram([] { return radioData().modelCode(); });
    EXPECT_NE(model, startModel);
    ASSERT_NE(model, ModelCatalogue::modelCodeForRow(kRadioRow)) << "the radio must hold another model";
    ASSERT_GE(W::onProgram([] { return radioData().channelCount(); }), 4);

    // File ▸ New: the question answered, the channel view opens on the new image.
    ASSERT_TRUE(menu("alt+f", "n"));
    ASSERT_NO_FATAL_FAILURE(answerOk(kTextReplaceData));
    ASSERT_TRUE(W::until([&] { return gridAt(1, 1); })) << W::focusReport();
    EXPECT_TRUE(sameImage(image(), RadioData::defaultImage(model)));

    // Channel 3: a receive frequency typed, a tone picked from the opened list, both options.
    CChInfoView* view = W::onProgram([&] { return channelView(); });
    ASSERT_TRUE(W::keys({"Down", "Down"}));
    // The frame's title names the channel the cursor is on.
    ASSERT_TRUE(W::until([&] {
      return gridAt(3, 1) && view->viewTitle().contains("3") &&
             frame->mdiArea()->activeSubWindow()->windowTitle() == view->viewTitle();
    })) << W::onProgram([&] { return frame->mdiArea()->activeSubWindow()->windowTitle().toStdString(); });
    ASSERT_TRUE(W::type("150.125"));
    ASSERT_TRUE(W::until([&] { return view->frequencyEditor()->text() == "150.125"; })) << W::focusReport();
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_TRUE(W::until([&] { return gridAt(3, 2); })) << W::focusReport();
    ASSERT_TRUE(W::keys({"Right", "Return"}));
    CToneCombo* tones = view->toneEditor();
    ASSERT_TRUE(W::until([&] { return tones->isVisible() && W::holdsFocus(tones); })) << W::focusReport();
    ASSERT_TRUE(W::keys({"alt+Down"}));
    ASSERT_TRUE(W::until([&] { return tones->view()->isVisible() && QApplication::activePopupWidget(); }))
        << W::focusReport();
    const int firstTone = W::onProgram([&] { return tones->view()->currentIndex().row(); });
    ASSERT_TRUE(W::keys({"Down", "Down", "Down"}));
    ASSERT_TRUE(W::until([&] { return tones->view()->currentIndex().row() == firstTone + 3; }))
        << W::focusReport();
    const QString tone = W::onProgram([&] { return tones->view()->currentIndex().data().toString(); });
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_TRUE(W::until([&] { return !QApplication::activePopupWidget() && W::holdsFocus(tones); }))
        << W::focusReport();
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_TRUE(W::until([&] { return gridAt(3, 4); })) << W::focusReport();
    QComboBox* options = view->optionEditor();
    for (const int column : {5, 6}) {
      ASSERT_TRUE(W::keys(column == 5 ? QStringList{"Right", "Return"} : QStringList{"Return"}));
      ASSERT_TRUE(W::until([&] { return options->isVisible() && options->hasFocus(); })) << W::focusReport();
      ASSERT_TRUE(W::keys({"Up"}));
      ASSERT_TRUE(W::until([&] { return options->currentIndex() == 0; })) << W::focusReport();
      ASSERT_TRUE(W::keys({"Return"}));
      ASSERT_TRUE(W::until([&] { return column == 5 ? gridAt(3, 6) : gridAt(4, 1); })) << W::focusReport();
    }
    // What the same entries make of the new image through the program's own entry rules.
    RadioData expected;
    expected.resetToModel(model);
    std::string frequency = "150.125";
    expected.setChannelFrequency(3, frequency, FrequencyField::Receive);
    expected.setChannelTone(3, ToneField::Receive, tone.toStdString(), true);
    expected.setChannelOption(3, 0, 0);
    expected.setChannelOption(3, 1, 0);
    EXPECT_TRUE(sameImage(image(), expected.editImage)) << "tone " << tone.toStdString();

    // File ▸ Save As: the name typed into the file dialog; the file holds the image.
    ASSERT_TRUE(menu("alt+f", "a"));
    ASSERT_NO_FATAL_FAILURE(chooseFile(file));
    RadioImage saved{};
    DataFile::Magic magic{};
    ASSERT_EQ(DataFile::readDataFile(file.toStdString(), saved, magic), DataFile::Read);
    EXPECT_TRUE(sameImage(saved, expected.editImage));
    ASSERT_TRUE(W::until([&] { return W::focusIn(frame); })) << W::focusReport();

    // Program ▸ Read opens on its start button; Enter reads; the radio's image is the working one.
    ASSERT_TRUE(W::keys({"ctrl+r"}));
    ASSERT_TRUE(W::until(onStartButton<CReadDlg>)) << W::focusReport();
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_NO_FATAL_FAILURE(acknowledgeSuccess());
    EXPECT_TRUE(sameImage(image(), radio->memory()));

    // File ▸ Open the saved file, then Program ▸ Write it: the model question answered by keys. The
    // radio holds the image up to its own area, which stays.
    ASSERT_TRUE(W::keys({"ctrl+o"}));
    ASSERT_NO_FATAL_FAILURE(chooseFile(file));
    EXPECT_TRUE(sameImage(image(), saved));
    ASSERT_TRUE(W::keys({"ctrl+w"}));
    ASSERT_TRUE(W::until(onStartButton<CWriteDlg>)) << W::focusReport();
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_NO_FATAL_FAILURE(answerOk(kTextModelDiffers));
    ASSERT_NO_FATAL_FAILURE(acknowledgeSuccess());
    RadioImage written = saved;
    std::copy(radioStart.begin() + layout::kWriteRegionEnd, radioStart.end(),
              written.begin() + layout::kWriteRegionEnd);
    EXPECT_TRUE(sameImage(radio->memory(), written));

    // Program ▸ Test Mode: Tab to Transmit, Space keys and unkeys, Escape leaves.
    ASSERT_TRUE(W::keys({"ctrl+t"}));
    ASSERT_TRUE(W::until([] { return W::focusIn(CTestModeDlg::running()); }, 60s)) << W::focusReport();
    QPushButton* transmit = W::onProgram([] { return CTestModeDlg::running()->transmitButton(); });
    ASSERT_TRUE(tabTo(transmit, 8)) << W::focusReport();
    ASSERT_TRUE(W::keys({"space"}));
    ASSERT_TRUE(W::until([&] { return radio->testState().transmitting && transmit->isChecked(); }));
    ASSERT_TRUE(W::keys({"space"}));
    ASSERT_TRUE(W::until([&] { return !radio->testState().transmitting && !transmit->isChecked(); }));
    ASSERT_TRUE(W::keys({"Escape"}));
    ASSERT_TRUE(W::until([&] { return !CTestModeDlg::running() && W::focusIn(frame); })) << W::focusReport();
    const std::vector<std::string> events = radio->testEvents();
    EXPECT_EQ(std::count(events.begin(), events.end(), "transmit on"), 1);
    EXPECT_EQ(events.empty() ? std::string() : events.back(), "transmit off");

    // File ▸ Print Preview opens with the focus, Escape closes it.
    ASSERT_TRUE(menu("alt+f", "v"));
    ASSERT_TRUE(W::until([] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeWindow());
      return preview && W::focusIn(preview);
    })) << W::focusReport();
    ASSERT_TRUE(W::keys({"Escape"}));
    ASSERT_TRUE(W::until([&] { return !frame->menuPreview() && W::focusIn(frame); })) << W::focusReport();

    // Program ▸ Memory Map: to an address typed in its field, a byte typed, Close reached by Tab
    // and pressed with Enter.
    const RadioImage beforeMap = image();
    ASSERT_TRUE(W::keys({"ctrl+m"}));
    CMemoryMapDlg* map = nullptr;
    ASSERT_TRUE(W::until([&] {
      map = W::activeModal<CMemoryMapDlg>();
      return map && W::focusIn(map) && QApplication::focusWidget() == map->grid();
    })) << W::focusReport();
    CEditGrid* grid = map->grid();
    ASSERT_NO_FATAL_FAILURE(
        expectFocusShown(grid, grid->viewport(), [&] { return grid->visualRect(grid->currentIndex()); }));
    ASSERT_TRUE(W::keys({"Tab", "ctrl+a"}));
    ASSERT_TRUE(W::type("0008"));
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_TRUE(W::until([&] {
      return grid->hasFocus() && memoryMap().offsetOf(grid->row(), grid->col()) == 8u;
    })) << W::focusReport();
    ASSERT_TRUE(W::type("a5"));
    ASSERT_TRUE(W::until([&] { return map->cellEditor()->hasFocus() && map->cellEditor()->text() == "A5"; }))
        << W::focusReport();
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_TRUE(W::until([&] { return grid->hasFocus(); })) << W::focusReport();
    QPushButton* close = map->closeButton();
    ASSERT_TRUE(tabTo(close, 6)) << W::focusReport();
    ASSERT_NO_FATAL_FAILURE(expectFocusShown(close, close, [&] { return close->rect(); }));
    ASSERT_TRUE(W::keys({"Return"}));
    ASSERT_TRUE(W::until([&] { return !W::activeModal<CMemoryMapDlg>() && W::focusIn(frame); }))
        << W::focusReport();
    RadioImage changed = beforeMap;
    changed[8] = 0xA5;
    EXPECT_TRUE(sameImage(image(), changed));
  });
}

} // namespace
