// The test mode's state table on its own: what it promises whatever the rows are edited to.
// What each row sends, seen on the line, is in TestModeSessionTest.

#include "link/TestModeMachine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vpr {
namespace {

using Machine = TestModeMachine;
using State = Machine::State;
using Request = Machine::Request;
using Exchange = Machine::Exchange;

constexpr State kStates[] = {State::Closed,    State::Starting, State::Idle,  State::Transmitting,
                             State::Adjusting, State::Leaving,  State::Ending};
constexpr Request kRequests[] = {Request::Begin,           Request::SelectChannel,  Request::SelectSignalling,
                                 Request::TransmitOn,      Request::TransmitOff,    Request::TransmitLimit,
                                 Request::OpenAdjustment,  Request::SetValue,       Request::Apply,
                                 Request::LeaveAdjustment, Request::DropAdjustment, Request::End};

std::string where(State state, Request request, bool keyed) {
  return std::string(Machine::name(state)) + " / " + std::string(Machine::name(request)) +
         (keyed ? " / may be keyed" : "");
}

bool sends(const Machine::Row& row, Exchange exchange) {
  return std::any_of(row.steps.begin(), row.steps.end(),
                     [exchange](const Machine::Step& step) { return step.exchange == exchange; });
}

// The states in which the radio can be keyed: a key command went out without an unkey since.
bool mayBeKeyedIn(State state, bool keyed) {
  return keyed || state == State::Transmitting;
}

TEST(TestModeTable, EveryWayOutLeavesTheRadioUnkeyedAndOutOfItsAdjustment) {
  for (State state : kStates)
    for (Request request : kRequests)
      for (bool keyed : {false, true}) {
        const Machine::Row* row = Machine::find(state, request, keyed);
        if (!row) continue;
        SCOPED_TRACE(where(state, request, keyed));
        // Ending and the transmit limit unkey a transmitter that may be keyed; ending leaves an
        // open adjustment first, and keeps going when a step fails.
        if (request == Request::End || request == Request::TransmitLimit) {
          EXPECT_EQ(sends(*row, Exchange::KeyOff), mayBeKeyedIn(state, keyed));
        }
        if (request == Request::End) {
          EXPECT_EQ(row->next, State::Closed);
          EXPECT_TRUE(row->goOn);
          EXPECT_EQ(sends(*row, Exchange::LeaveAdjustment), state == State::Adjusting);
        }
        // An adjustment never opens or takes values while the transmitter is keyed.
        if (sends(*row, Exchange::EnterAdjustment)) {
          const auto enter =
              std::find_if(row->steps.begin(), row->steps.end(), [](const Machine::Step& step) {
                return step.exchange == Exchange::EnterAdjustment;
              });
          EXPECT_EQ(sends(*row, Exchange::KeyOff), state == State::Transmitting);
          EXPECT_EQ(std::find_if(row->steps.begin(), enter,
                                 [](const Machine::Step& step) { return step.exchange == Exchange::KeyOn; }),
                    enter);
        }
        if (sends(*row, Exchange::SendValue)) {
          EXPECT_EQ(state, State::Adjusting);
        }
        if (sends(*row, Exchange::KeyOn)) {
          EXPECT_NE(row->next, State::Adjusting);
        }
        // A failed exchange never leaves an adjustment half open or claims a keyed transmitter
        // is off before its key command.
        for (const Machine::Step& step : row->steps) {
          if (step.exchange == Exchange::EnterAdjustment) {
            EXPECT_EQ(step.failed, State::Idle);
          }
          if (step.exchange == Exchange::KeyOn) {
            EXPECT_EQ(step.failed, State::Transmitting);
          }
        }
      }
}

TEST(TestModeTable, EachMomentHasAtMostOneRowAndBusyStatesTakeNoRequest) {
  for (State state : kStates)
    for (Request request : kRequests)
      for (bool keyed : {false, true}) {
        SCOPED_TRACE(where(state, request, keyed));
        const auto rows =
            std::count_if(Machine::table().begin(), Machine::table().end(), [&](const Machine::Row& row) {
              return row.from == state && row.request == request &&
                     (row.keyed == Machine::Keyed::Either || (row.keyed == Machine::Keyed::Yes) == keyed);
            });
        EXPECT_LE(rows, 1);
        const bool busyState = state == State::Starting || state == State::Leaving || state == State::Ending;
        if (busyState) {
          EXPECT_EQ(Machine::find(state, request, keyed), nullptr);
        }
        // Only the start sequence leaves Closed.
        if (state == State::Closed) {
          EXPECT_EQ(Machine::find(state, request, keyed) != nullptr, request == Request::Begin);
        }
      }
}

TEST(TestModeTable, ARefusedRequestSaysWhyInTheUsersTerms) {
  struct Case {
    State state;
    Request request;
    Machine::Refusal why;
  };
  const Case cases[] = {
      {State::Transmitting, Request::SelectChannel, Machine::Refusal::WhileTransmitting},
      {State::Transmitting, Request::SelectSignalling, Machine::Refusal::WhileTransmitting},
      {State::Adjusting, Request::TransmitOn, Machine::Refusal::WhileAdjusting},
      {State::Adjusting, Request::OpenAdjustment, Machine::Refusal::WhileAdjusting},
      {State::Adjusting, Request::SelectChannel, Machine::Refusal::WhileAdjusting},
      {State::Idle, Request::SetValue, Machine::Refusal::NoAdjustment},
      {State::Transmitting, Request::Apply, Machine::Refusal::NoAdjustment},
      {State::Idle, Request::LeaveAdjustment, Machine::Refusal::NoAdjustment},
      {State::Idle, Request::TransmitLimit, Machine::Refusal::NotTransmitting},
      {State::Leaving, Request::SetValue, Machine::Refusal::Busy},
      {State::Closed, Request::TransmitOff, Machine::Refusal::NotOpen},
      {State::Idle, Request::Begin, Machine::Refusal::AlreadyOpen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(where(c.state, c.request, false));
    EXPECT_EQ(Machine::find(c.state, c.request, false), nullptr);
    EXPECT_EQ(Machine::refusal(c.state, c.request), c.why);
  }
}

} // namespace
} // namespace vpr
