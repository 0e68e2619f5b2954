#include "link/CRadioComm.h"

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "model/ModelCatalogue.h"
#include "model/ValueCodec.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vpr {

CRadioComm g_radioComm;

namespace {

constexpr std::uint8_t kReadCommand = 'R';
constexpr std::uint8_t kWriteCommand = 'W';
constexpr std::uint8_t kChannelCommand = 'C';
constexpr std::uint8_t kSignallingCommand = 'S';
constexpr std::uint8_t kKCommand = 'K';
constexpr std::uint8_t kNCommand = 'n';
constexpr int kAttempts = 3;

constexpr int kTextCommError = 10026003;
constexpr int kTextModelNotReadable = 10026004;
constexpr int kTextNotExactModel = 10026006;
constexpr int kTextModelDiffers = 10026007;
constexpr int kCaptionConfirmation = 10025002;

bool equalsText(const std::uint8_t* bytes, const char* text) {
  return std::memcmp(bytes, text, std::strlen(text)) == 0;
}

bool allFF(const CRadioComm::Identity& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0xFF; });
}

// Restores the read time-out a step changed, whatever way the step ends.
class TimeoutGuard {
public:
  TimeoutGuard(CComPort& port, int timeout) : port_(port), saved_(port.ReadTimeout()) {
    port_.SetReadTimeout(timeout);
  }
  ~TimeoutGuard() {
    if (restore_) port_.SetReadTimeout(saved_);
  }
  // Leaves the step's time-out in force.
  void keep() { restore_ = false; }
  TimeoutGuard(const TimeoutGuard&) = delete;
  TimeoutGuard& operator=(const TimeoutGuard&) = delete;

private:
  CComPort& port_;
  int saved_;
  bool restore_ = true;
};

} // namespace

CRadioComm::~CRadioComm() = default;

int CRadioComm::EnterProgramMode(UserInterface& ui) {
  const int saved = ReadTimeout();
  ui.pumpOneMessage();
  auto fail = [&] {
    ui.pumpOneMessage();
    SetReadTimeout(saved);
    return 1;
  };
  if (!CheckLineErrors()) return fail();
  if (!WriteString("PROGRAM")) return fail();
  SetReadTimeout(kProgramAnswerTimeoutMs);
  ui.pumpOneMessage();
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    std::uint8_t byte = 0;
    if (!ReadBytes(&byte, 1)) return fail();
    if (byte == ACK) {
      SetReadTimeout(kProgramModeTimeoutMs);
      return 0;
    }
    // Stray bytes before the ACK are skipped, within the same overall window.
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kProgramAnswerTimeoutMs))
      return fail();
  }
}

int CRadioComm::FailAndReport(UserInterface& ui, int text) {
  ui.error(textOf(text));
  SetOpen(false);
  return 2;
}

int CRadioComm::EnterProgramModeOrReport(UserInterface& ui) {
  if (EnterProgramMode(ui) == 0) return 0;
  FailAndReport(ui, kTextCommError);
  return 1;
}

int CRadioComm::Identify(Identity& identity) {
  BusyWait(kIdentifyPauseMs);
  if (!WriteByte(STX)) return 1;
  if (!ReadBytes(identity.data(), identity.size())) return 1;
  if (!WriteByte(ACK)) return 1;
  std::uint8_t answer = 0;
  if (!ReadBytes(&answer, 1)) return 1;
  return answer == ACK ? 0 : 1;
}

int CRadioComm::ReadBlock(std::uint8_t* destination, std::uint16_t address, std::uint8_t length) {
  const std::uint8_t addressBytes[2] = {static_cast<std::uint8_t>(address >> 8),
                                        static_cast<std::uint8_t>(address & 0xFF)};
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) AwaitQuietLine();
    if (!WriteByte(kReadCommand)) return 2;
    if (!WriteBuffer(addressBytes, 2)) return 3;
    if (!WriteByte(length)) return 4;
    std::uint8_t header[4] = {};
    if (!ReadBytes(header, 4)) continue;
    if (header[0] != kWriteCommand || header[1] != addressBytes[0] || header[2] != addressBytes[1] ||
        header[3] != length)
      continue;
    if (!ReadBytes(destination, length)) continue;
    if (!WriteByte(ACK)) return 5;
    std::uint8_t answer = 0;
    if (!ReadBytes(&answer, 1)) continue;
    return answer == ACK ? 0 : 6;
  }
  return 1;
}

void CRadioComm::AwaitQuietLine() {
  TimeoutGuard guard(*this, kQuietGapMs);
  const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kQuietLimitMs);
  std::uint8_t byte = 0;
  while (ReadBytes(&byte, 1) && std::chrono::steady_clock::now() < limit) {
  }
}

int CRadioComm::WriteBlock(const std::uint8_t* source, std::uint16_t address, std::uint8_t length) {
  const std::uint8_t addressBytes[2] = {static_cast<std::uint8_t>(address >> 8),
                                        static_cast<std::uint8_t>(address & 0xFF)};
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) AwaitQuietLine();
    if (!WriteByte(kWriteCommand) || !WriteBuffer(addressBytes, 2) || !WriteByte(length) ||
        !WriteBuffer(source, length))
      return 1;
    std::uint8_t answer = 0;
    bool answered = false;
    {
      TimeoutGuard guard(*this, kWriteAckTimeoutMs);
      answered = ReadBytes(&answer, 1);
    }
    if (!answered) return 1;
    if (answer == ACK) return 0;
  }
  return 1;
}

int CRadioComm::CheckRadioForRead(UserInterface& ui, Identity& identity, bool silent) {
  ui.pumpOneMessage();
  if (Identify(identity) != 0) return silent ? 1 : FailAndReport(ui, kTextCommError);
  const auto codes = ModelCatalogue::identityCodes();
  std::size_t index = codes.size();
  for (std::size_t i = 0; i < codes.size(); ++i)
    if (equalsText(identity.data(), codes[i])) {
      index = i;
      break;
    }
  if (index + 1 < codes.size()) return 0;
  if (index == codes.size()) return FailAndReport(ui, kTextModelNotReadable);

  // The shared code: the real model code is in the radio's memory at 0x3D0.
  if (ReadBlock(identity.data(), layout::kModelCode, 8) != 0)
    return silent ? 1 : FailAndReport(ui, kTextCommError);
  for (const char* code : sharedCodeModels)
    if (equalsText(identity.data() + 3, code)) return 0;
  return FailAndReport(ui, kTextModelNotReadable);
}

int CRadioComm::CheckRadioForWrite(UserInterface& ui, Identity& identity, bool silent,
                                   const ModelCode& imageModelCode) {
  ui.pumpOneMessage();
  if (Identify(identity) != 0) return silent ? 1 : FailAndReport(ui, kTextCommError);
  if (allFF(identity)) return 0; // an unprogrammed radio takes any image
  std::reverse(identity.begin(), identity.end());
  if (std::equal(identity.begin() + 2, identity.end(), imageModelCode.begin() + 2)) return 0;
  if (equalsText(identity.data() + 3, kSharedCodeReversed)) {
    if (ReadBlock(identity.data(), layout::kModelCode, 8) != 0)
      return silent ? 1 : FailAndReport(ui, kTextCommError);
    if (allFF(identity)) return 0;
    if (std::equal(identity.begin() + 2, identity.end(), imageModelCode.begin() + 2)) return 0;
  }
  MessageRequest question;
  question.kind = MessageKind::Confirmation;
  question.text = textOf(kTextModelDiffers);
  question.caption = textOf(kCaptionConfirmation);
  question.buttons = MessageButtons::OkCancel;
  question.icon = MessageIcon::Exclamation;
  question.defaultAnswer = MessageAnswer::Cancel;
  if (ui.showMessage(question) == MessageAnswer::Ok) return 0;
  SetOpen(false);
  return 2;
}

int CRadioComm::CheckRadioForTest(UserInterface& ui, Identity& identity, bool silent,
                                  const ModelCode& imageModelCode) {
  ui.pumpOneMessage();
  if (Identify(identity) != 0) return silent ? 1 : FailAndReport(ui, kTextCommError);
  std::reverse(identity.begin(), identity.end());
  if (std::equal(identity.begin(), identity.end(), imageModelCode.begin())) return 0;
  if (equalsText(identity.data() + 3, kSharedCodeReversed)) {
    if (ReadBlock(identity.data(), layout::kModelCode, 8) != 0)
      return silent ? 1 : FailAndReport(ui, kTextCommError);
    if (std::equal(identity.begin(), identity.end(), imageModelCode.begin())) return 0;
  }
  return FailAndReport(ui, kTextNotExactModel);
}

int CRadioComm::ReadTestFreqRecord(int index, std::uint8_t* record16) {
  if (index < 0 || index >= layout::kTestFreqCount) return 1;
  const auto address =
      static_cast<std::uint16_t>(layout::kTestFreqTable + 16 * static_cast<std::size_t>(index));
  if (ReadBlock(record16, address, 8) != 0) return 1;
  return ReadBlock(record16 + 8, static_cast<std::uint16_t>(address + 8), 8) != 0 ? 1 : 0;
}

int CRadioComm::ReadAdjustArea(std::uint8_t* area16) {
  if (ReadBlock(area16, 0x3F0, 8) != 0) return 1;
  return ReadBlock(area16 + 8, 0x3F8, 8) != 0 ? 1 : 0;
}

bool CRadioComm::ExchangeForAck(const std::uint8_t* command, std::size_t count) {
  if (!WriteBuffer(command, count)) return false;
  std::uint8_t answer = 0;
  return ReadBytes(&answer, 1) && answer == ACK;
}

int CRadioComm::SelectTestChannel(std::uint8_t channel) {
  if (!WriteByte(kChannelCommand) || !WriteByte(channel)) return 1;
  std::uint8_t answer = 0;
  return ReadBytes(&answer, 1) && answer == ACK ? 0 : 1;
}

int CRadioComm::SelectTestSignalling(int signallingIndex) {
  return SelectTestSignallingCode(toneListCode(signallingIndex));
}

int CRadioComm::SelectTestSignallingCode(ToneCode code) {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(code >> 8),
                                 static_cast<std::uint8_t>(code & 0xFF)};
  if (!WriteByte(kSignallingCommand) || !WriteBuffer(bytes, 2)) return 1;
  std::uint8_t answer = 0;
  return ReadBytes(&answer, 1) && answer == ACK ? 0 : 1;
}

int CRadioComm::SetTransmit(bool on) {
  const int saved = ReadTimeout();
  SetReadTimeout(on ? kTransmitOnTimeoutMs : kTransmitOffTimeoutMs);
  const std::uint8_t command[3] = {kKCommand, 0x11, static_cast<std::uint8_t>(on ? 0x01 : 0x02)};
  if (!WriteBuffer(command, 3)) return 1;
  std::uint8_t answer = 0;
  bool answered = ReadBytes(&answer, 1);
  SetReadTimeout(saved);
  return answered && answer == ACK ? 0 : 1;
}

bool CRadioComm::KExchange(std::uint8_t code, std::uint8_t phase) {
  const std::uint8_t command[3] = {kKCommand, code, phase};
  return ExchangeForAck(command, 3);
}

int CRadioComm::SendKCommand(bool phaseOne) {
  return KExchange(0x16, phaseOne ? 0x01 : 0x02) ? 0 : 1;
}

int CRadioComm::SendIdentityText() {
  if (!WriteString("VESKARO")) return 1;
  std::uint8_t answer = 0;
  return ReadBytes(&answer, 1) && answer == ACK ? 0 : 1;
}

int CRadioComm::EnterAdjustMode(std::uint8_t functionCode, bool sendN, int repeatCount) {
  const int saved = ReadTimeout();
  SetReadTimeout(kKCommandTimeoutMs);
  // A failed write leaves the 800 ms time-out in force; a missing or wrong answer restores it.
  auto step = [&](const std::uint8_t* command, std::size_t count) -> int {
    if (!WriteBuffer(command, count)) return 1;
    std::uint8_t answer = 0;
    if (!ReadBytes(&answer, 1) || answer != ACK) {
      SetReadTimeout(saved);
      return 1;
    }
    return 0;
  };
  static constexpr std::uint8_t sequence[4][3] = {
      {'K', 0x13, 0x01}, {'K', 0x17, 0x01}, {'K', 0x13, 0x02}, {'K', 0x17, 0x02}};
  for (const auto& command : sequence)
    if (step(command, 3) != 0) return 1;
  if (sendN && step(&kNCommand, 1) != 0) return 1;
  for (int i = 0; i < repeatCount; ++i) {
    const std::uint8_t first[3] = {kKCommand, functionCode, 0x01};
    const std::uint8_t second[3] = {kKCommand, functionCode, 0x02};
    if (step(first, 3) != 0 || step(second, 3) != 0) return 1;
  }
  SetReadTimeout(saved);
  return 0;
}

int CRadioComm::LeaveAdjustMode() {
  const int saved = ReadTimeout();
  SetReadTimeout(kKCommandTimeoutMs);
  static constexpr std::uint8_t sequence[4][3] = {
      {'K', 0x13, 0x01}, {'K', 0x17, 0x01}, {'K', 0x13, 0x02}, {'K', 0x17, 0x02}};
  for (const auto& command : sequence) {
    if (!WriteBuffer(command, 3)) return 1;
    std::uint8_t answer = 0;
    if (!ReadBytes(&answer, 1) || answer != ACK) {
      SetReadTimeout(saved);
      return 1;
    }
    BusyWait(20);
  }
  SetReadTimeout(saved);
  return 0;
}

int CRadioComm::SetAdjustValue(char letter, std::uint8_t value, int answerLength) {
  if (answerLength < 1 || answerLength > 3) return 1;
  if (!WriteByte(static_cast<std::uint8_t>(letter)) || !WriteByte(value)) return 1;
  std::uint8_t answer[3] = {};
  bool answered = false;
  {
    TimeoutGuard guard(*this, kAdjustAnswerTimeoutMs);
    answered = ReadBytes(answer, static_cast<std::size_t>(answerLength));
  }
  return answered && answer[answerLength - 1] == ACK ? 0 : 1;
}

int CRadioComm::ReopenAt9600() {
  SetOpen(false);
  if (!SetOpen(true)) return 1;
  SetLineSettings("9600" + GetLineSettingsTail());
  SetReadTimeout(kTestModeTimeoutMs);
  return 0;
}

} // namespace vpr
