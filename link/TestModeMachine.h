#pragma once
// The test mode's states and the requests that move it between them, as one table. Each row
// names a state, a request and, where it matters, whether the radio may still be keyed; the
// state the session is in while the row's exchanges run; the state it reaches when they all
// succeed; and the exchanges that go out on the line, in order, each with the state a failure
// of that exchange leaves the session in. A request without a row is refused: nothing is sent
// and nothing changes.
//
// The table decides only what a request does to the state and the line. Whether its argument
// fits (a programmed test frequency, a value 0..255) and how each exchange talks to the radio
// are the session's (TestModeSession), which runs every request through this table.

#include <string_view>
#include <vector>

namespace vpr {

class TestModeMachine {
public:
  enum class State {
    Closed,       // not running; reaching it closes the port
    Starting,     // the start sequence runs
    Idle,         // open, receiving
    Transmitting, // the transmitter keyed
    Adjusting,    // an alignment value is open
    Leaving,      // the open alignment value is being left
    Ending,       // the test mode ends: adjustment left, transmitter unkeyed
  };

  enum class Request {
    Begin,
    SelectChannel,
    SelectSignalling,
    TransmitOn,
    TransmitOff,
    TransmitLimit, // the transmit limit has passed without a command
    OpenAdjustment,
    SetValue,
    Apply,
    LeaveAdjustment, // the applied value goes back to the radio, which leaves the adjustment
    DropAdjustment,  // the adjustment ends without a word to the radio (after a value failed)
    End,
  };

  // One exchange with the radio, retried as a whole on Retry.
  enum class Exchange {
    OpenPort, // reopened at 9600 baud
    CheckRadio,
    CompareTestFrequencies,
    LoadAdjustArea,
    IdentityText,
    StartKeys,
    SendChannel,
    SendSignalling,
    KeyOn,
    KeyOff,
    EnterAdjustment, // the item's key sequence, then its value from the image
    SendValue,
    LeaveAdjustment, // the applied value, the key sequence that leaves, then the test channel
  };

  // Whether a row applies only while the radio may be keyed (a key command went out and no
  // unkey was acknowledged since), only while it is not, or either way.
  enum class Keyed { Either, Yes, No };

  struct Step {
    Exchange exchange;
    State failed; // the state after the user gave this exchange up
  };

  struct Row {
    State from;
    Request request;
    Keyed keyed;
    State during;
    State next;
    std::vector<Step> steps;
    // A failed exchange ends the request in its step's state; with goOn the remaining
    // exchanges are still tried (ending: every safety step is worth trying) and the request
    // reaches next.
    bool goOn = false;
  };

  // Why a request has no row in the state the session is in.
  enum class Refusal {
    NotOpen,
    AlreadyOpen,
    Busy, // an exchange runs (Starting, Leaving, Ending)
    WhileTransmitting,
    WhileAdjusting,
    NoAdjustment,    // a request about the open adjustment, and none is open
    NotTransmitting, // the transmit limit, with nothing keyed
  };

  // The row for the request in this state, or nothing (the request is refused).
  static const Row* find(State state, Request request, bool mayBeKeyed);
  static Refusal refusal(State state, Request request);
  static const std::vector<Row>& table();

  static std::string_view name(State state);
  static std::string_view name(Request request);
};

} // namespace vpr
