// The test mode against the virtual radio over a real pseudo-terminal: what reaches the radio,
// what lands in the image and what the user is shown.

#include "link/TestModeSession.h"
#include "RadioOnLine.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/TestImages.h"

#include <gmock/gmock.h>

#include <functional>

namespace vpr::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Outcome = TestModeSession::Outcome;

RadioImage rowImage(int row = 0) {
  return test::rowImage(row);
}

void eraseTestFrequency(RadioImage& image, int number) {
  std::fill_n(image.begin() + static_cast<long>(layout::testFreqOffset(number)), kRecordSize, 0xFF);
}

// The default images program test frequencies 1..8 only.
void copyTestFrequency(RadioImage& image, int from, int to) {
  std::copy_n(image.begin() + static_cast<long>(layout::testFreqOffset(from)), kRecordSize,
              image.begin() + static_cast<long>(layout::testFreqOffset(to)));
}

sim::VirtualRadioOptions inProgramMode() {
  sim::VirtualRadioOptions options;
  options.programMode = true;
  return options;
}

// A radio holding `memory` and a session over the program's own copy of the image.
struct TestBench {
  explicit TestBench(const RadioImage& memory, bool demonstration = false,
                     sim::VirtualRadioOptions options = inProgramMode())
      : pair(memory, options), image(memory), session(pair.link, pair.ui, image, demonstration) {}

  // The events after the start sequence.
  std::vector<std::string> eventsSinceStart() const {
    auto events = pair.radio.testEvents();
    events.erase(events.begin(), events.begin() + static_cast<long>(startEvents));
    return events;
  }
  void started() {
    ASSERT_EQ(session.begin(), 0);
    startEvents = pair.radio.testEvents().size();
  }

  RadioOnLine pair;
  RadioImage image;
  TestModeSession session;
  std::size_t startEvents = 0;
};

using TestModeStart = LinkTest;

TEST_F(TestModeStart, TheRadioIsCheckedComparedLoadedGreetedAndTunedToTheFirstProgrammedFrequency) {
  RadioImage memory = rowImage();
  eraseTestFrequency(memory, 1);
  memory[0x3F3] = 0x42; // the radio's own alignment differs from the file's
  RadioImage image = memory;
  image[0x3F3] = 0x99;
  TestBench bench(memory);
  bench.image = image;
  ASSERT_EQ(bench.session.begin(), 0);
  EXPECT_THAT(bench.pair.radio.testEvents(),
              ElementsAre("identity", "key 16 1", "key 16 2", "channel 2", "signalling FFFF"));
  EXPECT_EQ(bench.session.testChannel(), 1);
  EXPECT_EQ(bench.image[0x3F3], 0x42);
  EXPECT_TRUE(bench.pair.ui.messages.empty());
  EXPECT_EQ(bench.pair.link.ReadTimeout(), CRadioComm::kTestModeTimeoutMs);
}

TEST_F(TestModeStart, ARadioOutsideProgrammingModeIsAskedForItFirst) {
  TestBench bench(rowImage(), false, {});
  ASSERT_EQ(bench.session.begin(), 0);
  EXPECT_EQ(bench.pair.radio.stats().programRequests, 1);
}

TEST_F(TestModeStart, MatchingButUnprogrammedTestFrequenciesStartOnChannelOne) {
  RadioImage memory = rowImage();
  for (int k = 1; k <= 16; ++k)
    eraseTestFrequency(memory, k);
  TestBench bench(memory);
  ASSERT_EQ(bench.session.begin(), 0);
  EXPECT_EQ(bench.session.testChannel(), 0);
  EXPECT_THAT(bench.pair.radio.testEvents(), Contains("channel 1"));
}

TEST_F(TestModeStart, AnImageThatDoesNotMatchTheRadioKeepsTheTestModeClosedAndSendsNothing) {
  RadioImage otherTestFrequency = rowImage();
  otherTestFrequency[layout::testFreqOffset(5)] ^= 0x10;
  for (const auto& [image, message] :
       {std::pair{otherTestFrequency, 10026005}, std::pair{rowImage(3), 10026006}}) {
    TestBench bench(rowImage());
    bench.image = image;
    EXPECT_EQ(bench.session.begin(), 3);
    EXPECT_EQ(bench.pair.ui.messageTexts(), std::vector<std::string>{idText(message)});
    EXPECT_THAT(bench.pair.radio.testEvents(), IsEmpty());
    EXPECT_FALSE(bench.pair.link.IsOpen());
  }
}

TEST_F(TestModeStart, DemonstrationModeSendsNothingWhateverIsDone) {
  TestBench bench(rowImage(), true);
  ASSERT_EQ(bench.session.begin(), 0);
  EXPECT_TRUE(bench.pair.link.IsOpen());
  EXPECT_EQ(bench.session.toggleTransmit(), Outcome::Done);
  EXPECT_EQ(bench.session.openAdjustment(2), Outcome::Done);
  EXPECT_EQ(bench.session.setValue(10), Outcome::Done);
  EXPECT_EQ(bench.session.leaveAdjustment(true), Outcome::Done);
  EXPECT_EQ(bench.session.selectChannel(3), Outcome::Done);
  bench.session.end();
  EXPECT_TRUE(bench.pair.radio.received().empty());
}

// Each request in each state the user can bring the session into, as (state, request) ->
// (outcome, state reached, what the radio saw). Item 2 is adjusted; the radio holds 0x30 for it,
// which the user sees as 207.
using TestModeRequests = LinkTest;

TEST_F(TestModeRequests, EachStateTakesOrRefusesEachRequestAndSendsWhatItsRowSays) {
  using State = TestModeSession::State;
  using Act = std::function<Outcome(TestModeSession&)>;
  const auto late = TestModeSession::Clock::now() + std::chrono::hours(1);
  const Act transmitLimit = [late](TestModeSession& s) {
    Outcome outcome = Outcome::Refused;
    s.enforceTransmitLimit(late, &outcome);
    return outcome;
  };
  const Act end = [](TestModeSession& s) {
    s.end();
    return Outcome::Done;
  };
  using Lines = std::vector<std::string>;
  const Lines retune = {"channel 1", "signalling FFFF"};
  const Lines enter = {"channel 1", "signalling FFFF", "channel 1", "key 13 1", "key 17 1",
                       "key 13 2",  "key 17 2",        "key 12 1",  "key 12 2", "value M 48"};
  const Lines leave = {"value M 48", "key 13 1", "key 17 1", "key 13 2", "key 17 2", "channel 1"};
  const auto then = [](Lines first, const Lines& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
  };
  struct Case {
    State from;
    const char* request;
    Act act;
    Outcome outcome;
    State next;
    Lines line;
    bool radioStillAdjusting = false; // nothing told the radio the adjustment ended
  };
  const Case cases[] = {
      {State::Idle,
       "channel 4",
       [](auto& s) { return s.selectChannel(4); },
       Outcome::Done,
       State::Idle,
       {"channel 4"}},
      {State::Idle,
       "channel 9, not programmed",
       [](auto& s) { return s.selectChannel(9); },
       Outcome::Refused,
       State::Idle,
       {}},
      {State::Idle,
       "channel 0",
       [](auto& s) { return s.selectChannel(0); },
       Outcome::Refused,
       State::Idle,
       {}},
      {State::Idle,
       "channel 17",
       [](auto& s) { return s.selectChannel(17); },
       Outcome::Refused,
       State::Idle,
       {}},
      {State::Idle,
       "signalling 1",
       [](auto& s) { return s.selectSignalling(1); },
       Outcome::Done,
       State::Idle,
       {"signalling 0670"}},
      {State::Idle,
       "signalling 39",
       [](auto& s) { return s.selectSignalling(39); },
       Outcome::Refused,
       State::Idle,
       {}},
      {State::Idle, "transmit on", [](auto& s) { return s.setTransmitting(true); }, Outcome::Done,
       State::Transmitting, then(retune, {"transmit on"})},
      {State::Idle,
       "transmit off",
       [](auto& s) { return s.setTransmitting(false); },
       Outcome::Done,
       State::Idle,
       {}},
      {State::Idle, "transmit limit", transmitLimit, Outcome::Refused, State::Idle, {}},
      {State::Idle, "adjust 2", [](auto& s) { return s.openAdjustment(2); }, Outcome::Done, State::Adjusting,
       enter},
      {State::Idle, "value", [](auto& s) { return s.setValue(3); }, Outcome::Refused, State::Idle, {}},
      {State::Idle, "apply", [](auto& s) { return s.apply(); }, Outcome::Refused, State::Idle, {}},
      {State::Idle,
       "leave",
       [](auto& s) { return s.leaveAdjustment(true); },
       Outcome::Refused,
       State::Idle,
       {}},
      {State::Idle, "end", end, Outcome::Done, State::Closed, {}},
      {State::Transmitting,
       "transmit on",
       [](auto& s) { return s.setTransmitting(true); },
       Outcome::Done,
       State::Transmitting,
       {}},
      {State::Transmitting,
       "transmit off",
       [](auto& s) { return s.setTransmitting(false); },
       Outcome::Done,
       State::Idle,
       {"transmit off"}},
      {State::Transmitting,
       "channel 2",
       [](auto& s) { return s.selectChannel(2); },
       Outcome::Refused,
       State::Transmitting,
       {}},
      {State::Transmitting,
       "signalling 2",
       [](auto& s) { return s.selectSignalling(2); },
       Outcome::Refused,
       State::Transmitting,
       {}},
      {State::Transmitting, "transmit limit", transmitLimit, Outcome::Done, State::Idle, {"transmit off"}},
      {State::Transmitting, "adjust 2", [](auto& s) { return s.openAdjustment(2); }, Outcome::Done,
       State::Adjusting, then({"transmit off"}, enter)},
      {State::Transmitting, "end", end, Outcome::Done, State::Closed, {"transmit off"}},
      {State::Adjusting,
       "value 200",
       [](auto& s) { return s.setValue(200); },
       Outcome::Done,
       State::Adjusting,
       {"value M 55"}},
      {State::Adjusting, "apply", [](auto& s) { return s.apply(); }, Outcome::Done, State::Adjusting, {}},
      {State::Adjusting,
       "transmit on",
       [](auto& s) { return s.setTransmitting(true); },
       Outcome::Refused,
       State::Adjusting,
       {}},
      {State::Adjusting,
       "channel 2",
       [](auto& s) { return s.selectChannel(2); },
       Outcome::Refused,
       State::Adjusting,
       {}},
      {State::Adjusting,
       "adjust 3",
       [](auto& s) { return s.openAdjustment(3); },
       Outcome::Refused,
       State::Adjusting,
       {}},
      {State::Adjusting, "leave", [](auto& s) { return s.leaveAdjustment(true); }, Outcome::Done, State::Idle,
       leave},
      {State::Adjusting,
       "leave without the radio",
       [](auto& s) { return s.leaveAdjustment(false); },
       Outcome::Failed,
       State::Idle,
       {},
       true},
      {State::Adjusting, "end", end, Outcome::Done, State::Closed, leave},
  };
  RadioImage memory = rowImage();
  memory[0x3F1] = 0x30;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(TestModeMachine::name(c.from)) + " / " + c.request);
    TestBench bench(memory);
    bench.started();
    if (c.from == State::Transmitting) {
      ASSERT_EQ(bench.session.setTransmitting(true), Outcome::Done);
    }
    if (c.from == State::Adjusting) {
      ASSERT_EQ(bench.session.openAdjustment(2), Outcome::Done);
    }
    ASSERT_EQ(bench.session.state(), c.from);
    const std::size_t before = bench.pair.radio.testEvents().size();
    EXPECT_EQ(c.act(bench.session), c.outcome);
    EXPECT_EQ(bench.session.state(), c.next);
    const auto events = bench.pair.radio.testEvents();
    EXPECT_EQ(std::vector<std::string>(events.begin() + static_cast<long>(before), events.end()), c.line);
    EXPECT_EQ(bench.pair.link.IsOpen(), c.next != State::Closed);
    EXPECT_EQ(bench.pair.radio.testState().transmitting, c.next == State::Transmitting);
    EXPECT_EQ(bench.pair.radio.testState().adjusting, c.next == State::Adjusting || c.radioStillAdjusting);
  }
}

using TestChannel = LinkTest;

TEST_F(TestChannel, TheSpinSkipsUnprogrammedFrequenciesAndWraps) {
  RadioImage memory = rowImage();
  copyTestFrequency(memory, 2, 16);
  for (int k = 1; k <= 15; ++k)
    if (k != 2 && k != 5) eraseTestFrequency(memory, k);
  TestBench bench(memory);
  EXPECT_EQ(bench.session.stepChannel(2, +1), 4);
  EXPECT_EQ(bench.session.stepChannel(16, +1), 1);
  EXPECT_EQ(bench.session.stepChannel(2, -1), 15);
  EXPECT_EQ(bench.session.stepChannel(40, +1), 1); // a typed number is clamped to 1..16 first
}

TEST_F(TestChannel, SignallingStepsWrapWithoutSkipping) {
  EXPECT_EQ(TestModeSession::stepSignalling(38, +1), 0);
  EXPECT_EQ(TestModeSession::stepSignalling(0, -1), 38);
  EXPECT_EQ(TestModeSession::stepSignalling(-4, +1), 1);
}

using Transmitter = LinkTest;

TEST_F(Transmitter, TheTransmitLimitUnkeysAKeyedTransmitter) {
  TestBench bench(rowImage());
  bench.started();
  const auto keyedAt = TestModeSession::Clock::now();
  ASSERT_EQ(bench.session.setTransmitting(true), Outcome::Done);
  const auto limit = TestModeSession::kTransmitLimit;
  EXPECT_GT(*bench.session.transmitTimeLeft(keyedAt), limit - std::chrono::seconds(5));
  EXPECT_FALSE(bench.session.enforceTransmitLimit(keyedAt + limit - std::chrono::seconds(5)));
  EXPECT_TRUE(bench.pair.radio.testState().transmitting);
  Outcome outcome = Outcome::Refused;
  EXPECT_TRUE(bench.session.enforceTransmitLimit(keyedAt + limit + std::chrono::seconds(5), &outcome));
  EXPECT_EQ(outcome, Outcome::Done);
  EXPECT_FALSE(bench.session.transmitting());
  EXPECT_FALSE(bench.pair.radio.testState().transmitting);
  EXPECT_FALSE(bench.session.transmitTimeLeft(keyedAt).has_value());
}

TEST_F(Transmitter, AFailedUnkeyIsOfferedAgainAndSentOnceMoreAtTheEnd) {
  TestBench bench(rowImage());
  bench.started();
  ASSERT_EQ(bench.session.setTransmitting(true), Outcome::Done);
  bench.pair.radio.injectTestFault({"K11", 0, 1, false});
  bench.pair.ui.answers = {MessageAnswer::Cancel};
  EXPECT_EQ(bench.session.setTransmitting(false), Outcome::Failed);
  EXPECT_EQ(bench.pair.ui.messageTexts(), std::vector<std::string>{idText(10026031)});
  EXPECT_TRUE(bench.pair.radio.testState().transmitting);
  bench.session.end();
  EXPECT_FALSE(bench.pair.radio.testState().transmitting);
}

TEST_F(Transmitter, RetryRepeatsAFailedCommand) {
  TestBench bench(rowImage());
  bench.started();
  bench.pair.radio.injectTestFault({"C", 0, 1, false});
  bench.pair.ui.answers = {MessageAnswer::Retry};
  EXPECT_EQ(bench.session.selectChannel(3), Outcome::Done);
  EXPECT_THAT(bench.eventsSinceStart(), ElementsAre("refused C", "channel 3"));
  bench.pair.radio.injectTestFault({"S", 0, 1, false});
  bench.pair.ui.answers = {MessageAnswer::Cancel};
  EXPECT_EQ(bench.session.selectSignalling(3), Outcome::Failed);
}

using Adjustment = LinkTest;

TEST_F(Adjustment, AnInvertedItemStoresAndSendsTheComplement) {
  RadioImage memory = rowImage();
  memory[0x3F1] = 0x30;
  TestBench bench(memory);
  bench.started();
  ASSERT_EQ(bench.session.openAdjustment(2), Outcome::Done);
  EXPECT_EQ(bench.session.currentValue(), 255 - 0x30);
  EXPECT_EQ(bench.session.setValue(200), Outcome::Done);
  EXPECT_EQ(bench.image[0x3F1], 55);
  EXPECT_EQ(bench.pair.radio.memory()[0x3F1], 55);
  EXPECT_EQ(bench.eventsSinceStart().back(), "value M 55");
}

TEST_F(Adjustment, LeavingWithoutApplyRestoresTheOpeningValue) {
  RadioImage memory = rowImage();
  memory[0x3F8] = 90;
  TestBench bench(memory);
  bench.started();
  ASSERT_EQ(bench.session.openAdjustment(6), Outcome::Done); // QT deviation (narrow): 'n' first
  ASSERT_EQ(bench.session.setValue(120), Outcome::Done);
  EXPECT_EQ(bench.pair.radio.memory()[0x3F8], 120);
  EXPECT_EQ(bench.pair.radio.memory()[0x3F4], memory[0x3F4]); // the wide item is untouched
  EXPECT_EQ(bench.session.leaveAdjustment(true), Outcome::Done);
  EXPECT_EQ(bench.image[0x3F8], 90);
  EXPECT_EQ(bench.pair.radio.memory()[0x3F8], 90);
  const auto events = bench.eventsSinceStart();
  EXPECT_THAT(std::vector<std::string>(events.end() - 6, events.end()),
              ElementsAre("value Q 90", "key 13 1", "key 17 1", "key 13 2", "key 17 2", "channel 1"));
}

TEST_F(Adjustment, AfterARefusedValueTheImageHoldsTheValueTheRadioTookLastAndNothingMoreIsSent) {
  TestBench bench(rowImage());
  bench.started();
  const int opening = bench.image[0x3F7];
  const int moved = (opening + 5) % 256;
  ASSERT_EQ(bench.session.openAdjustment(0), Outcome::Done);
  ASSERT_EQ(bench.session.setValue(moved), Outcome::Done); // taken, not applied
  bench.pair.radio.injectTestFault({"f", 0, 1, false});
  bench.pair.ui.answers = {MessageAnswer::Cancel};
  EXPECT_EQ(bench.session.setValue((opening + 9) % 256), Outcome::Failed);
  EXPECT_EQ(bench.session.currentValue(), moved);
  EXPECT_EQ(bench.image[0x3F7], moved);
  const auto sentBefore = bench.pair.radio.received().size();
  EXPECT_EQ(bench.session.leaveAdjustment(false), Outcome::Failed);
  EXPECT_EQ(bench.image[0x3F7], bench.pair.radio.memory()[0x3F7]);
  EXPECT_EQ(bench.image[0x3F7], moved);
  EXPECT_EQ(bench.pair.radio.received().size(), sentBefore);
  EXPECT_FALSE(bench.session.adjusting());
}

// Every exchange pumps window messages; a handler run by that pump must find the session busy,
// or it starts a second exchange inside the first.
TEST_F(Adjustment, TheSessionIsBusyWheneverItPumpsAndEveryRequestIsRefusedThen) {
  TestBench bench(rowImage());
  std::vector<std::string> reentered;
  bool checking = false;
  bench.pair.ui.onPump = [&] {
    if (!checking) return;
    if (!bench.session.busy()) reentered.push_back("idle while pumping");
    if (bench.session.setValue(3) != Outcome::Refused) reentered.push_back("setValue");
    if (bench.session.leaveAdjustment(true) != Outcome::Refused) reentered.push_back("leaveAdjustment");
    if (bench.session.setTransmitting(false) != Outcome::Refused) reentered.push_back("setTransmitting");
    if (bench.session.selectChannel(1) != Outcome::Refused) reentered.push_back("selectChannel");
  };
  bench.started();
  checking = true;
  ASSERT_EQ(bench.session.setTransmitting(true), Outcome::Done);
  ASSERT_EQ(bench.session.openAdjustment(1), Outcome::Done);
  ASSERT_EQ(bench.session.setValue(42), Outcome::Done);
  ASSERT_EQ(bench.session.leaveAdjustment(true), Outcome::Done);
  ASSERT_EQ(bench.session.selectSignalling(2), Outcome::Done);
  EXPECT_GE(bench.pair.ui.pumpCount, 9);
  EXPECT_THAT(reentered, IsEmpty());
  EXPECT_EQ(bench.pair.radio.testState().valuesOutsideAdjustment, 0);
  EXPECT_FALSE(bench.pair.radio.testState().adjusting);
}

// What the user asks while an exchange runs waits for it; of several values only the latest goes
// out, and what a closed window asked never runs.
TEST_F(Adjustment, RequestsMadeDuringAnExchangeRunAfterItWithOnlyTheLatestValue) {
  TestBench bench(rowImage());
  bench.started();
  ASSERT_EQ(bench.session.openAdjustment(1), Outcome::Done);
  const std::size_t before = bench.pair.radio.testEvents().size();
  const int dialog = 0;
  const int closedWindow = 0;
  bool asked = false;
  bool closedWindowRan = false;
  TestModeSession& session = bench.session;
  bench.pair.ui.onPump = [&] {
    if (asked) return;
    asked = true;
    for (int value = 10; value <= 14; ++value)
      session.whenIdle(
          &dialog, [&session, value] { session.setValue(value); }, RequestQueue::Merge::WithLast);
    session.whenIdle(&closedWindow, [&closedWindowRan] { closedWindowRan = true; });
    session.whenIdle(&dialog, [&session] { session.apply(); });
    session.forgetRequests(&closedWindow);
    EXPECT_EQ(session.appliedValue(), session.currentValue()) << "nothing ran inside the exchange";
  };
  ASSERT_EQ(session.setValue(5), Outcome::Done);
  const auto events = bench.pair.radio.testEvents();
  EXPECT_THAT(std::vector<std::string>(events.begin() + static_cast<long>(before), events.end()),
              ElementsAre("value P 5", "value P 14"));
  EXPECT_EQ(session.appliedValue(), 14);
  EXPECT_FALSE(closedWindowRan);
}

TEST_F(Adjustment, ARefusedOpeningLeavesNothingOpen) {
  TestBench bench(rowImage());
  bench.started();
  bench.pair.radio.injectTestFault({"K13", 0, 1, false});
  bench.pair.ui.answers = {MessageAnswer::Cancel};
  EXPECT_EQ(bench.session.openAdjustment(4), Outcome::Abandoned);
  EXPECT_FALSE(bench.session.adjusting());
  EXPECT_EQ(bench.session.selectChannel(2), Outcome::Done);
}

} // namespace
} // namespace vpr::test
