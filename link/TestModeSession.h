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
// It does not keep the dialogs' widgets in step and it runs no timer of its own: the caller
// calls enforceTransmitLimit() (the dialog from a timer, the command-line session while it
// waits for input). With demonstration mode set nothing is sent after the port was opened and
// every command succeeds.

#include "link/CRadioComm.h"
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

  // The radio commands of the test mode, by their numbers.
  enum Command {
    CompareTestFrequencies = 0,
    LoadAdjustArea = 1,
    CheckRadio = 2,
    IdentityText = 3,
    SelectChannel = 4,
    SelectSignalling = 5,
    Transmitter = 6,
    StartKeys = 7,
  };

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

  // One radio command (see Command): 0 success. A failure while starting shows text 10026003;
  // afterwards the user is asked Retry or Cancel (text 10026031), and Cancel gives nonzero.
  int runTestCommand(int command);

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
  bool transmitting() const { return transmitting_; }
  // Keys (sending channel and signalling again first) or unkeys.
  Outcome setTransmitting(bool on);
  Outcome toggleTransmit() { return setTransmitting(!transmitting_); }
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
  bool adjusting() const { return adjustItemIndex_ != kNoItem; }
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
  bool startingUp() const { return startingUp_; }

private:
  int exchange(int command);
  // Runs an attempt (0: success) with a pumped message before each try, busy throughout, until
  // it succeeds or the user gives up; command names a test command for its special results.
  int exchangeWithRetry(const std::function<int()>& attempt, int command = -1);
  int compareTestFrequencies();
  int checkRadio();
  bool commandsSucceed(std::initializer_list<int> commands);
  // Sends a value of the open item with Retry/Cancel; true when the radio took it.
  bool sendValue(int value);
  bool leaveSequence();
  bool askRetry();
  // Writes a value of the open item into the image (complemented for inverted items).
  void writeImageValue(int value);

  CRadioComm& radio_;
  UserInterface& ui_;
  RadioImage& image_;
  bool demonstrationMode_;
  bool open_ = false;
  bool busy_ = false;
  bool startingUp_ = false;
  int testChannel_ = 0;
  int signallingIndex_ = 0;
  int firstProgrammedChannel_ = -1;
  bool transmitting_ = false;
  // A key command may have reached the radio and no unkey has been acknowledged since.
  bool maybeKeyed_ = false;
  Clock::time_point lastCommand_{};
  Clock::duration transmitLimit_ = kTransmitLimit;
  int adjustItemIndex_ = kNoItem;
  int currentValue_ = 0;
  int appliedValue_ = 0;
  int acknowledgedValue_ = 0; // the value of the open item the radio took last
};

} // namespace vpr
