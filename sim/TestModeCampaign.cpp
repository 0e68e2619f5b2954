#include "sim/TestModeCampaign.h"

#include "lang/UserInterface.h"
#include "link/TestModeSession.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"

#include <algorithm>
#include <random>
#include <sstream>

namespace vpr::sim {

namespace {

using Outcome = TestModeSession::Outcome;

enum class Fault { None, Refused, Unanswered, RadioStops, HangUp, Count };

const char* faultName(Fault fault) {
  static const char* names[] = {"none", "refused command", "unanswered command", "radio stops answering",
                                "line hangs up"};
  return names[static_cast<int>(fault)];
}

// The commands a refusal can hit, named as in the radio's event log.
const char* const kRefusable[] = {"C", "S", "K11", "K13", "K17", "K12", "K", "n",
                                  "f", "P", "M",   "m",   "Q",   "D",   "B"};

// The person at the screen: answers Retry or Cancel at random, and acts from inside every
// pumped message now and then, as a held key or an impatient click does.
class CampaignUi : public UserInterface {
public:
  CampaignUi(std::mt19937& rng, TestModeCampaignReport& report) : rng_(rng), report_(report) {}

  TestModeSession* session = nullptr;
  VirtualRadio* radio = nullptr;
  int hangUpAtPump = -1;
  bool hungUp = false;
  std::vector<std::string> taken; // requests a busy session accepted

  MessageAnswer showMessage(const MessageRequest& request) override {
    if (request.buttons != MessageButtons::RetryCancel) return MessageAnswer::Ok;
    return chance(55) ? MessageAnswer::Retry : MessageAnswer::Cancel;
  }
  std::optional<std::string> chooseFileToOpen(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const FileRequest&) override { return std::nullopt; }
  void reportProgress(int, int, const std::string&) override {}

  void pumpOneMessage() override {
    if (++pumps_ == hangUpAtPump && radio) {
      radio->stop();
      hungUp = true;
    }
    if (!session || !chance(40)) return;
    ++report_.reentries;
    // Every request a handler could make; a busy session takes none of them.
    const auto now = TestModeSession::Clock::now() + std::chrono::hours(1);
    switch (pick(8)) {
    case 0:
      refused("setValue", session->setValue(pick(256)));
      break;
    case 1:
      refused("leaveAdjustment", session->leaveAdjustment(chance(50)));
      break;
    case 2:
      refused("setTransmitting", session->setTransmitting(chance(50)));
      break;
    case 3:
      refused("selectChannel", session->selectChannel(1 + pick(16)));
      break;
    case 4:
      refused("selectSignalling", session->selectSignalling(pick(39)));
      break;
    case 5:
      refused("openAdjustment", session->openAdjustment(pick(9)));
      break;
    case 6:
      refused("apply", session->apply());
      break;
    default:
      if (session->enforceTransmitLimit(now)) taken.push_back("enforceTransmitLimit");
      break;
    }
  }

private:
  bool chance(int percent) { return pick(100) < percent; }
  int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng_); }
  void refused(const char* request, Outcome outcome) {
    if (outcome != Outcome::Refused) taken.push_back(request);
  }

  std::mt19937& rng_;
  TestModeCampaignReport& report_;
  int pumps_ = 0;
};

struct Session {
  Fault fault = Fault::None;
  TestCommandFault commandFault;
  RadioImage memory{};
  VirtualRadioOptions options;
  int hangUpAtPump = -1;
  int actions = 0;
  std::uint32_t seed = 0;
};

Session makeSession(std::mt19937& rng, bool paced) {
  auto pick = [&rng](int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng); };
  Session s;
  s.seed = static_cast<std::uint32_t>(rng());
  const int rows = static_cast<int>(ModelCatalogue::rows().size());
  s.memory = RadioData::defaultImage(ModelCatalogue::modelCodeForRow(pick(rows)));
  for (std::size_t offset : layout::kAdjustItemOffsets)
    s.memory[offset] = static_cast<std::uint8_t>(pick(256));
  s.options.programMode = pick(4) != 0;
  s.options.paced = paced;
  s.actions = 1 + pick(30);
  const int roll = pick(100);
  // Faults that cost time-outs (an unanswered command, a radio that stops answering) are rarer.
  s.fault = roll < 40   ? Fault::None
            : roll < 75 ? Fault::Refused
            : roll < 85 ? Fault::Unanswered
            : roll < 90 ? Fault::RadioStops
                        : Fault::HangUp;
  switch (s.fault) {
  case Fault::Refused:
  case Fault::Unanswered:
    s.commandFault.command = kRefusable[pick(static_cast<int>(std::size(kRefusable)))];
    s.commandFault.skip = pick(12);
    s.commandFault.times = 1 + pick(s.fault == Fault::Refused ? 4 : 2);
    s.commandFault.silent = s.fault == Fault::Unanswered;
    break;
  case Fault::RadioStops:
    s.options.faults.silentAfterTestCommands = 6 + pick(60);
    break;
  case Fault::HangUp:
    s.hangUpAtPump = 4 + pick(60);
    break;
  default:
    break;
  }
  return s;
}

std::string describe(const Session& s, int index) {
  std::ostringstream out;
  out << "session " << index << " (" << faultName(s.fault);
  if (!s.commandFault.command.empty())
    out << " " << s.commandFault.command << " after " << s.commandFault.skip << " x" << s.commandFault.times;
  if (s.options.faults.silentAfterTestCommands >= 0)
    out << " after " << s.options.faults.silentAfterTestCommands;
  if (s.hangUpAtPump >= 0) out << " at pump " << s.hangUpAtPump;
  out << ", " << s.actions << " actions, seed " << s.seed << ")";
  return out.str();
}

// Whether a refusal was logged after the event last matching one of `after`.
bool refusedSince(const std::vector<std::string>& events, std::initializer_list<const char*> after) {
  for (auto it = events.rbegin(); it != events.rend(); ++it) {
    if (it->rfind("refused", 0) == 0) return true;
    for (const char* prefix : after)
      if (it->rfind(prefix, 0) == 0) return false;
  }
  return false;
}

// The user's side of one session: requests in a random order, as the dialogs make them. A
// request that failed for good ends the test mode, as it ends the dialogs.
void play(TestModeSession& session, RadioImage& image, const Session& s, std::mt19937& rng,
          TestModeCampaignReport& report, std::vector<std::string>& problems) {
  auto pick = [&rng](int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng); };
  for (int step = 0; step < s.actions; ++step) {
    ++report.actions;
    Outcome outcome = Outcome::Done;
    if (session.adjusting()) {
      const int index = session.adjustItemIndex();
      const std::size_t offset = TestModeSession::item(index).imageOffset;
      const int roll = pick(10);
      if (roll < 6) {
        // A burst of slider values, as a held key or a drag makes them.
        const int burst = 1 + pick(6);
        int value = session.currentValue();
        for (int i = 0; i < burst && outcome != Outcome::Failed; ++i) {
          value = std::clamp(value + pick(21) - 10, 0, 255);
          outcome = session.setValue(value);
          if (outcome == Outcome::Done) ++report.valuesSent;
        }
      } else if (roll < 8) {
        outcome = session.apply();
      } else {
        const int applied = session.appliedValue();
        outcome = session.leaveAdjustment(true);
        const int stored = TestModeSession::item(index).inverted ? 255 - image[offset] : image[offset];
        if (outcome == Outcome::Done && stored != applied) {
          ++report.notRestored;
          problems.push_back("left item " + std::to_string(index) + " holding " + std::to_string(stored) +
                             ", applied " + std::to_string(applied));
        }
      }
      if (outcome == Outcome::Failed) {
        if (session.adjusting()) session.leaveAdjustment(false);
        break;
      }
      continue;
    }
    switch (pick(6)) {
    case 0:
      outcome = session.selectChannel(pick(18));
      break;
    case 1:
      outcome = session.selectSignalling(pick(41) - 1);
      break;
    case 2:
      outcome = session.toggleTransmit();
      if (session.transmitting()) ++report.keyed;
      break;
    case 3:
      if (session.openAdjustment(pick(10)) == Outcome::Done) ++report.adjustments;
      break;
    case 4: {
      Outcome limit = Outcome::Done;
      if (session.enforceTransmitLimit(TestModeSession::Clock::now() + std::chrono::minutes(pick(2) * 6),
                                       &limit))
        outcome = limit;
      break;
    }
    default:
      step = s.actions; // quits here
      break;
    }
    if (outcome == Outcome::Failed) break;
  }
}

} // namespace

TestModeCampaignReport runTestModeCampaign(const TestModeCampaignOptions& options) {
  TestModeCampaignReport report;
  std::mt19937 rng(options.seed);
  for (int i = 0; i < options.sessions; ++i) {
    const Session s = makeSession(rng, options.paced);
    std::mt19937 sessionRng(s.seed);
    ++report.sessions;
    ++report.faultKinds[faultName(s.fault)];
    VirtualRadio radio(s.memory, s.options);
    if (!radio.start()) {
      report.problems.push_back(describe(s, i) + ": the virtual radio did not start: " + radio.error());
      continue;
    }
    radio.injectTestFault(s.commandFault);
    CRadioComm link;
    link.SetPortPath(1, radio.devicePath());
    link.SetPortNumber(1);
    CampaignUi ui(sessionRng, report);
    ui.radio = &radio;
    ui.hangUpAtPump = s.hangUpAtPump;
    RadioImage image = s.memory;
    std::vector<std::string> problems;
    bool started = false;
    {
      TestModeSession session(link, ui, image, false);
      started = session.begin() == 0;
      if (started) {
        ++report.started;
        ui.session = &session;
        play(session, image, s, sessionRng, report, problems);
        ui.session = nullptr;
        session.end();
        if (session.adjusting() || session.transmitting())
          problems.push_back("the session still adjusting or transmitting after it ended");
      }
    }
    const std::vector<std::string> events = radio.testEvents();
    const TestModeState state = radio.testState();
    const Memory memory = radio.memory();
    const int commands = radio.stats().testCommands;
    radio.stop();

    const int silentAfter = s.options.faults.silentAfterTestCommands;
    const bool unreachable = ui.hungUp || (silentAfter >= 0 && commands > silentAfter);
    if (unreachable) ++report.unreachableAtEnd;
    for (const std::string& request : ui.taken) {
      ++report.reentriesTaken;
      problems.push_back("a busy session took " + request + " from inside its pump");
    }
    if (state.valuesOutsideAdjustment > 0) {
      ++report.valuesOutsideAdjustment;
      problems.push_back(std::to_string(state.valuesOutsideAdjustment) +
                         " values arrived outside an adjustment");
    }
    if (state.transmitting && !unreachable && !refusedSince(events, {"transmit on"})) {
      ++report.leftKeyed;
      problems.push_back("the radio was left keyed");
    }
    if (state.adjusting && !unreachable && !refusedSince(events, {"value", "key"})) {
      ++report.leftAdjusting;
      problems.push_back("the radio was left in an adjustment");
    }
    if (started) {
      for (int index = 0; index < layout::kAdjustItemCount; ++index) {
        const std::size_t offset = TestModeSession::item(index).imageOffset;
        if (image[offset] != memory[offset]) {
          ++report.imageDiffers;
          problems.push_back("item " + std::to_string(index) + ": the image holds " +
                             std::to_string(image[offset]) + ", the radio " + std::to_string(memory[offset]));
        }
      }
    }
    for (const std::string& problem : problems) {
      std::string log;
      for (const std::string& event : events)
        log += "[" + event + "]";
      report.problems.push_back(describe(s, i) + ": " + problem + "; radio log " + log);
    }
  }
  return report;
}

} // namespace vpr::sim
