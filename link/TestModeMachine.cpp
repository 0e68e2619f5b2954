#include "link/TestModeMachine.h"

#include <algorithm>

namespace vpr {

namespace {

using State = TestModeMachine::State;
using Request = TestModeMachine::Request;
using Exchange = TestModeMachine::Exchange;
using Keyed = TestModeMachine::Keyed;
using Row = TestModeMachine::Row;

// The channel and signalling go out again before keying and before an adjustment, so that the
// radio transmits or aligns on what the test dialog shows.
std::vector<Row> makeTable() {
  using enum TestModeMachine::State;
  using enum TestModeMachine::Exchange;
  const auto openingAdjustment = [](std::vector<TestModeMachine::Step> first) {
    for (Exchange exchange : {SendChannel, SendSignalling, SendChannel, EnterAdjustment})
      first.push_back({exchange, Idle});
    return first;
  };
  return {
      {Closed,
       Request::Begin,
       Keyed::Either,
       Starting,
       Idle,
       {{OpenPort, Closed},
        {CheckRadio, Closed},
        {CompareTestFrequencies, Closed},
        {LoadAdjustArea, Closed},
        {IdentityText, Closed},
        {StartKeys, Closed},
        {SendChannel, Closed},
        {SendSignalling, Closed}}},

      {Idle, Request::SelectChannel, Keyed::Either, Idle, Idle, {{SendChannel, Idle}}},
      {Idle, Request::SelectSignalling, Keyed::Either, Idle, Idle, {{SendSignalling, Idle}}},

      // Keying: nothing is keyed until the key command goes out.
      {Idle,
       Request::TransmitOn,
       Keyed::Either,
       Idle,
       Transmitting,
       {{SendChannel, Idle}, {SendSignalling, Idle}, {KeyOn, Transmitting}}},
      {Transmitting, Request::TransmitOn, Keyed::Either, Transmitting, Transmitting, {}},
      // Unkeying: the transmitter counts as off whatever the radio answers; an unkey that was
      // not acknowledged goes out again on the next unkey and at the end.
      {Transmitting, Request::TransmitOff, Keyed::Either, Transmitting, Idle, {{KeyOff, Idle}}},
      {Idle, Request::TransmitOff, Keyed::Yes, Idle, Idle, {{KeyOff, Idle}}},
      {Idle, Request::TransmitOff, Keyed::No, Idle, Idle, {}},
      {Transmitting, Request::TransmitLimit, Keyed::Either, Transmitting, Idle, {{KeyOff, Idle}}},

      // An adjustment opens unkeyed; a failure on the way leaves nothing open.
      {Idle, Request::OpenAdjustment, Keyed::Either, Idle, Adjusting, openingAdjustment({})},
      {Transmitting, Request::OpenAdjustment, Keyed::Either, Transmitting, Adjusting,
       openingAdjustment({{KeyOff, Idle}})},
      {Adjusting, Request::SetValue, Keyed::Either, Adjusting, Adjusting, {{SendValue, Adjusting}}},
      {Adjusting, Request::Apply, Keyed::Either, Adjusting, Adjusting, {}},
      {Adjusting, Request::LeaveAdjustment, Keyed::Either, Leaving, Idle, {{LeaveAdjustment, Idle}}},
      {Adjusting, Request::DropAdjustment, Keyed::Either, Leaving, Idle, {}},

      // Ending: the adjustment is left and the transmitter unkeyed, whatever fails.
      {Idle, Request::End, Keyed::No, Ending, Closed, {}, true},
      {Idle, Request::End, Keyed::Yes, Ending, Closed, {{KeyOff, Closed}}, true},
      {Transmitting, Request::End, Keyed::Either, Ending, Closed, {{KeyOff, Closed}}, true},
      {Adjusting, Request::End, Keyed::No, Ending, Closed, {{LeaveAdjustment, Closed}}, true},
      {Adjusting,
       Request::End,
       Keyed::Yes,
       Ending,
       Closed,
       {{LeaveAdjustment, Closed}, {KeyOff, Closed}},
       true},
  };
}

bool keyedMatches(Keyed keyed, bool mayBeKeyed) {
  return keyed == Keyed::Either || (keyed == Keyed::Yes) == mayBeKeyed;
}

bool aboutTheAdjustment(Request request) {
  return request == Request::SetValue || request == Request::Apply || request == Request::LeaveAdjustment ||
         request == Request::DropAdjustment;
}

} // namespace

const std::vector<Row>& TestModeMachine::table() {
  static const std::vector<Row> rows = makeTable();
  return rows;
}

const Row* TestModeMachine::find(State state, Request request, bool mayBeKeyed) {
  const std::vector<Row>& rows = table();
  const auto row = std::find_if(rows.begin(), rows.end(), [&](const Row& candidate) {
    return candidate.from == state && candidate.request == request &&
           keyedMatches(candidate.keyed, mayBeKeyed);
  });
  return row == rows.end() ? nullptr : &*row;
}

TestModeMachine::Refusal TestModeMachine::refusal(State state, Request request) {
  switch (state) {
  case State::Closed:
    return Refusal::NotOpen;
  case State::Starting:
  case State::Leaving:
  case State::Ending:
    return Refusal::Busy;
  default:
    break;
  }
  if (request == Request::Begin) return Refusal::AlreadyOpen;
  if (aboutTheAdjustment(request) && state != State::Adjusting) return Refusal::NoAdjustment;
  if (state == State::Adjusting) return Refusal::WhileAdjusting;
  if (state == State::Transmitting) return Refusal::WhileTransmitting;
  return Refusal::NotTransmitting;
}

std::string_view TestModeMachine::name(State state) {
  static constexpr std::string_view names[] = {"closed",    "starting", "idle",  "transmitting",
                                               "adjusting", "leaving",  "ending"};
  return names[static_cast<int>(state)];
}

std::string_view TestModeMachine::name(Request request) {
  static constexpr std::string_view names[] = {
      "begin",        "select channel",   "select signalling", "transmit on",
      "transmit off", "transmit limit",   "open adjustment",   "set value",
      "apply",        "leave adjustment", "drop adjustment",   "end"};
  return names[static_cast<int>(request)];
}

} // namespace vpr
