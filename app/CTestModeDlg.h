#pragma once
// The test mode of a connected radio (Program ▸ Test Mode): the test channel and signalling
// with their spin fields, the frequency and tone displays with receive and transmit
// indicators, the Transmit button with the countdown of the transmit limit, the list of
// alignment values (each opened in a CAdjustDlg), Close, Help and Print.
//
// run() reopens the port, runs the start sequence, shows the dialog and closes the port; the
// radio is driven by a TestModeSession, which this dialog only presents. Whatever way the
// dialog ends (Close, Escape, the close box, a failed command, the main window closing) the
// transmitter is unkeyed first. What the user does while the radio is being talked to waits for
// that exchange to end.

#include "app/CAdjustDlg.h"
#include "app/HelpCallback.h"
#include "link/TestModeSession.h"
#include "model/PrintLayout.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace vpr {

class CSpinEdit;
class UserInterface;

class CTestModeDlg : public QDialog {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x53000;
  static constexpr int kChannelHelp = 340225;
  static constexpr int kSignallingHelp = 340226;
  static constexpr int kTransmitHelp = 340227;
  static constexpr int kPrintHelp = 340228;

  // Print: prints the model and the given adjustment lines with the dialog as the parent of the
  // print dialog. Without one the Print button stays disabled.
  using PrintHandler = std::function<void(QWidget* parent, const std::vector<AdjustmentLine>& lines)>;

  // Command 40064: the whole test mode over the image, modal over parent.
  static void run(QWidget* parent, UserInterface& ui, const HelpCallback& help, bool demonstrationMode,
                  CRadioComm& radio, RadioImage& image, const PrintHandler& print = {});
  // The test dialog on the screen now, if any.
  static CTestModeDlg* running();

  CTestModeDlg(TestModeSession& session, UserInterface& ui, HelpCallback help, QWidget* parent);
  ~CTestModeDlg() override;

  // Enables Print with the handler that prints.
  void setPrintHandler(PrintHandler print);
  // The nine adjustment values as the adjustment dialog shows them, for the printed page.
  std::vector<AdjustmentLine> adjustmentLines() const;

  // Ends the test mode as Close does (the transmitter unkeyed first).
  void endTestMode();
  void reject() override;

  // The help context of the focused control (F1).
  int focusedHelpContext() const;

  CSpinEdit* channelSpin() const { return channelSpin_; }
  CSpinEdit* signallingSpin() const { return signallingSpin_; }
  QLabel* receiveFrequencyLabel() const { return rxFrequency_; }
  QLabel* transmitFrequencyLabel() const { return txFrequency_; }
  QLabel* receiveToneLabel() const { return rxTone_; }
  QLabel* transmitToneLabel() const { return txTone_; }
  QLabel* countdownLabel() const { return countdown_; }
  QListWidget* itemList() const { return items_; }
  QPushButton* transmitButton() const { return transmit_; }
  QPushButton* printButton() const { return print_; }
  QPushButton* closeButton() const { return close_; }
  // Whether the receive (false) or transmit (true) indicators are shown.
  bool showsIndicator(bool transmit) const;
  // The adjustment dialog while one is open.
  CAdjustDlg* adjustDialog() const { return adjust_; }
  // Sets how the countdown is told the time (tests move the clock on).
  void setClock(std::function<TestModeSession::Clock::time_point()> clock) { clock_ = std::move(clock); }
  // One tick of the countdown (the timer calls it every second); nothing while the radio is
  // being talked to.
  void tick();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void showChannel(int channel);
  void showSignalling(int index);
  // Shows the session's state: the lamps, the Transmit button, which controls take input (none
  // while an adjustment is open, and the status line says why) and the countdown.
  void present();
  // The countdown of the transmit limit, or what the limit did, in the status line.
  void showTransmitTime();
  void applyChannelEdit();
  void applySignallingEdit();
  void stepChannel(int direction);
  void stepSignalling(int direction);
  void toggleTransmit();
  void openAdjustment();
  // Ends the test mode now (the session idle): the adjustment first, then the transmitter. Also
  // where a command finally failed: the dialog ends as if Close had been pressed.
  void finishTestMode();
  // Print (1106): the model and the adjustment values; the focus goes back where it was.
  void printAdjustments();

  TestModeSession& session_;
  UserInterface& ui_;
  HelpCallback help_;
  CSpinEdit* channelSpin_ = nullptr;
  CSpinEdit* signallingSpin_ = nullptr;
  QLabel* rxFrequency_ = nullptr;
  QLabel* txFrequency_ = nullptr;
  QLabel* rxTone_ = nullptr;
  QLabel* txTone_ = nullptr;
  QLabel* indicators_[4] = {}; // receive frequency, transmit frequency, receive tone, transmit tone
  QLabel* countdown_ = nullptr;
  QListWidget* items_ = nullptr;
  QPushButton* transmit_ = nullptr;
  QPushButton* close_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QPushButton* print_ = nullptr;
  QPointer<CAdjustDlg> adjust_;
  PrintHandler printHandler_;
  QTimer countdownTimer_;
  std::function<TestModeSession::Clock::time_point()> clock_;
  bool channelEdited_ = false;
  bool signallingEdited_ = false;
  bool ending_ = false;
  bool endRequested_ = false;     // the test mode ends once the open adjustment has
  bool limitNoticeShown_ = false; // the countdown label says the transmit limit was reached
};

} // namespace vpr
