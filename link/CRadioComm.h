#pragma once
// The radio's serial programming protocol over CComPort: programming mode, identification,
// 8-byte block reads and writes, the checks that decide whether a connected radio may be read,
// written or tested, and the test-mode commands.
//
// The protocol is half-duplex command/response; the acknowledge byte is 0x06 and any other
// byte where an acknowledge is expected is a refusal. Operations return 0 for success unless
// stated otherwise. Operations that talk to the user take the UserInterface that shows their
// messages and pumps one pending window message between steps.

#include "link/CComPort.h"
#include "model/RadioImage.h"

#include <array>
#include <cstdint>
#include <string>

namespace vpr {

class UserInterface;

class CRadioComm : public CComPort {
public:
  static constexpr std::uint8_t ACK = 0x06;
  static constexpr std::uint8_t STX = 0x02;

  // Read time-outs of the protocol steps, in milliseconds.
  static constexpr int kProgramAnswerTimeoutMs = 3000;
  static constexpr int kProgramModeTimeoutMs = 550;
  static constexpr int kWriteAckTimeoutMs = 3000;
  static constexpr int kKCommandTimeoutMs = 800;
  static constexpr int kTransmitOnTimeoutMs = 800;
  static constexpr int kTransmitOffTimeoutMs = 2600;
  static constexpr int kAdjustAnswerTimeoutMs = 3000;
  static constexpr int kTestModeTimeoutMs = 1500;
  // Pause before every identification.
  static constexpr unsigned kIdentifyPauseMs = 50;
  // Before a block is tried again, the rest of the radio's previous answer is let through:
  // the line counts as quiet after this long without a byte, and the wait ends after the
  // limit even if the radio keeps talking.
  static constexpr int kQuietGapMs = 20;
  static constexpr int kQuietLimitMs = 250;

  using Identity = std::array<std::uint8_t, 8>;

  CRadioComm() = default;
  explicit CRadioComm(std::unique_ptr<SerialDevice> device) : CComPort(std::move(device)) {}
  ~CRadioComm() override;

  // Sends "PROGRAM" and waits up to 3000 ms for its ACK, skipping other bytes; on success the
  // read time-out becomes 550 ms, on failure the previous one is restored.
  int EnterProgramMode(UserInterface& ui);
  // As EnterProgramMode; a failure shows text 10026003, closes the port and returns 1.
  int EnterProgramModeOrReport(UserInterface& ui);
  // STX, 8 identity bytes, ACK, ACK back; 0 when the whole exchange succeeded.
  int Identify(Identity& identity);

  // 0 success; 1 no valid answer after 3 attempts; 2, 3, 4 sending the command, the address or
  // the length failed; 5 sending the closing ACK failed; 6 the radio's final byte was not ACK.
  int ReadBlock(std::uint8_t* destination, std::uint16_t address, std::uint8_t length);
  // 0 when the radio acknowledged the block; a refused block is sent at most three times in
  // all, and a missing answer fails at once.
  //
  // A block read or write is tried again only once the line has fallen quiet: at 9600 baud the
  // radio may still be sending the rest of a bad answer when it is noticed, and a command sent
  // into it would be answered out of step.
  int WriteBlock(const std::uint8_t* source, std::uint16_t address, std::uint8_t length);

  // 0 the radio may be used; 1 it did not answer and silent was set; 2 refused and reported,
  // the port closed. The write and test checks compare against the model code of the image
  // that is to be written or tested.
  int CheckRadioForRead(UserInterface& ui, Identity& identity, bool silent);
  int CheckRadioForWrite(UserInterface& ui, Identity& identity, bool silent, const ModelCode& imageModelCode);
  int CheckRadioForTest(UserInterface& ui, Identity& identity, bool silent, const ModelCode& imageModelCode);

  // Test-mode exchanges (0 when the radio acknowledged).
  int ReadTestFreqRecord(int index, std::uint8_t* record16);
  int ReadAdjustArea(std::uint8_t* area16);
  int SelectTestChannel(std::uint8_t channel);
  // Sends 'S' and the tone code of the tone-list entry (0 off, 1..38 the CTCSS tones).
  int SelectTestSignalling(int signallingIndex);
  // Sends the tone code high byte first (the reverse of the image's order).
  int SelectTestSignallingCode(ToneCode code);
  int SetTransmit(bool on);
  int SendKCommand(bool phaseOne);
  int SendIdentityText();
  int EnterAdjustMode(std::uint8_t functionCode, bool sendN, int repeatCount);
  int LeaveAdjustMode();
  int SetAdjustValue(char letter, std::uint8_t value, int answerLength);
  // Closes and reopens the port at "9600" plus the current tail of the mode string, with a
  // 1500 ms read time-out; 1 only when the reopen failed.
  int ReopenAt9600();

  int WriteBlockSize() const { return writeBlockSize; }
  void SetWriteBlockSize(int size) { writeBlockSize = size; }

private:
  // Sends one byte or bytes and reads a one-byte answer; true when it is ACK.
  bool ExchangeForAck(const std::uint8_t* command, std::size_t count);
  // K code phase with a one-byte ACK answer.
  bool KExchange(std::uint8_t code, std::uint8_t phase);
  int FailAndReport(UserInterface& ui, int text);
  // Lets whatever the radio is still sending arrive and discards it (see kQuietGapMs).
  void AwaitQuietLine();

  int writeBlockSize = 8;
};

// The model codes accepted for reading are the catalogue's identity codes; the last of them is
// shared by several models, which carry their real code in memory at 0x3D0.
// Reversed model codes a radio answering the shared code may carry at 0x3D0 (bytes 3..7).
inline constexpr std::array<const char*, 4> sharedCodeModels = {"0644P", "0544P", "0645P", "0545P"};
// The shared code in image order, for the write and test checks.
inline constexpr const char* kSharedCodeReversed = "0935P";

// The process-wide radio link.
extern CRadioComm g_radioComm;

} // namespace vpr
