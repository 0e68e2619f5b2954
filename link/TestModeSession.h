#pragma once
// One run of a connected radio's test mode: the start sequence, the test channel and
// signalling, the transmitter, and the adjustment of one alignment value at a time, with the
// values written into the working image. The test dialog and the command-line test session
// both drive it; it shows messages and asks Retry/Cancel only through the UserInterface.
//
// Safety: the transmitter is never left keyed by anything this class does or fails to do. An
// unkey is sent whenever a key command may have reached the radio and no unkey has been
// acknowledged since; end() and the destructor send it, and a keyed transmitter is unkeyed by
// enforceTransmitLimit() once the transmit limit has passed without a command. A value moved
// but not applied is taken back in the radio and in the image when the adjustment ends.
//
// Every request goes through the state table of TestModeMachine: the state and the radio's
// possibly keyed transmitter pick its row, which says what is sent and where the session ends.
// A request is refused while another one runs (its exchanges pump window messages); what the
// user asks meanwhile waits in the session's RequestQueue (whenIdle) and runs once the request
// has ended.
//
// It does not keep the dialogs' widgets in step and it runs no timer of its own: the caller
// calls enforceTransmitLimit() (the dialog from a timer, the command-line session while it
// waits for input). With demonstration mode set nothing is sent after the port was opened and
// every command succeeds.

#include "link/CRadioComm.h"
#include "link/RequestQueue.h"
#include "link/TestModeMachine.h"
#include "model/AdjustItem.h"
#include "model/RadioImage.h"

#include <chrono>
#include <functional>
#include <optional>

namespace vpr {

class UserInterface;

class TestModeSession {
public:
  using Clock = std::chrono::steady_clock;
  using State = TestModeMachine::State;
  using Request = TestModeMachine::Request;

  // How a request of the user ended.
  enum class Outcome {
    Done,      // carried out
    Refused,   // not acceptable (a number out of range, an unprogrammed test frequency, the
               // wrong moment); nothing was sent and nothing changed
    Failed,    // a command failed and the user gave up (Cancel): the test mode is to end
    Abandoned, // opening an adjustment failed and was given up; the test mode goes on
  };

  static constexpr int kSignallingCount = 39; // tone-list entries 0 (off) .. 38
  static constexpr int kNoItem = 255;
  // A keyed transmitter is unkeyed after this long without a command.
  static constexpr std::chrono::seconds kTransmitLimit{300};

  TestModeSession(CRadioComm& radio, UserInterface& ui, RadioImage& image, bool demonstrationMode);
  ~TestModeSession();
  TestModeSession(const TestModeSession&) = delete;
  TestModeSession& operator=(const TestModeSession&) = delete;

  // Reopens the port at 9600 baud (text 10026002 when that fails) and runs the start sequence
  // (its messages through the user interface). 0 when the test mode is open; otherwise its
  // result (1 a communication failure, 3 a refused radio or different test frequencies) and
  // the port is closed.
  int begin();
  // Ends the test mode: leaves an open adjustment (restoring its applied value), unkeys a
  // transmitter that may be keyed and closes the port. Safe to call more than once.
  void end();

  State state() const { return state_; }
  // Whether the request would be taken now (the session idle and the state table holding a
  // row for it); why not otherwise.
  bool accepts(Request request) const;
  TestModeMachine::Refusal refusal(Request request) const;

  // Runs what the user asked now if the session is idle, otherwise once its exchange has
  // ended, in the order asked; see RequestQueue.
  void whenIdle(const void* owner, std::function<void()> request,
                RequestQueue::Merge merge = RequestQueue::Merge::No);
  // Forgets what the owner asked and is still waiting.
  void forgetRequests(const void* owner) { requests_.forget(owner); }

  // ---- Test channel (index 0..15; the user sees index + 1) and signalling (0..38) ----
  int testChannel() const { return testChannel_; }
  int signallingIndex() const { return signallingIndex_; }
  // Whether test frequency index 0..15 of the image is programmed.
  bool isProgrammed(int channel) const;
  // The frequencies of test frequency index 0..15 in the image.
  FrequencyCode receiveFrequency(int channel) const;
  FrequencyCode transmitFrequency(int channel) const;
  // The channel a spin step reaches from the number typed (clamped to 1..16): the next
  // programmed test frequency in the direction's sense, wrapping; at most 18 steps.
  int stepChannel(int typedNumber, int direction) const;
  // The signalling a spin step reaches from the number typed (clamped to 0..38), wrapping.
  static int stepSignalling(int typedNumber, int direction);
  // Selects test frequency number 1..16 (programmed only) and sends it.
  Outcome selectChannel(int number);
  // Selects signalling 0..38 and sends it.
  Outcome selectSignalling(int index);

  // ---- Transmitter ----
  bool transmitting() const { return state_ == State::Transmitting; }
  // Keys (sending channel and signalling again first) or unkeys.
  Outcome setTransmitting(bool on);
  Outcome toggleTransmit() { return setTransmitting(!transmitting()); }
  // The time left before a keyed transmitter is unkeyed; nothing while not transmitting.
  std::optional<Clock::duration> transmitTimeLeft(Clock::time_point now) const;
  // Unkeys a transmitter keyed for longer than the limit. Returns true when it did so now (the
  // outcome of the unkey in *outcome); false when there was nothing to do.
  bool enforceTransmitLimit(Clock::time_point now, Outcome* outcome = nullptr);
  void setTransmitLimit(Clock::duration limit) { transmitLimit_ = limit; }
  Clock::duration transmitLimit() const { return transmitLimit_; }

  // ---- Adjustment of one item (0..8) ----
  // Item 0..8; any other index throws std::out_of_range.
  static const AdjustItem& item(int index) { return kAdjustItems.at(static_cast<std::size_t>(index)); }
  bool adjusting() const { return state_ == State::Adjusting; }
  int adjustItemIndex() const { return adjustItemIndex_; }
  int currentValue() const { return currentValue_; }
  int appliedValue() const { return appliedValue_; }
  // The value of an item as the image holds it (complemented back for inverted items).
  int imageValue(int index) const;
  // Puts the radio into the item's adjustment mode (unkeying first, channel and signalling sent
  // again) and sends the image's value. Done, Abandoned (failed and given up; nothing open) or
  // Refused (an item out of range, or an adjustment already open).
  Outcome openAdjustment(int index);
  // Sends a value 0..255 at once and writes it into the image. Failed: the radio did not take
  // it and the user gave up (the image and currentValue() keep the value it took last); the
  // adjustment and the test mode are to end.
  Outcome setValue(int value);
  // The value sent last becomes the one kept when the adjustment ends.
  Outcome apply();
  // Ends the adjustment: with tellRadio the applied value goes back into the radio, which then
  // leaves its adjustment mode and returns to the test channel. Without tellRadio (after a
  // value failed) nothing is sent. The image ends with the value the radio took last: the
  // applied one unless restoring it failed. Failed: the radio was not told, or that did not
  // succeed and the user gave up; the test mode is to end.
  Outcome leaveAdjustment(bool tellRadio);

  // True from before an exchange pumps its first window message until it has ended (its
  // Retry/Cancel questions included). A handler that runs meanwhile finds the session busy: it
  // must leave its request for after the exchange, as every request here refuses while busy.
  bool busy() const { return busy_; }
  bool demonstrationMode() const { return demonstrationMode_; }

private:
  // Runs a request through the state table: nothing without a row; otherwise busy throughout,
  // the row's exchanges in order and the state they reach. 0 when every exchange succeeded,
  // otherwise the result of the one given up.
  std::optional<int> perform(Request request);
  // Moves to a state: leaving the adjustment ends the open item, Closed closes the port.
  void enter(State state);
  int exchange(TestModeMachine::Exchange exchange);
  // Runs an attempt (0: success) with a pumped message before each try until it succeeds or the
  // user gives up: while starting, a communication failure (1) shows text 10026003 and ends
  // it; afterwards the user is asked Retry or Cancel (text 10026031). Other results, and every
  // failure of an attempt that reportsItself, have shown their own message and end it at once.
  int exchangeWithRetry(const std::function<int()>& attempt, bool reportsItself = false);
  int openPort();
  int compareTestFrequencies();
  int checkRadio();
  int loadAdjustArea();
  int startKeys();
  int setTransmitter(bool on);
  int enterAdjustment();
  // Sends a value of the open item; 0 when the radio took it.
  int sendValue(int value);
  int leaveSequence();
  bool askRetry();
  // Writes a value of the open item into the image (complemented for inverted items).
  void writeImageValue(int value);

  CRadioComm& radio_;
  UserInterface& ui_;
  RadioImage& image_;
  bool demonstrationMode_;
  State state_ = State::Closed;
  bool busy_ = false;
  RequestQueue requests_{[this] { return !busy_; }};
  int testChannel_ = 0;
  int signallingIndex_ = 0;
  int firstProgrammedChannel_ = -1;
  // A key command may have reached the radio and no unkey has been acknowledged since.
  bool maybeKeyed_ = false;
  Clock::time_point lastCommand_{};
  Clock::duration transmitLimit_ = kTransmitLimit;
  int adjustItemIndex_ = kNoItem;
  int openingItem_ = kNoItem; // the item an adjustment is being opened for
  int valueToSend_ = 0;
  int currentValue_ = 0;
  int appliedValue_ = 0;
  int acknowledgedValue_ = 0; // the value of the open item the radio took last
};

} // namespace vpr
