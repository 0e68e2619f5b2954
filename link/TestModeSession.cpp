#include "link/TestModeSession.h"

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"

#include <algorithm>

namespace vpr {

namespace {

constexpr int kTextCommError = 10026003;
constexpr int kTextTestFreqsDiffer = 10026005;
constexpr int kTextCommandFailed = 10026031;
constexpr int kCaptionError = 10025001;
// Pauses after the port was reopened, between the two start keys and before leaving an adjustment.
constexpr unsigned kSettlePauseMs = 50;
// The radio's memory holds the test frequencies as records of which the first 8 bytes (receive
// and transmit frequency) must equal the image's.
constexpr std::size_t kComparedBytes = 8;

FrequencyCode frequencyAt(const RadioImage& image, std::size_t offset) {
  FrequencyCode code{};
  std::copy_n(image.begin() + static_cast<long>(offset), code.size(), code.begin());
  return code;
}

std::uint8_t wireValue(const AdjustItem& adjust, int value) {
  return static_cast<std::uint8_t>(adjust.inverted ? kAdjustValueMax - value : value);
}

// Marks the session busy for the length of one radio exchange, its pumped window messages and
// its Retry/Cancel questions included; an enclosing scope keeps the session busy.
class BusyScope {
public:
  explicit BusyScope(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = was_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

private:
  bool& flag_;
  bool was_;
};

} // namespace

TestModeSession::TestModeSession(CRadioComm& radio, UserInterface& ui, RadioImage& image,
                                 bool demonstrationMode)
    : radio_(radio), ui_(ui), image_(image), demonstrationMode_(demonstrationMode) {}

TestModeSession::~TestModeSession() {
  end();
}

int TestModeSession::begin() {
  if (radio_.ReopenAt9600() != 0) {
    const std::string failure = radio_.OpenFailureText();
    radio_.SetOpen(false);
    ui_.error(failure);
    return 1;
  }
  open_ = true;
  CComPort::BusyWait(kSettlePauseMs);

  firstProgrammedChannel_ = -1;
  startingUp_ = true;
  for (int command : {CheckRadio, CompareTestFrequencies, LoadAdjustArea, IdentityText, StartKeys}) {
    if (const int result = runTestCommand(command); result != 0) {
      startingUp_ = false;
      open_ = false;
      radio_.SetOpen(false);
      return result;
    }
  }
  testChannel_ = firstProgrammedChannel_ >= 0 ? firstProgrammedChannel_ : 0;
  signallingIndex_ = 0;
  const bool tuned = runTestCommand(SelectChannel) == 0 && runTestCommand(SelectSignalling) == 0;
  startingUp_ = false;
  if (!tuned) {
    open_ = false;
    radio_.SetOpen(false);
    return 1;
  }
  return 0;
}

void TestModeSession::end() {
  if (!open_) return;
  if (adjusting()) leaveAdjustment(true);
  if (transmitting_ || maybeKeyed_) {
    transmitting_ = false;
    runTestCommand(Transmitter);
  }
  open_ = false;
  radio_.SetOpen(false);
}

int TestModeSession::runTestCommand(int command) {
  return exchangeWithRetry([this, command] { return exchange(command); }, command);
}

int TestModeSession::exchangeWithRetry(const std::function<int()>& attempt, int command) {
  if (demonstrationMode_) {
    lastCommand_ = Clock::now();
    return 0;
  }
  // Busy before the first pump: a handler that runs inside it finds the session busy and
  // leaves its request for after this exchange.
  const BusyScope busy(busy_);
  for (;;) {
    ui_.pumpOneMessage();
    const int result = attempt();
    if (result == 0) {
      lastCommand_ = Clock::now();
      return 0;
    }
    // The radio check and a refused comparison have shown their own messages.
    if (command == CheckRadio || (command == CompareTestFrequencies && result == 3)) return result;
    if (startingUp_) {
      ui_.error(textOf(kTextCommError));
      return 1;
    }
    if (!askRetry()) return 1;
  }
}

int TestModeSession::exchange(int command) {
  switch (command) {
  case CompareTestFrequencies:
    return compareTestFrequencies();
  case LoadAdjustArea: {
    std::uint8_t area[layout::kTestModeBlockSize] = {};
    if (radio_.ReadAdjustArea(area) != 0) return 1;
    std::copy(std::begin(area), std::end(area), image_.begin() + static_cast<long>(layout::kTestModeBlock));
    return 0;
  }
  case CheckRadio:
    return checkRadio();
  case IdentityText:
    return radio_.SendIdentityText();
  case SelectChannel:
    return radio_.SelectTestChannel(static_cast<std::uint8_t>(testChannel_ + 1));
  case SelectSignalling:
    return radio_.SelectTestSignalling(signallingIndex_);
  case Transmitter: {
    if (transmitting_) maybeKeyed_ = true;
    const int result = radio_.SetTransmit(transmitting_);
    if (result == 0 && !transmitting_) maybeKeyed_ = false;
    return result;
  }
  case StartKeys:
    if (radio_.SendKCommand(true) != 0) return 1;
    CComPort::BusyWait(kSettlePauseMs);
    return radio_.SendKCommand(false);
  default:
    return 1;
  }
}

int TestModeSession::checkRadio() {
  const ModelCode code = modelCodeOf(image_);
  CRadioComm::Identity identity{};
  const int silent = radio_.CheckRadioForTest(ui_, identity, true, code);
  if (silent == 0) return 0;
  if (silent == 2) return 3;
  radio_.CheckLineErrors();
  if (radio_.EnterProgramModeOrReport(ui_) != 0) return 1;
  return radio_.CheckRadioForTest(ui_, identity, false, code) == 0 ? 0 : 3;
}

int TestModeSession::compareTestFrequencies() {
  for (int k = 0; k < layout::kTestFreqCount; ++k) {
    std::uint8_t record[kRecordSize] = {};
    if (radio_.ReadTestFreqRecord(k, record) != 0) return 1;
    const std::size_t offset = layout::testFreqOffset(k + 1);
    if (!std::equal(record, record + kComparedBytes, image_.begin() + static_cast<long>(offset))) {
      ui_.error(textOf(kTextTestFreqsDiffer));
      return 3;
    }
    if (isProgrammed(k) && firstProgrammedChannel_ < 0) firstProgrammedChannel_ = k;
  }
  return 0;
}

bool TestModeSession::askRetry() {
  return ui_.showMessage({MessageKind::Error, textOf(kTextCommandFailed), textOf(kCaptionError),
                          MessageButtons::RetryCancel, MessageIcon::Stop, MessageAnswer::Retry}) ==
         MessageAnswer::Retry;
}

bool TestModeSession::commandsSucceed(std::initializer_list<int> commands) {
  return std::all_of(commands.begin(), commands.end(),
                     [this](int command) { return runTestCommand(command) == 0; });
}

bool TestModeSession::isProgrammed(int channel) const {
  if (channel < 0 || channel >= layout::kTestFreqCount) return false;
  return receiveFrequency(channel) != kNoFrequency;
}

FrequencyCode TestModeSession::receiveFrequency(int channel) const {
  return frequencyAt(image_, layout::testFreqOffset(std::clamp(channel, 0, layout::kTestFreqCount - 1) + 1) +
                                 layout::kRxFreq);
}

FrequencyCode TestModeSession::transmitFrequency(int channel) const {
  return frequencyAt(image_, layout::testFreqOffset(std::clamp(channel, 0, layout::kTestFreqCount - 1) + 1) +
                                 layout::kTxFreq);
}

int TestModeSession::stepChannel(int typedNumber, int direction) const {
  constexpr int count = layout::kTestFreqCount;
  int channel = std::clamp(typedNumber, 1, count) - 1;
  constexpr int kMaxSteps = 18;
  for (int step = 0; step < kMaxSteps; ++step) {
    channel = direction > 0 ? (channel + 1) % count : (channel + count - 1) % count;
    if (isProgrammed(channel)) break;
  }
  return channel;
}

int TestModeSession::stepSignalling(int typedNumber, int direction) {
  const int index = std::clamp(typedNumber, 0, kSignallingCount - 1);
  return direction > 0 ? (index + 1) % kSignallingCount : (index + kSignallingCount - 1) % kSignallingCount;
}

TestModeSession::Outcome TestModeSession::selectChannel(int number) {
  if (busy_ || adjusting() || transmitting_) return Outcome::Refused;
  if (number < 1 || number > layout::kTestFreqCount || !isProgrammed(number - 1)) return Outcome::Refused;
  testChannel_ = number - 1;
  return runTestCommand(SelectChannel) == 0 ? Outcome::Done : Outcome::Failed;
}

TestModeSession::Outcome TestModeSession::selectSignalling(int index) {
  if (busy_ || adjusting() || transmitting_) return Outcome::Refused;
  if (index < 0 || index >= kSignallingCount) return Outcome::Refused;
  signallingIndex_ = index;
  return runTestCommand(SelectSignalling) == 0 ? Outcome::Done : Outcome::Failed;
}

TestModeSession::Outcome TestModeSession::setTransmitting(bool on) {
  if (busy_ || adjusting()) return Outcome::Refused;
  // Keying twice sends nothing; an unkey goes out again while the radio may still be keyed.
  if (on == transmitting_ && (on || !maybeKeyed_)) return Outcome::Done;
  transmitting_ = on;
  if (on && !commandsSucceed({SelectChannel, SelectSignalling})) {
    transmitting_ = false; // nothing was keyed
    return Outcome::Failed;
  }
  return runTestCommand(Transmitter) == 0 ? Outcome::Done : Outcome::Failed;
}

std::optional<TestModeSession::Clock::duration>
TestModeSession::transmitTimeLeft(Clock::time_point now) const {
  if (!transmitting_) return std::nullopt;
  return std::max(Clock::duration::zero(), lastCommand_ + transmitLimit_ - now);
}

bool TestModeSession::enforceTransmitLimit(Clock::time_point now, Outcome* outcome) {
  if (busy_ || !transmitting_ || now - lastCommand_ < transmitLimit_) return false;
  const Outcome result = setTransmitting(false);
  if (outcome) *outcome = result;
  return true;
}

int TestModeSession::imageValue(int index) const {
  const AdjustItem& adjust = item(index);
  const int stored = image_[adjust.imageOffset];
  return adjust.inverted ? kAdjustValueMax - stored : stored;
}

void TestModeSession::writeImageValue(int value) {
  if (!adjusting()) return;
  const AdjustItem& adjust = item(adjustItemIndex_);
  image_[adjust.imageOffset] = wireValue(adjust, value);
}

TestModeSession::Outcome TestModeSession::openAdjustment(int index) {
  if (busy_ || adjusting() || index < 0 || index >= layout::kAdjustItemCount) return Outcome::Refused;
  if (transmitting_) {
    transmitting_ = false;
    if (runTestCommand(Transmitter) != 0) return Outcome::Abandoned;
  }
  if (!commandsSucceed({SelectChannel, SelectSignalling, SelectChannel})) return Outcome::Abandoned;
  const AdjustItem& adjust = item(index);
  const int opening = imageValue(index);
  // Once the radio is in the item's adjustment mode, a retry sends the value only: the entry's
  // key sequence sent again would take the radio out of the mode it has just entered.
  bool entered = false;
  const int result = exchangeWithRetry([this, &adjust, opening, &entered] {
    if (!entered) {
      if (radio_.EnterAdjustMode(adjust.kCode, adjust.sendN, adjust.repeat) != 0) return 1;
      entered = true;
    }
    return radio_.SetAdjustValue(adjust.letter, wireValue(adjust, opening), adjust.answerBytes) == 0 ? 0 : 1;
  });
  if (result != 0) {
    // Given up after the radio entered the adjustment mode: it leaves it again, as far as it
    // still answers, and returns to the test channel.
    if (entered && !demonstrationMode_ && radio_.LeaveAdjustMode() == 0)
      radio_.SelectTestChannel(static_cast<std::uint8_t>(testChannel_ + 1));
    return Outcome::Abandoned;
  }
  adjustItemIndex_ = index;
  currentValue_ = appliedValue_ = acknowledgedValue_ = opening;
  return Outcome::Done;
}

bool TestModeSession::sendValue(int value) {
  const AdjustItem& adjust = item(adjustItemIndex_);
  return exchangeWithRetry([this, &adjust, value] {
           if (radio_.SetAdjustValue(adjust.letter, wireValue(adjust, value), adjust.answerBytes) != 0)
             return 1;
           acknowledgedValue_ = value;
           return 0;
         }) == 0;
}

TestModeSession::Outcome TestModeSession::setValue(int value) {
  if (busy_ || !adjusting() || value < 0 || value > kAdjustValueMax) return Outcome::Refused;
  if (value == currentValue_) return Outcome::Done;
  const bool sent = sendValue(value);
  // The image and currentValue() follow what the radio took; a value it did not take leaves
  // both at the one it took before.
  if (demonstrationMode_ && sent) acknowledgedValue_ = value;
  currentValue_ = acknowledgedValue_;
  writeImageValue(acknowledgedValue_);
  return sent ? Outcome::Done : Outcome::Failed;
}

TestModeSession::Outcome TestModeSession::apply() {
  if (busy_ || !adjusting()) return Outcome::Refused;
  appliedValue_ = currentValue_;
  return Outcome::Done;
}

bool TestModeSession::leaveSequence() {
  const AdjustItem& adjust = item(adjustItemIndex_);
  // Once the radio has left the adjustment mode, a retry sends the test channel only: a value
  // sent again would arrive outside the adjustment.
  bool left = false;
  return exchangeWithRetry([this, &adjust, &left] {
           if (!left) {
             if (radio_.SetAdjustValue(adjust.letter, wireValue(adjust, appliedValue_), adjust.answerBytes) !=
                 0)
               return 1;
             acknowledgedValue_ = appliedValue_;
             CComPort::BusyWait(kSettlePauseMs);
             if (radio_.LeaveAdjustMode() != 0) return 1;
             left = true;
           }
           return radio_.SelectTestChannel(static_cast<std::uint8_t>(testChannel_ + 1));
         }) == 0;
}

TestModeSession::Outcome TestModeSession::leaveAdjustment(bool tellRadio) {
  if (busy_ || !adjusting()) return Outcome::Refused;
  const bool left = tellRadio && leaveSequence();
  if (demonstrationMode_ && left) acknowledgedValue_ = appliedValue_;
  // The applied value is back when the radio took it; otherwise the image keeps the value the
  // radio took last, which is what it holds now.
  currentValue_ = appliedValue_ = acknowledgedValue_;
  writeImageValue(acknowledgedValue_);
  adjustItemIndex_ = kNoItem;
  transmitting_ = false;
  return left ? Outcome::Done : Outcome::Failed;
}

} // namespace vpr
