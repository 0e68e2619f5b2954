#include "link/RadioTransfer.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "lang/UserInterface.h"
#include "model/ModelCatalogue.h"
#include "model/RadioBackups.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace vpr {

namespace {

constexpr int kTextCommError = 10026003;
constexpr int kTextBlock = 10014004;
constexpr unsigned kSettlePauseMs = 50;
constexpr int kTextWritten = 10017003;
constexpr int kTextPhaseBackup = 10065001;
constexpr int kTextPhaseWrite = 10065002;
constexpr int kTextPhaseVerify = 10065003;
constexpr int kTextWrittenAndVerified = 10065004;
constexpr int kTextNoBackupNeeded = 10065005;
constexpr int kTextBackupStored = 10065006;
constexpr int kTextPartialWrite = 10065007;
constexpr int kTextBackupFailed = 10065009;
constexpr int kTextVerifyFailed = 10065010;
constexpr int kTextRestoreHint = 10065011;
constexpr int kTextDifferingBlock = 10065012;
constexpr int kTextMoreBlocks = 10065013;
constexpr int kTextNotVerified = 10065014;
constexpr int kTextReadBackupFailed = 10065015;
// Differing blocks named one by one in the verification message; the rest are counted.
constexpr std::size_t kListedBlocks = 8;

void showProgress(UserInterface& ui, int done, int total) {
  ui.reportProgress(done, total, transferProgressLabel(done, total));
}

// Shows progress of one phase of a write; phase 0 keeps the plain block label.
using ProgressShower = std::function<void(int done, int total)>;

ProgressShower phaseProgress(UserInterface& ui, int phase) {
  if (phase == 0) return [&ui](int done, int total) { showProgress(ui, done, total); };
  return [&ui, phase](int done, int total) {
    ui.reportProgress(done, total, textOf(phase) + ": " + transferProgressLabel(done, total));
  };
}

// Closes and reopens the port so that each transfer starts on a fresh device.
bool reopen(CRadioComm& radio, UserInterface& ui) {
  radio.SetOpen(false);
  if (radio.SetOpen(true)) return true;
  // A device that opened but refused its settings is released again.
  const std::string failure = radio.OpenFailureText();
  radio.SetOpen(false);
  ui.error(failure);
  return false;
}

int blockFailed(CRadioComm& radio, UserInterface& ui) {
  ui.error(textOf(kTextCommError));
  radio.SetOpen(false);
  return 1;
}

// Reads blocks 0..count-1 of the radio's memory into target (8 bytes each), showing progress;
// false as soon as a block fails.
bool readBlocks(CRadioComm& radio, UserInterface& ui, std::uint8_t* target, int count,
                const ProgressShower& show) {
  show(0, count);
  for (int k = 0; k < count; ++k) {
    show(k, count);
    const auto offset = static_cast<std::size_t>(k) * layout::kBlockSize;
    if (radio.ReadBlock(target + offset, static_cast<std::uint16_t>(offset),
                        static_cast<std::uint8_t>(layout::kBlockSize)) != 0)
      return false;
    ui.pumpOneMessage();
  }
  show(count, count);
  return true;
}

// Opens the port and makes sure the radio may be written, putting it into programming mode when
// needed; 0 when it may, 1 when the failure was reported. identity receives the radio's
// identity or, for the shared code, its model code in memory (eight 0xFF bytes: unprogrammed).
int openForWrite(CRadioComm& radio, UserInterface& ui, const RadioImage& image,
                 CRadioComm::Identity& identity) {
  if (!reopen(radio, ui)) return 1;
  CComPort::BusyWait(kSettlePauseMs);
  const ModelCode imageCode = modelCodeOf(image);
  const int check = radio.CheckRadioForWrite(ui, identity, true, imageCode);
  if (check == 0) return 0;
  radio.CheckLineErrors();
  if (check == 2) return 1;
  if (radio.EnterProgramModeOrReport(ui) != 0) return 1;
  return radio.CheckRadioForWrite(ui, identity, false, imageCode) != 0 ? 1 : 0;
}

bool isUnprogrammed(const CRadioComm::Identity& identity) {
  return std::all_of(identity.begin(), identity.end(), [](std::uint8_t b) { return b == 0xFF; });
}

// "Or restore ... <file>" after a message about a radio left in doubt; nothing without a backup.
std::string restoreHint(const WriteReport& report) {
  if (report.backup != WriteReport::Backup::Stored) return {};
  return "\n\n" + formatText(textOf(kTextRestoreHint), {report.backupPath});
}

std::string hexAddress(std::size_t address) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%03zX", address);
  return text;
}

std::string blockList(const std::vector<int>& blocks) {
  std::string text;
  for (std::size_t i = 0; i < blocks.size() && i < kListedBlocks; ++i) {
    const auto first = static_cast<std::size_t>(blocks[i]) * layout::kBlockSize;
    if (i > 0) text += ", ";
    text += formatText(textOf(kTextDifferingBlock),
                       {blocks[i], hexAddress(first), hexAddress(first + layout::kBlockSize - 1)});
  }
  if (blocks.size() > kListedBlocks) {
    text += ' ';
    text += formatText(textOf(kTextMoreBlocks), {static_cast<int>(blocks.size() - kListedBlocks)});
  }
  return text;
}

// Reads the written range back and compares it with what was sent; 0 when it matches.
int verifyWrite(CRadioComm& radio, UserInterface& ui, const RadioImage& image, int blockCount,
                WriteReport& report) {
  RadioImage readBack = clearedImage();
  if (!readBlocks(radio, ui, readBack.data(), blockCount, phaseProgress(ui, kTextPhaseVerify))) {
    ui.error(textOf(kTextCommError));
    ui.warning(textOf(kTextNotVerified) + restoreHint(report));
    radio.SetOpen(false);
    return 1;
  }
  for (int k = 0; k < blockCount; ++k) {
    const auto from = static_cast<long>(static_cast<std::size_t>(k) * layout::kBlockSize);
    const auto to = from + static_cast<long>(layout::kBlockSize);
    if (!std::equal(image.begin() + from, image.begin() + to, readBack.begin() + from))
      report.differingBlocks.push_back(k);
  }
  if (!report.differingBlocks.empty()) {
    ui.error(formatText(textOf(kTextVerifyFailed), {blockList(report.differingBlocks)}) +
             restoreHint(report));
    radio.SetOpen(false);
    return 1;
  }
  report.verified = true;
  return 0;
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
  if (!readBlocks(radio, ui, received.data(), kReadBlockCount, phaseProgress(ui, 0)))
    return blockFailed(radio, ui);
  transferImage = received;
  return radio.SetOpen(false) ? 0 : 2;
}

int runSafeWrite(CRadioComm& radio, UserInterface& ui, const RadioImage& editImage, const WriteSafety& safety,
                 WriteReport& report) {
  report = WriteReport{};
  radio.SetWriteBlockSize(static_cast<int>(layout::kBlockSize));
  const int blockSize = radio.WriteBlockSize();
  const int blockCount = static_cast<int>(layout::kWriteRegionSize) / blockSize;
  const ProgressShower showWrite = phaseProgress(ui, safety.backup || safety.verify ? kTextPhaseWrite : 0);

  // The first phase shows from the start.
  if (safety.backup)
    phaseProgress(ui, kTextPhaseBackup)(0, kReadBlockCount);
  else
    showWrite(0, blockCount);
  ui.pumpOneMessage();
  CRadioComm::Identity identity{};
  if (openForWrite(radio, ui, editImage, identity) != 0) return 1;
  std::copy(identity.begin(), identity.end(), report.radioCode.emplace().begin());

  if (safety.backup && isUnprogrammed(identity)) {
    report.backup = WriteReport::Backup::NotNeeded;
  } else if (safety.backup) {
    RadioImage before = clearedImage();
    if (!readBlocks(radio, ui, before.data(), kReadBlockCount, phaseProgress(ui, kTextPhaseBackup)))
      return blockFailed(radio, ui);
    std::error_code error;
    report.backupPath = RadioBackups::store(safety.backupFolder, before, std::time(nullptr),
                                            BackupReason::BeforeWrite, error);
    if (report.backupPath.empty()) {
      ui.error(formatText(textOf(kTextBackupFailed), {safety.backupFolder, error.message()}));
      radio.SetOpen(false);
      return 1;
    }
    report.backup = WriteReport::Backup::Stored;
  }

  for (int k = 0; k < blockCount; ++k) {
    showWrite(k, blockCount);
    const auto offset = static_cast<std::size_t>(k) * static_cast<std::size_t>(blockSize);
    if (radio.WriteBlock(editImage.data() + offset, static_cast<std::uint16_t>(offset),
                         static_cast<std::uint8_t>(blockSize)) != 0) {
      blockFailed(radio, ui);
      // The radio holds part of the new data: say so, and how to put it right.
      if (report.blocksAcknowledged > 0)
        ui.warning(formatText(textOf(kTextPartialWrite), {report.blocksAcknowledged, blockCount}) +
                   restoreHint(report));
      return 1;
    }
    ++report.blocksAcknowledged;
    ui.pumpOneMessage();
  }
  showWrite(blockCount, blockCount);
  if (safety.verify && verifyWrite(radio, ui, editImage, blockCount, report) != 0) return 1;
  return radio.SetOpen(false) ? 0 : 2;
}

int runWriteTransfer(CRadioComm& radio, UserInterface& ui, const RadioImage& editImage) {
  WriteReport report;
  return runSafeWrite(radio, ui, editImage, WriteSafety{}, report);
}

std::string writeSuccessText(const WriteReport& report) {
  std::string text = textOf(report.verified ? kTextWrittenAndVerified : kTextWritten);
  if (report.backup == WriteReport::Backup::Stored)
    text += "\n\n" + formatText(textOf(kTextBackupStored), {report.backupPath});
  else if (report.backup == WriteReport::Backup::NotNeeded)
    text += "\n\n" + textOf(kTextNoBackupNeeded);
  return text;
}

std::string backUpReadImage(UserInterface& ui, const RadioImage& image, const std::string& backupFolder) {
  std::error_code error;
  const std::string path =
      RadioBackups::store(backupFolder, image, std::time(nullptr), BackupReason::AfterRead, error);
  if (path.empty()) ui.warning(formatText(textOf(kTextReadBackupFailed), {backupFolder, error.message()}));
  return path;
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
