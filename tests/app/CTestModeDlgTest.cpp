// The test dialog and the adjustment dialog against a virtual radio: what reaches the radio,
// what the image holds afterwards and what the user sees.
#include "app/CTestModeDlg.h"
#include "app/AppTestSupport.h"
#include "app/CAdjustDlg.h"
#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "app/VirtualRadioAtPort.h"
#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/ModalDriver.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "views/CSpinEdit.h"
#include "views/QtText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vpr;
using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

RadioImage rowImage() {
  return test::rowImage(13);
}

sim::VirtualRadioOptions inProgramMode() {
  sim::VirtualRadioOptions options;
  options.programMode = true;
  return options;
}

class TestModeDialog : public ::testing::Test {
protected:
  void SetUp() override {
    test::loadLanguage();
    memory[0x3F1] = 0x30;
    memory[0x3F3] = 100;
    // Test frequencies 2, 3 and 16 programmed (the default image has 1..8).
    std::copy_n(memory.begin() + static_cast<long>(layout::testFreqOffset(3)), kRecordSize,
                memory.begin() + static_cast<long>(layout::testFreqOffset(16)));
    for (int k = 1; k <= 15; ++k)
      if (k != 2 && k != 3)
        std::fill_n(memory.begin() + static_cast<long>(layout::testFreqOffset(k)), kRecordSize, 0xFF);
    at = std::make_unique<test::VirtualRadioAtPort>(memory, radioOptions());
    image = memory;
    session = std::make_unique<TestModeSession>(at->link, ui, image, false);
    ASSERT_EQ(session->begin(), 0);
    startEvents = at->radio.testEvents().size();
    dialog = std::make_unique<CTestModeDlg>(
        *session, ui, [this](int context) { helpShown.push_back(context); }, nullptr);
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }
  void TearDown() override {
    dialog.reset();
    session.reset();
    at.reset();
    test::unloadLanguage();
  }
  virtual sim::VirtualRadioOptions radioOptions() const { return inProgramMode(); }
  std::vector<std::string> events() const {
    auto all = at->radio.testEvents();
    return {all.begin() + static_cast<long>(startEvents), all.end()};
  }
  void typeChannel(const QString& text) {
    CSpinEdit* spin = dialog->channelSpin();
    spin->setFocus();
    spin->edit()->selectAll();
    QTest::keyClicks(spin->edit(), text);
    QTest::keyClick(spin->edit(), Qt::Key_Return); // Enter moves on, which applies the entry
  }
  // Opens adjustment item `index` from the list with Enter; action runs on the adjustment dialog.
  void adjust(int index, std::function<void(CAdjustDlg*)> action) {
    test::whenModal<CAdjustDlg>(std::move(action));
    dialog->itemList()->setFocus();
    dialog->itemList()->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(dialog->itemList(), Qt::Key_Return);
  }

  RadioImage memory = rowImage();
  RadioImage image{};
  test::FakeUserInterface ui;
  std::unique_ptr<test::VirtualRadioAtPort> at;
  std::unique_ptr<TestModeSession> session;
  std::unique_ptr<CTestModeDlg> dialog;
  std::size_t startEvents = 0;
  std::vector<int> helpShown;
};

TEST_F(TestModeDialog, OpensOnTheFirstProgrammedFrequencyWithReceiveIndicators) {
  EXPECT_EQ(dialog->channelSpin()->text(), "2");
  EXPECT_EQ(dialog->receiveFrequencyLabel()->text().trimmed().toStdString(),
            formatFrequency(session->receiveFrequency(1)));
  EXPECT_EQ(dialog->signallingSpin()->text(), "0");
  EXPECT_EQ(dialog->receiveToneLabel()->text(), " " + qtText(10029001));
  EXPECT_TRUE(dialog->showsIndicator(false));
  EXPECT_FALSE(dialog->showsIndicator(true));
  EXPECT_EQ(dialog->itemList()->count(), 9);
  EXPECT_FALSE(dialog->printButton()->isEnabled());
}

TEST_F(TestModeDialog, PrintHandsTheAdjustmentValuesAsShownToThePrintingAndKeepsTheFocus) {
  std::vector<AdjustmentLine> printed;
  QWidget* printParent = nullptr;
  dialog->setPrintHandler([&](QWidget* parent, const std::vector<AdjustmentLine>& lines) {
    printParent = parent;
    printed = lines;
    dialog->transmitButton()->setFocus(); // as the print dialog takes the focus away
  });
  ASSERT_TRUE(dialog->printButton()->isEnabled());
  dialog->itemList()->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == dialog->itemList(); }));
  dialog->printButton()->click();
  EXPECT_EQ(printParent, dialog.get());
  ASSERT_EQ(printed.size(), 9u);
  EXPECT_EQ(printed[1].label, textOf(10010009));
  EXPECT_EQ(printed[1].value, 100);
  EXPECT_EQ(printed[2].value, 255 - 0x30) << "an inverted item prints the value the slider shows";
  EXPECT_EQ(QApplication::focusWidget(), dialog->itemList());
  EXPECT_TRUE(events().empty()) << "printing sends nothing to the radio";
}

// Stepped, the spin skips unprogrammed frequencies and wraps; a typed number without a programmed
// frequency brings back the one shown and sends nothing.
TEST_F(TestModeDialog, TheChannelSpinShowsAndTunesOnlyProgrammedFrequencies) {
  const std::pair<const char*, const char*> entries[] = {{"+", "3"}, {"+", "16"}, {"+", "2"}, {"17", "2"},
                                                         {"0", "2"}, {"5", "2"},  {"3", "3"}};
  for (const auto& [entry, shown] : entries) {
    if (entry == std::string("+"))
      dialog->channelSpin()->stepBy(1);
    else
      typeChannel(entry);
    EXPECT_EQ(dialog->channelSpin()->text(), shown) << entry;
  }
  EXPECT_THAT(events(), ElementsAre("channel 3", "channel 16", "channel 2", "channel 3"));
}

TEST_F(TestModeDialog, TransmitTwiceKeysAndUnkeysWithTheIndicatorsAndACountdown) {
  QTest::mouseClick(dialog->transmitButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog->showsIndicator(true));
  EXPECT_FALSE(dialog->channelSpin()->isEnabled());
  EXPECT_TRUE(dialog->countdownLabel()->text().contains("5:00") ||
              dialog->countdownLabel()->text().contains("4:59"))
      << dialog->countdownLabel()->text().toStdString();
  QTest::mouseClick(dialog->transmitButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog->showsIndicator(false));
  EXPECT_TRUE(dialog->channelSpin()->isEnabled());
  EXPECT_THAT(events(), ElementsAre("channel 2", "signalling FFFF", "transmit on", "transmit off"));
}

TEST_F(TestModeDialog, TheTransmitLimitUnkeysAndSaysSo) {
  auto now = TestModeSession::Clock::now();
  dialog->setClock([&now] { return now; });
  QTest::mouseClick(dialog->transmitButton(), Qt::LeftButton);
  ASSERT_TRUE(at->radio.testState().transmitting);
  now = TestModeSession::Clock::now(); // just after the key command
  now += std::chrono::seconds(299);
  dialog->tick();
  EXPECT_TRUE(dialog->countdownLabel()->text().contains("0:01"));
  now += std::chrono::seconds(2);
  dialog->tick();
  EXPECT_FALSE(at->radio.testState().transmitting);
  EXPECT_FALSE(dialog->transmitButton()->isChecked());
  EXPECT_TRUE(dialog->countdownLabel()->text().contains("300"))
      << dialog->countdownLabel()->text().toStdString();
}

TEST_F(TestModeDialog, CancelAfterAFailedChannelCommandClosesTheDialog) {
  at->radio.injectTestFault({"C", 0, 1, false});
  ui.answers = {MessageAnswer::Cancel};
  dialog->channelSpin()->stepBy(1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, textOf(10026031));
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::RetryCancel);
  EXPECT_FALSE(dialog->isVisible());
}

TEST_F(TestModeDialog, AnInvertedItemTakesTheComplementAndLeavingWithoutApplyRestoresIt) {
  adjust(2, [](CAdjustDlg* adjustment) {
    EXPECT_EQ(adjustment->slider()->value(), 255 - 0x30);
    adjustment->slider()->setFocus();
    adjustment->slider()->setValue(200);
    EXPECT_TRUE(adjustment->currentLabel()->text().contains("200"));
    QTest::keyClick(adjustment->slider(), Qt::Key_Up); // Up acts as Right
    EXPECT_EQ(adjustment->slider()->value(), 201);
    QTest::mouseClick(adjustment->closeButton(), Qt::LeftButton);
  });
  EXPECT_TRUE(ui.messages.empty()) << "items 2 and 3 open without the question";
  EXPECT_THAT(events(), Contains("value M 55"));
  EXPECT_THAT(events(), Contains("value M 54"));
  EXPECT_EQ(image[0x3F1], 0x30);
  EXPECT_EQ(at->radio.memory()[0x3F1], 0x30);
  EXPECT_EQ(events().back(), "channel 2");
  EXPECT_TRUE(dialog->channelSpin()->isEnabled());
}

TEST_F(TestModeDialog, AnAppliedValueStaysInTheImageAndTheRadio) {
  ui.answers = {MessageAnswer::Ok}; // the question before an alignment change
  adjust(1, [](CAdjustDlg* adjustment) {
    adjustment->spin()->setValue(120);
    QTest::mouseClick(adjustment->applyButton(), Qt::LeftButton);
    EXPECT_TRUE(adjustment->appliedLabel()->text().contains("120"));
    adjustment->slider()->setValue(130);
    QTest::keyClick(adjustment, Qt::Key_Escape);
  });
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, textOf(10026108));
  EXPECT_EQ(image[0x3F3], 120);
  EXPECT_EQ(at->radio.memory()[0x3F3], 120);
}

// The adjustment window is modal: the test dialog's buttons cannot take a click while it is
// open, so they are disabled and the status line says why.
TEST_F(TestModeDialog, WhileAnAdjustmentIsOpenTransmitCloseAndPrintAreDisabledAndSayWhy) {
  dialog->setPrintHandler([](QWidget*, const std::vector<AdjustmentLine>&) {});
  QPushButton* const buttons[] = {dialog->transmitButton(), dialog->closeButton(), dialog->printButton()};
  const QString why = qtText(10062003);
  ASSERT_TRUE(why.startsWith("An adjustment is open")) << why.toStdString();
  adjust(3, [&](CAdjustDlg* adjustment) {
    for (QPushButton* button : buttons) {
      EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
      EXPECT_EQ(button->toolTip(), why);
    }
    dialog->tick(); // the countdown's timer keeps the reason on show
    EXPECT_EQ(dialog->countdownLabel()->text(), why);
    QTest::mouseClick(dialog->transmitButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
    EXPECT_TRUE(adjustment->isVisible());
    QTest::mouseClick(adjustment->closeButton(), Qt::LeftButton);
  });
  for (QPushButton* button : buttons) {
    EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_TRUE(button->toolTip().isEmpty());
  }
  EXPECT_TRUE(dialog->countdownLabel()->text().isEmpty());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_THAT(events(), ::testing::Not(Contains("transmit on")));
}

TEST_F(TestModeDialog, CancellingTheQuestionOpensNothing) {
  ui.answers = {MessageAnswer::Cancel};
  dialog->itemList()->setFocus();
  dialog->itemList()->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  QTest::keyClick(dialog->itemList(), Qt::Key_Return);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(events().empty());
}

TEST_F(TestModeDialog, F1OpensTheHelpOfTheFocusedControl) {
  dialog->channelSpin()->setFocus();
  QTest::keyClick(dialog->channelSpin()->edit(), Qt::Key_F1);
  dialog->signallingSpin()->setFocus();
  QTest::keyClick(dialog->signallingSpin()->edit(), Qt::Key_F1);
  dialog->itemList()->setFocus();
  dialog->itemList()->setCurrentRow(8, QItemSelectionModel::ClearAndSelect);
  QTest::keyClick(dialog->itemList(), Qt::Key_F1);
  EXPECT_THAT(helpShown, ElementsAre(340225, 340226, 340484));
}

// The same dialogs with the window events the user makes arriving while the radio, slowed to a
// real cable's pace, is being talked to: the session pumps them in the middle of its exchanges.
// Events posted before an exchange starts are delivered by its first pump, as key repeats and
// mouse moves queued up by the window system are.
class TestModeMidExchange : public TestModeDialog {
protected:
  TestModeMidExchange() {
    ui.onPump = [] { QCoreApplication::processEvents(); };
  }
  sim::VirtualRadioOptions radioOptions() const override {
    sim::VirtualRadioOptions options = inProgramMode();
    options.paced = true;
    return options;
  }
  static void postKey(QWidget* to, Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i)
      QCoreApplication::postEvent(to, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(), i > 0));
  }
  static void postClick(QPushButton* button) {
    const QPointF centre = button->rect().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
      QCoreApplication::postEvent(
          button,
          new QMouseEvent(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
  }
  // What must hold on the radio's side whatever the user did: no adjustment value arrived while
  // no adjustment was open, no adjustment is left open and the transmitter is off.
  void expectRadioSafe() const {
    const sim::TestModeState state = at->radio.testState();
    EXPECT_EQ(state.valuesOutsideAdjustment, 0) << ::testing::PrintToString(events());
    EXPECT_FALSE(state.adjusting);
    EXPECT_FALSE(state.transmitting);
  }
  // The values of letter sent since the dialog opened, as the user sees them (inverted items
  // complemented back).
  std::vector<int> valuesSent(char letter, bool inverted) const {
    std::vector<int> values;
    const std::string prefix = std::string("value ") + letter + ' ';
    for (const std::string& event : events())
      if (event.rfind(prefix, 0) == 0) {
        const int wire = std::stoi(event.substr(prefix.size()));
        values.push_back(inverted ? 255 - wire : wire);
      }
    return values;
  }
};

TEST_F(TestModeMidExchange,
       AHeldArrowKeyEndedByEscapeOrCloseSendsNothingAfterTheAdjustmentAndRestoresTheValue) {
  struct Ending {
    const char* name;
    std::function<void(CAdjustDlg*)> post;
  };
  const Ending endings[] = {
      {"Escape", [](CAdjustDlg* adjustment) { postKey(adjustment->slider(), Qt::Key_Escape); }},
      {"Close", [](CAdjustDlg* adjustment) { postClick(adjustment->closeButton()); }},
  };
  for (const Ending& ending : endings) {
    SCOPED_TRACE(ending.name);
    adjust(2, [&ending](CAdjustDlg* adjustment) {
      postKey(adjustment->slider(), Qt::Key_Right, 12);
      ending.post(adjustment);
      postKey(adjustment->slider(), Qt::Key_Right, 3); // repeats still queued behind the ending
      QTest::keyClick(adjustment->slider(), Qt::Key_Right);
    });
    EXPECT_EQ(dialog->adjustDialog(), nullptr);
    EXPECT_EQ(image[0x3F1], 0x30);
    EXPECT_EQ(at->radio.memory()[0x3F1], 0x30);
    EXPECT_EQ(events().back(), "channel 2");
    expectRadioSafe();
  }
}

TEST_F(TestModeMidExchange, ThumbTrackingSendsValuesInTheOrderMovedAndApplyKeepsTheLastOne) {
  ui.answers = {MessageAnswer::Ok}; // the question before an alignment change
  int shown = -1;
  adjust(1, [&shown](CAdjustDlg* adjustment) {
    QSlider* slider = adjustment->slider();
    for (int value = 102; value <= 140; value += 2)
      QMetaObject::invokeMethod(
          slider, [slider, value] { slider->setSliderPosition(value); }, Qt::QueuedConnection);
    postClick(adjustment->applyButton());
    QObject::connect(adjustment, &QDialog::finished, adjustment,
                     [adjustment, &shown] { shown = adjustment->appliedLabel()->text().trimmed().toInt(); });
    postKey(slider, Qt::Key_Escape);
    slider->setSliderPosition(101);
  });
  const std::vector<int> sent = valuesSent('P', false);
  ASSERT_GE(sent.size(), 3u) << ::testing::PrintToString(events());
  EXPECT_TRUE(std::is_sorted(sent.begin() + 1, sent.end() - 1)) << ::testing::PrintToString(sent);
  EXPECT_EQ(sent[sent.size() - 2], 140) << "the last position moved to is the last sent";
  EXPECT_EQ(sent.back(), 140) << "and it is the applied value restored when leaving";
  EXPECT_EQ(shown, 140);
  EXPECT_EQ(image[0x3F3], 140);
  EXPECT_EQ(at->radio.memory()[0x3F3], 140);
  expectRadioSafe();
}

TEST_F(TestModeMidExchange, ACountdownTickWhileKeyingNeitherUnkeysFirstNorLosesTheKey) {
  // Until the radio is keyed, any tick finds the transmit limit passed.
  dialog->setClock([this] {
    const auto now = TestModeSession::Clock::now();
    return at->radio.testState().transmitting ? now : now + std::chrono::minutes(10);
  });
  QMetaObject::invokeMethod(dialog.get(), &CTestModeDlg::tick, Qt::QueuedConnection);
  QTest::mouseClick(dialog->transmitButton(), Qt::LeftButton);
  EXPECT_THAT(events(), ElementsAre("channel 2", "signalling FFFF", "transmit on"));
  EXPECT_TRUE(at->radio.testState().transmitting);
  EXPECT_TRUE(dialog->showsIndicator(true));
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  expectRadioSafe();
}

TEST_F(TestModeMidExchange, EscapeOrCloseWhileKeyingLeavesTheTransmitterOffWhenTheDialogHasGone) {
  postKey(dialog.get(), Qt::Key_Escape);
  dialog->channelSpin()->setFocus();
  postKey(dialog->channelSpin()->edit(), Qt::Key_Up, 4);
  QTest::mouseClick(dialog->transmitButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_THAT(events(), ElementsAre("channel 2", "signalling FFFF", "transmit on", "transmit off"));
  expectRadioSafe();
}

class TestModeCommand : public test::MainFrameFixture {
protected:
  void SetUp() override {
    MainFrameFixture::SetUp();
    radioData().resetToModel(ModelCatalogue::modelCodeForRow(13));
  }
  void TearDown() override {
    MainFrameFixture::TearDown();
    g_radioComm.SetOpen(false);
    g_radioComm.SetPortPath(1, "");
  }
  void startRadio() {
    radio = std::make_unique<sim::VirtualRadio>(radioData().editImage, inProgramMode());
    ASSERT_TRUE(radio->start());
    g_radioComm.SetPortPath(1, radio->devicePath());
    g_radioComm.SetPortNumber(1);
  }

  std::unique_ptr<sim::VirtualRadio> radio;
};

TEST_F(TestModeCommand, ClosingTheMainWindowUnkeysFirstAndClosesThePort) {
  startRadio();
  test::whenModal<CTestModeDlg>([this](CTestModeDlg* dialog) {
    QTest::mouseClick(dialog->transmitButton(), Qt::LeftButton);
    EXPECT_TRUE(radio->testState().transmitting);
    frame->close();
  });
  frame->onCommand(cmd::TestMode);
  EXPECT_FALSE(radio->testState().transmitting);
  EXPECT_EQ(radio->testEvents().back(), "transmit off");
  EXPECT_FALSE(g_radioComm.IsOpen());
  EXPECT_EQ(CTestModeDlg::running(), nullptr);
}

TEST_F(TestModeCommand, DemonstrationModeOpensTheDialogAndSendsNothing) {
  startRadio();
  frame = std::make_unique<CMainFrame>(ui, settings, true);
  bool opened = false;
  test::whenModal<CTestModeDlg>([&opened](CTestModeDlg* dialog) {
    opened = true;
    QTest::mouseClick(dialog->transmitButton(), Qt::LeftButton);
    dialog->reject();
  });
  frame->onCommand(cmd::TestMode);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(radio->received().empty());
}

TEST_F(TestModeCommand, APortThatCannotBeOpenedIsReported) {
  g_radioComm.SetPortPath(1, "/nonexistent/tty");
  g_radioComm.SetPortNumber(1);
  frame = std::make_unique<CMainFrame>(ui, settings, true);
  frame->onCommand(cmd::TestMode);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind(textOf(10026002), 0), 0u);
}

} // namespace
