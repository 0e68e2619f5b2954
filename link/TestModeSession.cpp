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

bool TestModeSession::accepts(Request request) const {
  return !busy_ && TestModeMachine::find(state_, request, maybeKeyed_) != nullptr;
}

TestModeMachine::Refusal TestModeSession::refusal(Request request) const {
  return busy_ ? TestModeMachine::Refusal::Busy : TestModeMachine::refusal(state_, request);
}

void TestModeSession::whenIdle(const void* owner, std::function<void()> request, RequestQueue::Merge merge) {
  requests_.run(owner, std::move(request), merge);
}

std::optional<int> TestModeSession::perform(Request request) {
  if (busy_) return std::nullopt;
  const TestModeMachine::Row* row = TestModeMachine::find(state_, request, maybeKeyed_);
  if (!row) return std::nullopt;
  int result = 0;
  {
    // Busy before the first pump: a handler that runs inside it finds the session busy and
    // leaves its request for after this one.
    const BusyScope busy(busy_);
    state_ = row->during;
    State reached = row->next;
    for (const TestModeMachine::Step& step : row->steps) {
      const int failed = exchange(step.exchange);
      if (failed == 0 || result != 0) continue;
      result = failed;
      if (!row->goOn) {
        reached = step.failed;
        break;
      }
    }
    enter(reached);
  }
  // What was asked meanwhile runs now, unless a request of the queue asked for this one: the
  // queue runs once that request has ended.
  if (!requests_.running()) requests_.runWaiting();
  return result;
}

void TestModeSession::enter(State state) {
  state_ = state;
  if (state != State::Adjusting && state != State::Leaving && adjustItemIndex_ != kNoItem) {
    // The applied value is back when the radio took it; otherwise the image keeps the value the
    // radio took last, which is what it holds now.
    currentValue_ = appliedValue_ = acknowledgedValue_;
    writeImageValue(acknowledgedValue_);
    adjustItemIndex_ = kNoItem;
  }
  if (state == State::Closed) radio_.SetOpen(false);
}

int TestModeSession::begin() {
  firstProgrammedChannel_ = -1;
  return perform(Request::Begin).value_or(1);
}

void TestModeSession::end() {
  perform(Request::End);
}

int TestModeSession::exchange(TestModeMachine::Exchange exchange) {
  using enum TestModeMachine::Exchange;
  switch (exchange) {
  case OpenPort:
    return openPort();
  case CheckRadio:
    return exchangeWithRetry([this] { return checkRadio(); }, true);
  case CompareTestFrequencies:
    return exchangeWithRetry([this] { return compareTestFrequencies(); });
  case LoadAdjustArea:
    return exchangeWithRetry([this] { return loadAdjustArea(); });
  case IdentityText:
    return exchangeWithRetry([this] { return radio_.SendIdentityText(); });
  case StartKeys:
    return exchangeWithRetry([this] { return startKeys(); });
  case SendChannel:
    return exchangeWithRetry(
        [this] { return radio_.SelectTestChannel(static_cast<std::uint8_t>(testChannel_ + 1)); });
  case SendSignalling:
    return exchangeWithRetry([this] { return radio_.SelectTestSignalling(signallingIndex_); });
  case KeyOn:
    return exchangeWithRetry([this] { return setTransmitter(true); });
  case KeyOff:
    return exchangeWithRetry([this] { return setTransmitter(false); });
  case EnterAdjustment:
    return enterAdjustment();
  case SendValue:
    return sendValue(valueToSend_);
  case LeaveAdjustment:
    return leaveSequence();
  }
  return 1;
}

int TestModeSession::exchangeWithRetry(const std::function<int()>& attempt, bool reportsItself) {
  if (demonstrationMode_) {
    lastCommand_ = Clock::now();
    return 0;
  }
  for (;;) {
    ui_.pumpOneMessage();
    const int result = attempt();
    if (result == 0) {
      lastCommand_ = Clock::now();
      return 0;
    }
    // The radio check and a refused comparison have shown their own messages.
    if (reportsItself || result != 1) return result;
    if (state_ == State::Starting) {
      ui_.error(textOf(kTextCommError));
      return 1;
    }
    if (!askRetry()) return 1;
  }
}

int TestModeSession::openPort() {
  if (radio_.ReopenAt9600() != 0) {
    const std::string failure = radio_.OpenFailureText();
    radio_.SetOpen(false);
    ui_.error(failure);
    return 1;
  }
  CComPort::BusyWait(kSettlePauseMs);
  return 0;
}

int TestModeSession::loadAdjustArea() {
  std::uint8_t area[layout::kTestModeBlockSize] = {};
  if (radio_.ReadAdjustArea(area) != 0) return 1;
  std::copy(std::begin(area), std::end(area), image_.begin() + static_cast<long>(layout::kTestModeBlock));
  return 0;
}

int TestModeSession::startKeys() {
  if (radio_.SendKCommand(true) != 0) return 1;
  CComPort::BusyWait(kSettlePauseMs);
  return radio_.SendKCommand(false);
}

int TestModeSession::setTransmitter(bool on) {
  if (on) maybeKeyed_ = true;
  const int result = radio_.SetTransmit(on);
  if (result == 0 && !on) maybeKeyed_ = false;
  return result;
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
  // The test mode starts on the first programmed test frequency, without signalling.
  testChannel_ = firstProgrammedChannel_ >= 0 ? firstProgrammedChannel_ : 0;
  signallingIndex_ = 0;
  return 0;
}

bool TestModeSession::askRetry() {
  return ui_.showMessage({MessageKind::Error, textOf(kTextCommandFailed), textOf(kCaptionError),
                          MessageButtons::RetryCancel, MessageIcon::Stop, MessageAnswer::Retry}) ==
         MessageAnswer::Retry;
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

namespace {

// A request's outcome from its result: Refused without a row, Done, or the failure given.
TestModeSession::Outcome outcomeOf(const std::optional<int>& result,
                                   TestModeSession::Outcome failure = TestModeSession::Outcome::Failed) {
  if (!result) return TestModeSession::Outcome::Refused;
  return *result == 0 ? TestModeSession::Outcome::Done : failure;
}

} // namespace

TestModeSession::Outcome TestModeSession::selectChannel(int number) {
  if (!accepts(Request::SelectChannel)) return Outcome::Refused;
  if (number < 1 || number > layout::kTestFreqCount || !isProgrammed(number - 1)) return Outcome::Refused;
  testChannel_ = number - 1;
  return outcomeOf(perform(Request::SelectChannel));
}

TestModeSession::Outcome TestModeSession::selectSignalling(int index) {
  if (!accepts(Request::SelectSignalling)) return Outcome::Refused;
  if (index < 0 || index >= kSignallingCount) return Outcome::Refused;
  signallingIndex_ = index;
  return outcomeOf(perform(Request::SelectSignalling));
}

TestModeSession::Outcome TestModeSession::setTransmitting(bool on) {
  return outcomeOf(perform(on ? Request::TransmitOn : Request::TransmitOff));
}

std::optional<TestModeSession::Clock::duration>
TestModeSession::transmitTimeLeft(Clock::time_point now) const {
  if (!transmitting()) return std::nullopt;
  return std::max(Clock::duration::zero(), lastCommand_ + transmitLimit_ - now);
}

bool TestModeSession::enforceTransmitLimit(Clock::time_point now, Outcome* outcome) {
  if (!accepts(Request::TransmitLimit) || now - lastCommand_ < transmitLimit_) return false;
  const Outcome result = outcomeOf(perform(Request::TransmitLimit));
  if (outcome) *outcome = result;
  return true;
}

int TestModeSession::imageValue(int index) const {
  const AdjustItem& adjust = item(index);
  const int stored = image_[adjust.imageOffset];
  return adjust.inverted ? kAdjustValueMax - stored : stored;
}

void TestModeSession::writeImageValue(int value) {
  if (adjustItemIndex_ == kNoItem) return;
  const AdjustItem& adjust = item(adjustItemIndex_);
  image_[adjust.imageOffset] = wireValue(adjust, value);
}

TestModeSession::Outcome TestModeSession::openAdjustment(int index) {
  if (!accepts(Request::OpenAdjustment) || index < 0 || index >= layout::kAdjustItemCount)
    return Outcome::Refused;
  openingItem_ = index;
  const Outcome outcome = outcomeOf(perform(Request::OpenAdjustment), Outcome::Abandoned);
  openingItem_ = kNoItem;
  return outcome;
}

int TestModeSession::enterAdjustment() {
  const AdjustItem& adjust = item(openingItem_);
  const int opening = imageValue(openingItem_);
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
    return result;
  }
  adjustItemIndex_ = openingItem_;
  currentValue_ = appliedValue_ = acknowledgedValue_ = opening;
  return 0;
}

int TestModeSession::sendValue(int value) {
  const AdjustItem& adjust = item(adjustItemIndex_);
  const int result = exchangeWithRetry([this, &adjust, value] {
    if (radio_.SetAdjustValue(adjust.letter, wireValue(adjust, value), adjust.answerBytes) != 0) return 1;
    acknowledgedValue_ = value;
    return 0;
  });
  if (demonstrationMode_ && result == 0) acknowledgedValue_ = value;
  // The image and currentValue() follow what the radio took; a value it did not take leaves
  // both at the one it took before.
  currentValue_ = acknowledgedValue_;
  writeImageValue(acknowledgedValue_);
  return result;
}

TestModeSession::Outcome TestModeSession::setValue(int value) {
  if (!accepts(Request::SetValue) || value < 0 || value > kAdjustValueMax) return Outcome::Refused;
  if (value == currentValue_) return Outcome::Done;
  valueToSend_ = value;
  return outcomeOf(perform(Request::SetValue));
}

TestModeSession::Outcome TestModeSession::apply() {
  if (!accepts(Request::Apply)) return Outcome::Refused;
  appliedValue_ = currentValue_;
  return outcomeOf(perform(Request::Apply));
}

int TestModeSession::leaveSequence() {
  const AdjustItem& adjust = item(adjustItemIndex_);
  // Once the radio has left the adjustment mode, a retry sends the test channel only: a value
  // sent again would arrive outside the adjustment.
  bool left = false;
  const int result = exchangeWithRetry([this, &adjust, &left] {
    if (!left) {
      if (radio_.SetAdjustValue(adjust.letter, wireValue(adjust, appliedValue_), adjust.answerBytes) != 0)
        return 1;
      acknowledgedValue_ = appliedValue_;
      CComPort::BusyWait(kSettlePauseMs);
      if (radio_.LeaveAdjustMode() != 0) return 1;
      left = true;
    }
    return radio_.SelectTestChannel(static_cast<std::uint8_t>(testChannel_ + 1));
  });
  if (demonstrationMode_ && result == 0) acknowledgedValue_ = appliedValue_;
  return result;
}

TestModeSession::Outcome TestModeSession::leaveAdjustment(bool tellRadio) {
  const Request request = tellRadio ? Request::LeaveAdjustment : Request::DropAdjustment;
  const Outcome outcome = outcomeOf(perform(request));
  // Ended without a word to the radio: it was not told.
  return outcome == Outcome::Done && !tellRadio ? Outcome::Failed : outcome;
}

} // namespace vpr
