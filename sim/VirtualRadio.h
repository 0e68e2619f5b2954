#pragma once
// The virtual radio: the radio's side of the serial programming protocol, served on a
// pseudo-terminal by a thread of its own. It holds a 1024-byte memory, starts in normal or
// programming mode, answers identification, block reads and writes and the test-mode
// commands, can pace every byte at the line rate of a real cable, and can misbehave in the
// ways a real radio or cable does (see VirtualRadioFaults).

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vpr::sim {

using Memory = std::array<std::uint8_t, 1024>;

// Misbehaviour to inject. Block numbers count 8-byte blocks by address (block k = 8k..8k+7).
struct VirtualRadioFaults {
  bool noAnswer = false;         // answers nothing at all (radio off, cable loose)
  int strayBeforeProgramAck = 0; // bytes (never ACK) sent ahead of the ACK to "PROGRAM"
  int wrongHeaderBlock = -1;     // a read of this block is answered with a wrong header...
  int wrongHeaderTimes = 1;      // ...this many times
  int refuseWriteBlock = -1;     // a write of this block is refused (NAK)...
  int refuseWriteTimes = 1;      // ...this many times
  int silentAfterBlocks = -1;    // after this many block transfers, answers nothing more
  int noiseBeforeBlock = -1;     // noise bytes (never ACK) ahead of this block's answer...
  int noiseBytes = 0;            // ...this many
  int floodAtBlock = -1;         // instead of answering this block, floods the line...
  int floodMs = 0;               // ...for this long, ignoring commands meanwhile
  int truncateBlock = -1;        // the answer to this block stops after the header and 3 bytes
  int wrongLengthBlock = -1;     // this block's read answer claims and carries 16 bytes
  int hangUpAfterBlocks = -1;    // after this many block transfers the line is cut
  int nakFinalAckBlock = -1;     // the final byte of this block's read answer is not ACK
  int corruptWriteBlock = -1;    // a write of this block is acknowledged but stored inverted
  // Test-mode commands: after this many, answers nothing more (a radio that stops mid-session).
  int silentAfterTestCommands = -1;
};

// A test-mode command refused on purpose. Commands are named as in the event log's keys: a
// letter ('C', 'S', 'n', 'V' for the identity text, or an adjustment letter), or "K" followed by
// the function code in two hexadecimal digits ("K11"); "K" alone stands for every K command.
struct TestCommandFault {
  std::string command; // empty: none
  int skip = 0;        // the first `skip` matching commands are answered normally...
  int times = 1;       // ...then this many are refused
  bool silent = false; // refused by answering nothing instead of NAK
};

// What the radio's test mode is doing now.
// The adjustment mode: the key sequence K 13 1, K 17 1, K 13 2, K 17 2 leaves an open
// adjustment, and otherwise selects one, which a following item key (K xx 2) opens. While one is
// being selected, K 0x11 is the key of an item, not the transmitter's.
struct TestModeState {
  int channel = 0;           // last 'C' byte (0 before any)
  int signalling = 0xFFFF;   // last 'S' code
  bool transmitting = false; // K 0x11 0x01 seen and no K 0x11 0x02 since
  int lastAdjustOffset = -1; // memory byte the last adjustment value went to
  bool selectingAdjustment = false;
  bool adjusting = false;
  int valuesOutsideAdjustment = 0; // adjustment values taken while no adjustment was open
};

struct VirtualRadioOptions {
  bool programMode = false; // already in programming mode (no "PROGRAM" needed)
  // Answers the identification with the shared code "P5390" (keeping its real code in memory).
  bool sharedCode = false;
  bool paced = false; // every byte takes its line time at baud rate, 11 bits
  unsigned baud = 9600;
  std::chrono::microseconds turnaround{2000}; // from the end of a command to the answer (paced)
  VirtualRadioFaults faults;
  std::uint32_t seed = 1; // for noise bytes
};

struct VirtualRadioStats {
  std::size_t bytesReceived = 0;
  std::size_t bytesSent = 0;
  std::size_t answers = 0; // replies sent, each after one turnaround
  int programRequests = 0; // "PROGRAM" received
  int identifications = 0;
  int blocksRead = 0;           // block reads answered
  int blocksWritten = 0;        // block writes stored
  int highestBlockWritten = -1; // the highest block number stored (a retried block counts once here)
  int testCommands = 0;         // test-mode commands received (answered or not)
};

class VirtualRadio {
public:
  explicit VirtualRadio(const Memory& memory, VirtualRadioOptions options = {});
  ~VirtualRadio();
  VirtualRadio(const VirtualRadio&) = delete;
  VirtualRadio& operator=(const VirtualRadio&) = delete;

  // Opens the pseudo-terminal and starts serving it; false (with error()) when that failed.
  bool start();
  void stop();
  const std::string& error() const { return error_; }

  // The device path a program opens to talk to this radio.
  const std::string& devicePath() const { return path_; }

  Memory memory() const;
  bool inProgramMode() const;
  VirtualRadioStats stats() const;
  // Every byte received so far, in order.
  std::vector<std::uint8_t> received() const;
  // One byte's time on the line (11 bits at the baud rate).
  std::chrono::nanoseconds byteTime() const;

  // The test-mode events in order: "identity", "channel N", "signalling XXXX" (hex code),
  // "transmit on", "transmit off", "key CC P" (other K commands: hex code, phase), "n",
  // "value L V" (adjustment letter, value byte as received), and "refused X" for a command
  // refused on purpose.
  std::vector<std::string> testEvents() const;
  TestModeState testState() const;
  // Refuses test-mode commands from now on as the fault says (replacing an earlier one).
  void injectTestFault(TestCommandFault fault);

private:
  using Clock = std::chrono::steady_clock;
  class Stopped {};

  void run();
  void serve();
  // Next byte from the line; waits at most `wait` (nullopt: no limit). Throws Stopped.
  std::optional<std::uint8_t> readByte(std::optional<std::chrono::milliseconds> wait);
  bool readBytes(std::uint8_t* out, std::size_t count);
  void send(const std::vector<std::uint8_t>& bytes);
  void writeRaw(const std::uint8_t* data, std::size_t count);
  void dispatch(std::uint8_t command);
  void handleIdentify();
  void handleRead();
  void handleWrite();
  void handleAdjust(std::uint8_t letter);
  // A test-mode command has arrived (its key as in the event log): false when it is to go
  // unanswered; refused is set when it is to be answered with NAK.
  bool admitTestCommand(const std::string& key, bool& refused);
  // Answers a test-mode command with ACK (or NAK when refused on purpose); an admitted command
  // changes the state through apply and is logged as event.
  void handleTestCommand(const std::string& key, const std::string& event,
                         const std::function<void()>& apply);
  void handleKey(std::uint8_t code, std::uint8_t phase);
  // Follows the adjustment mode through a K command taken (see TestModeState).
  void trackAdjustmentMode(std::uint8_t code, std::uint8_t phase);
  void finishBlock();
  bool silentNow() const;
  std::uint8_t noiseByte();
  void flood(std::chrono::milliseconds duration);
  // The one-shot faults of a block: a flood instead of its answer (true when it happened), and
  // noise bytes ahead of its answer.
  bool floodsInsteadOf(int block);
  std::vector<std::uint8_t> noiseAhead(int block);

  Memory memory_;
  VirtualRadioOptions options_;
  VirtualRadioStats stats_;
  std::vector<std::uint8_t> received_;
  bool programMode_ = false;
  int blocksDone_ = 0;
  int wrongHeadersLeft_ = 0;
  int refusalsLeft_ = 0;
  std::uint32_t rng_;
  int testCommands_ = 0;
  bool nSeen_ = false;        // 'n' since the last adjustment-mode entry began (the narrow items)
  std::vector<int> lastKeys_; // the last K commands taken, as code << 8 | phase
  TestCommandFault testFault_;
  int testFaultSeen_ = 0;
  std::vector<std::string> testEvents_;
  TestModeState testState_;
  // Pending input byte that ended a wait for ACK and must be handled as a command.
  std::optional<std::uint8_t> pending_;

  // Line timing (paced mode): when the last received byte finished arriving, and when the
  // line towards the program is free again.
  Clock::time_point rxLineFree_{};
  Clock::time_point txLineFree_{};
  Clock::time_point lastReceive_{};
  std::vector<std::uint8_t> inBuffer_;
  std::size_t inPos_ = 0;

  mutable std::mutex mutex_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  int master_ = -1;
  int slave_ = -1;
  int wakePipe_[2] = {-1, -1};
  std::string path_;
  std::string error_;
};

} // namespace vpr::sim
