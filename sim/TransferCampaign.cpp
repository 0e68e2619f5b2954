#include "sim/TransferCampaign.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "lang/UserInterface.h"
#include "link/RadioTransfer.h"
#include "model/ModelCatalogue.h"
#include "sim/VirtualRadio.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <sstream>

namespace vpr::sim {

namespace {

using Clock = std::chrono::steady_clock;

// Records what the user is shown and answers model questions as scripted.
class RecordingUi : public UserInterface {
public:
  MessageAnswer questionAnswer = MessageAnswer::Ok;
  std::vector<std::string> shown;

  MessageAnswer showMessage(const MessageRequest& request) override {
    shown.push_back(request.text);
    return request.buttons == MessageButtons::OkCancel ? questionAnswer : MessageAnswer::Ok;
  }
  std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
  void pumpOneMessage() override {}
  void reportProgress(int, int, const std::string&) override {}
};

enum class Fault {
  None,
  NoAnswer,
  Stray,
  WrongHeader,
  RefuseWrite,
  SilentAfter,
  HangUp,
  Noise,
  Flood,
  Truncate,
  WrongLength,
  NakFinal,
  OtherModel,
  Unprogrammed,
  SharedCode,
  Count
};

const char* faultName(Fault f) {
  static const char* names[] = {"none",          "no answer",        "stray bytes",  "wrong header",
                                "refused write", "silence",          "hang-up",      "noise",
                                "flood",         "truncated answer", "wrong length", "no final ACK",
                                "other model",   "unprogrammed",     "shared code"};
  return names[static_cast<int>(f)];
}

struct Case {
  bool write = false;
  Fault fault = Fault::None;
  std::vector<Fault> extras; // recoverable faults on other blocks, met in the same transfer
  VirtualRadioOptions radio;
  RadioImage memory{};
  RadioImage image{};
  MessageAnswer answer = MessageAnswer::Ok;
  // Expectations. A flood may end while the block is still being retried, so either outcome
  // is right for it: success, or the communication error.
  bool eitherOutcome = false;
  int result = 0;
  std::vector<int> texts;
  int boundMs = 0;
};

constexpr int kTextPartialWrite = 10065007;

RadioImage randomImage(std::mt19937& rng, const char* code, std::uint8_t band) {
  RadioImage image{};
  for (auto& b : image)
    b = static_cast<std::uint8_t>(rng());
  ModelCode modelCode = {0x00, 0x00, band, 0, 0, 0, 0, 0};
  for (std::size_t i = 0; i < 5; ++i)
    modelCode[3 + i] = static_cast<std::uint8_t>(code[4 - i]);
  writeModelCode(image, modelCode);
  return image;
}

// Time every transfer may take beyond its fault's specified waits (an unpaced transfer takes a
// fraction of it; the margin absorbs sanitizer builds and a busy machine).
constexpr int kBaseAllowanceMs = 2500;

Case makeCase(std::mt19937& rng, bool paced) {
  Case c;
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  c.write = pick(0, 1) == 1;
  c.fault = static_cast<Fault>(pick(0, static_cast<int>(Fault::Count) - 1));
  c.radio.programMode = pick(0, 1) == 1;
  c.radio.paced = paced;
  c.radio.seed = static_cast<std::uint32_t>(rng());
  const char* code = ModelCatalogue::identityCodes()[static_cast<std::size_t>(pick(0, 7))];
  const auto band = static_cast<std::uint8_t>(pick(0, 3));
  c.memory = randomImage(rng, code, band);
  c.image = randomImage(rng, code, band);
  const int blocks = c.write ? kWriteBlockCount : kReadBlockCount;
  const int block = pick(0, blocks - 1);
  // The read time-out in force when blocks move: 550 ms after "PROGRAM", else the opening 1000 ms.
  const int blockTimeout = c.radio.programMode ? 1000 : 550;
  const int identifyWait = c.radio.programMode ? 0 : 1000; // the silent identification's time-out
  // Paced, the bytes of a whole transfer take their line time (about 3.3 s for a read).
  const int lineTimeMs = paced ? (c.write ? 2300 : 3400) : 0;
  c.boundMs = kBaseAllowanceMs + identifyWait + lineTimeMs;
  auto& f = c.radio.faults;
  auto fails = [&](int text) {
    c.result = 1;
    c.texts = {text};
  };
  // A write that breaks off after the radio took blocks also says that it holds part of the data
  // (how many it took is known only afterwards: the blocks read before writing count as well).
  auto breaksOff = [&] {
    fails(10026003);
    if (c.write) c.texts.push_back(kTextPartialWrite);
  };

  switch (c.fault) {
  case Fault::None:
    break;
  case Fault::NoAnswer:
    f.noAnswer = true;
    fails(10026003);
    c.boundMs = kBaseAllowanceMs + 1000 + 3000 + lineTimeMs;
    break;
  case Fault::Stray:
    f.strayBeforeProgramAck = pick(1, 40);
    break;
  case Fault::WrongHeader:
    f.wrongHeaderBlock = block;
    f.wrongHeaderTimes = pick(1, 3);
    if (!c.write && f.wrongHeaderTimes >= 3) fails(10026003);
    break;
  case Fault::RefuseWrite:
    f.refuseWriteBlock = block;
    f.refuseWriteTimes = pick(1, 3);
    if (c.write && f.refuseWriteTimes >= 3) breaksOff();
    break;
  case Fault::SilentAfter:
    f.silentAfterBlocks = block;
    breaksOff();
    c.boundMs += c.write ? 3000 : 3 * blockTimeout;
    break;
  case Fault::HangUp:
    f.hangUpAfterBlocks = block;
    breaksOff();
    break;
  case Fault::Noise:
    f.noiseBeforeBlock = block;
    f.noiseBytes = pick(1, 64);
    break;
  case Fault::Flood:
    f.floodAtBlock = block;
    f.floodMs = pick(100, 1500);
    breaksOff();
    c.eitherOutcome = true;
    c.boundMs += f.floodMs; // the last attempt may wait for a byte while the flood dies down
    break;
  case Fault::Truncate:
    f.truncateBlock = block;
    c.boundMs += c.write ? 0 : blockTimeout;
    break;
  case Fault::WrongLength:
    f.wrongLengthBlock = block;
    break;
  case Fault::NakFinal:
    f.nakFinalAckBlock = block;
    if (!c.write) fails(10026003);
    break;
  case Fault::OtherModel: {
    // The radio is another model or band: refused for reading only if unlisted; a write asks.
    const char* other = ModelCatalogue::identityCodes()[static_cast<std::size_t>(pick(0, 7))];
    c.memory = randomImage(rng, other, static_cast<std::uint8_t>(band + 1));
    if (c.write) {
      c.answer = pick(0, 1) ? MessageAnswer::Ok : MessageAnswer::Cancel;
      c.texts = {10026007};
      c.result = c.answer == MessageAnswer::Ok ? 0 : 1;
    }
    break;
  }
  case Fault::Unprogrammed:
    c.memory.fill(0xFF);
    if (!c.write) fails(10026004);
    break;
  case Fault::SharedCode: {
    c.radio.sharedCode = true;
    const char* real = sharedCodeModels[static_cast<std::size_t>(pick(0, 3))];
    std::string forward(real);
    std::reverse(forward.begin(), forward.end());
    c.memory = randomImage(rng, forward.c_str(), band);
    c.image = randomImage(rng, forward.c_str(), band);
    break;
  }
  case Fault::Count:
    break;
  }
  // One transfer in three meets one or two recoverable faults besides, each on a block of its
  // own so that no block runs out of attempts; they change the time a transfer takes, not how
  // it ends.
  if (pick(0, 2) == 0) {
    std::vector<int> usedBlocks = {block};
    const auto freeBlock = [&] {
      int other = pick(0, blocks - 1);
      while (std::find(usedBlocks.begin(), usedBlocks.end(), other) != usedBlocks.end())
        other = (other + 1) % blocks;
      usedBlocks.push_back(other);
      return other;
    };
    for (int extra = pick(1, 2); extra > 0; --extra) {
      const auto kind =
          static_cast<Fault>(pick(static_cast<int>(Fault::Stray), static_cast<int>(Fault::NakFinal)));
      if (kind == Fault::Stray && f.strayBeforeProgramAck == 0) {
        f.strayBeforeProgramAck = pick(1, 40);
      } else if (kind == Fault::WrongHeader && f.wrongHeaderBlock < 0) {
        f.wrongHeaderBlock = freeBlock();
        f.wrongHeaderTimes = pick(1, 2);
      } else if (kind == Fault::RefuseWrite && f.refuseWriteBlock < 0) {
        f.refuseWriteBlock = freeBlock();
        f.refuseWriteTimes = pick(1, 2);
      } else if (kind == Fault::Noise && f.noiseBeforeBlock < 0) {
        f.noiseBeforeBlock = freeBlock();
        f.noiseBytes = pick(1, 64);
      } else if (kind == Fault::Truncate && f.truncateBlock < 0) {
        f.truncateBlock = freeBlock();
        c.boundMs += c.write ? 0 : blockTimeout;
      } else if (kind == Fault::WrongLength && f.wrongLengthBlock < 0) {
        f.wrongLengthBlock = freeBlock();
      } else {
        continue; // not recoverable, or its kind is taken already
      }
      c.extras.push_back(kind);
    }
  }
  return c;
}

std::string describe(const Case& c, int index) {
  std::ostringstream out;
  out << "transfer " << index << " (" << (c.write ? "write" : "read") << ", "
      << (c.radio.programMode ? "programming mode" : "normal mode") << ", " << faultName(c.fault);
  for (const Fault extra : c.extras)
    out << " + " << faultName(extra);
  out << ")";
  return out.str();
}

} // namespace

CampaignReport runTransferCampaign(const CampaignOptions& options) {
  CampaignReport report;
  std::mt19937 rng(options.seed);
  for (int i = 0; i < options.transfers; ++i) {
    Case c = makeCase(rng, options.paced);
    ++report.transfers;
    ++(c.write ? report.writes : report.reads);
    ++report.faultKinds[faultName(c.fault)];
    for (const Fault extra : c.extras)
      ++report.faultKinds[faultName(extra)];
    if (!c.extras.empty()) ++report.combined;

    VirtualRadio radio(c.memory, c.radio);
    if (!radio.start()) {
      report.problems.push_back(describe(c, i) + ": the virtual radio did not start: " + radio.error());
      continue;
    }
    CRadioComm link;
    link.SetPortPath(1, radio.devicePath());
    RecordingUi ui;
    ui.questionAnswer = c.answer;

    const RadioImage sentinel = clearedImage();
    RadioImage transfer = sentinel;
    const auto start = Clock::now();
    const int result = c.write ? runWriteTransfer(link, ui, c.image) : runReadTransfer(link, ui, transfer);
    const double elapsedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    radio.stop();

    const std::string what = describe(c, i);
    report.longestMs = std::max(report.longestMs, elapsedMs);
    report.worstBoundUse = std::max(report.worstBoundUse, elapsedMs / c.boundMs);
    if (elapsedMs > c.boundMs) {
      ++report.overTime;
      const VirtualRadioStats st = radio.stats();
      report.problems.push_back(
          what + ": took " + std::to_string(elapsedMs) + " ms, bound " + std::to_string(c.boundMs) +
          " ms; the radio received " + std::to_string(st.bytesReceived) + " bytes, sent " +
          std::to_string(st.bytesSent) + ", " + std::to_string(st.identifications) + " identifications, " +
          std::to_string(st.blocksRead) + " blocks read, " + std::to_string(st.blocksWritten) + " written");
    }
    const bool passedAnyway = c.eitherOutcome && result == 0 && ui.shown.empty();
    if (passedAnyway) c.texts.clear();
    if (result != c.result && !passedAnyway) {
      ++report.wrongResult;
      report.problems.push_back(what + ": result " + std::to_string(result) + ", expected " +
                                std::to_string(c.result));
    }
    // The partial-write message counts the blocks whose acknowledgement arrived: the blocks the
    // radio stored (written in order, so up to its highest), or one fewer when the line went dead
    // right after the radio acknowledged its last block.
    const int stored = radio.stats().highestBlockWritten + 1;
    const auto expectedWith = [&c](int acknowledged) {
      std::vector<std::string> texts;
      for (int id : c.texts) {
        if (id != kTextPartialWrite)
          texts.push_back(textOf(id));
        else if (acknowledged > 0)
          texts.push_back(formatText(textOf(id), {acknowledged, kWriteBlockCount}));
      }
      return texts;
    };
    const std::vector<std::string> expectedTexts = expectedWith(stored);
    if (ui.shown != expectedTexts && ui.shown != expectedWith(stored - 1)) {
      ++report.wrongMessages;
      const auto listed = [](const std::vector<std::string>& texts) {
        std::string list;
        for (const auto& text : texts)
          list += "[" + text + "]";
        return list;
      };
      report.problems.push_back(what + ": messages " + listed(ui.shown) + ", expected " +
                                listed(expectedTexts));
    }
    if (link.IsOpen()) {
      ++report.portLeftOpen;
      report.problems.push_back(what + ": the port was left open");
    }
    const Memory after = radio.memory();
    if (!c.write) {
      const bool taken = transfer != sentinel;
      if (result == 0 && transfer != c.memory) {
        ++report.partialReadTaken;
        report.problems.push_back(what + ": the image read differs from the radio's memory");
      } else if (result != 0 && taken) {
        ++report.partialReadTaken;
        report.problems.push_back(what + ": a failed read changed the image");
      }
    } else {
      const auto split = static_cast<long>(layout::kWriteRegionEnd);
      const bool tailKept = std::equal(after.begin() + split, after.end(), c.memory.begin() + split);
      const bool bodyWritten = std::equal(after.begin(), after.begin() + split, c.image.begin());
      if (!tailKept || (result == 0 && !bodyWritten)) {
        ++report.radioMemoryWrong;
        report.problems.push_back(what + (tailKept ? ": the radio does not hold the image after success"
                                                   : ": the write touched 0x3D8..0x3FF"));
      }
    }
    if (result == 0)
      ++report.succeeded;
    else if (result == c.result)
      ++report.failedAsExpected;
    if (passedAnyway) ++report.survivedFloods;
  }
  return report;
}

} // namespace vpr::sim
