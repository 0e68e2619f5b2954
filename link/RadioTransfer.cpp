#include "link/RadioTransfer.h"

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "model/ModelCatalogue.h"

#include <algorithm>
#include <cstdio>

namespace vpr {

namespace {

constexpr int kTextOpenFailed = 10026002;
constexpr int kTextCommError = 10026003;
constexpr int kTextBlock = 10014004;
constexpr unsigned kSettlePauseMs = 50;

void showProgress(UserInterface& ui, int done, int total) {
  ui.reportProgress(done, total, transferProgressLabel(done, total));
}

// Closes and reopens the port so that each transfer starts on a fresh device.
bool reopen(CRadioComm& radio, UserInterface& ui) {
  radio.SetOpen(false);
  if (radio.SetOpen(true)) return true;
  // A device that opened but refused its settings is released again.
  radio.SetOpen(false);
  ui.error(textOf(kTextOpenFailed));
  return false;
}

int blockFailed(CRadioComm& radio, UserInterface& ui) {
  ui.error(textOf(kTextCommError));
  radio.SetOpen(false);
  return 1;
}

} // namespace

std::string transferProgressLabel(int done, int total) {
  char numbers[32];
  std::snprintf(numbers, sizeof numbers, " %d / %d", done, total);
  return textOf(kTextBlock) + numbers;
}

int runReadTransfer(CRadioComm& radio, UserInterface& ui, RadioImage& transferImage) {
  ui.pumpOneMessage();
  if (!reopen(radio, ui)) return 1;
  CComPort::BusyWait(kSettlePauseMs);

  CRadioComm::Identity identity{};
  int check = radio.CheckRadioForRead(ui, identity, true);
  if (check != 0) {
    radio.CheckLineErrors();
    if (check == 2) return 1;
    if (radio.EnterProgramModeOrReport(ui) != 0) return 1;
    if (radio.CheckRadioForRead(ui, identity, false) != 0) return 1;
  }

  // Blocks land in a scratch image; the caller's image changes only after a complete read.
  RadioImage received = clearedImage();
  showProgress(ui, 0, kReadBlockCount);
  for (int k = 0; k < kReadBlockCount; ++k) {
    showProgress(ui, k, kReadBlockCount);
    const auto offset = static_cast<std::size_t>(k) * layout::kBlockSize;
    if (radio.ReadBlock(received.data() + offset, static_cast<std::uint16_t>(offset),
                        static_cast<std::uint8_t>(layout::kBlockSize)) != 0)
      return blockFailed(radio, ui);
    ui.pumpOneMessage();
  }
  showProgress(ui, kReadBlockCount, kReadBlockCount);
  transferImage = received;
  return radio.SetOpen(false) ? 0 : 2;
}

int runWriteTransfer(CRadioComm& radio, UserInterface& ui, const RadioImage& editImage) {
  radio.SetWriteBlockSize(static_cast<int>(layout::kBlockSize));
  const int blockSize = radio.WriteBlockSize();
  const int blockCount = static_cast<int>(layout::kWriteRegionSize) / blockSize;

  showProgress(ui, 0, blockCount);
  ui.pumpOneMessage();
  if (!reopen(radio, ui)) return 1;
  CComPort::BusyWait(kSettlePauseMs);

  const ModelCode imageCode = modelCodeOf(editImage);
  CRadioComm::Identity identity{};
  int check = radio.CheckRadioForWrite(ui, identity, true, imageCode);
  if (check != 0) {
    radio.CheckLineErrors();
    if (check == 2) return 1;
    if (radio.EnterProgramModeOrReport(ui) != 0) return 1;
    if (radio.CheckRadioForWrite(ui, identity, false, imageCode) != 0) return 1;
  }

  for (int k = 0; k < blockCount; ++k) {
    showProgress(ui, k, blockCount);
    const auto offset = static_cast<std::size_t>(k) * static_cast<std::size_t>(blockSize);
    if (radio.WriteBlock(editImage.data() + offset, static_cast<std::uint16_t>(offset),
                         static_cast<std::uint8_t>(blockSize)) != 0)
      return blockFailed(radio, ui);
    ui.pumpOneMessage();
  }
  showProgress(ui, blockCount, blockCount);
  return radio.SetOpen(false) ? 0 : 2;
}

int runIdentifyRadio(CRadioComm& radio, UserInterface& ui, ModelCode& code) {
  ui.pumpOneMessage();
  if (!reopen(radio, ui)) return 1;
  CComPort::BusyWait(kSettlePauseMs);

  CRadioComm::Identity identity{};
  ui.pumpOneMessage();
  if (radio.Identify(identity) != 0) {
    radio.CheckLineErrors();
    if (radio.EnterProgramModeOrReport(ui) != 0) return 1;
    ui.pumpOneMessage();
    if (radio.Identify(identity) != 0) return blockFailed(radio, ui);
  }
  const auto codes = ModelCatalogue::identityCodes();
  const char* shared = codes[codes.size() - 1];
  if (std::equal(shared, shared + 5, identity.begin())) {
    // The shared code: the radio's own code is in its memory.
    if (radio.ReadBlock(code.data(), static_cast<std::uint16_t>(layout::kModelCode),
                        static_cast<std::uint8_t>(kModelCodeSize)) != 0)
      return blockFailed(radio, ui);
  } else {
    std::reverse_copy(identity.begin(), identity.end(), code.begin());
  }
  return radio.SetOpen(false) ? 0 : 2;
}

} // namespace vpr
