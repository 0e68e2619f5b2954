#include "cli/TestBench.h"
#include "cli/CliText.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/ValueCodec.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace vpr::cli {

namespace {

using Outcome = TestModeSession::Outcome;

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// An answer is one line, whatever line breaks the language file's texts hold.
std::string oneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  return text;
}

std::string error(const std::string& text) {
  return "error " + oneLine(text);
}

// Digits only, at most three of them: letters, signs and huge numbers never become a value.
std::optional<int> numberOf(const std::string& text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(),
                   [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    return std::nullopt;
  return std::stoi(text);
}

std::string frequencyText(const FrequencyCode& code) {
  const std::string text = formatFrequency(code);
  return text.empty() ? "-" : text;
}

} // namespace

MessageAnswer TestBench::BenchUserInterface::showMessage(const MessageRequest& request) {
  lastMessage = request.text;
  return TerminalUserInterface::showMessage(request);
}

TestBench::TestBench(CRadioComm& radio, RadioImage& image, std::ostream& errors)
    : ui_(errors), session_(radio, ui_, image, false) {}

std::optional<std::string> TestBench::begin() {
  ui_.lastMessage.clear();
  if (session_.begin() == 0) return std::nullopt;
  return error(ui_.lastMessage.empty() ? cliText(kTextRadioTrouble) : ui_.lastMessage);
}

std::string TestBench::overlongLine() {
  return error(formatText(cliText(kTextLineTooLong), {static_cast<int>(kMaxLineLength)}));
}

std::string TestBench::answer(const std::string& line, bool& quit) {
  const std::string command = trimmed(line);
  if (command.empty()) return error(cliText(kTextEmptyLine));
  const auto space = command.find_first_of(" \t");
  const std::string word = command.substr(0, space);
  const std::string argument = space == std::string::npos ? std::string() : trimmed(command.substr(space));
  ui_.lastMessage.clear();
  return run(word, argument, quit);
}

std::string TestBench::run(const std::string& word, const std::string& argument, bool& quit) {
  using Request = TestModeSession::Request;
  // Commands with a number: the word, its range and the request it makes.
  struct Ranged {
    const char* word;
    int minimum;
    int maximum;
    Request request;
  };
  static constexpr Ranged kRanged[] = {
      {"channel", 1, layout::kTestFreqCount, Request::SelectChannel},
      {"signalling", 0, TestModeSession::kSignallingCount - 1, Request::SelectSignalling},
      {"adjust", 0, layout::kAdjustItemCount - 1, Request::OpenAdjustment},
      {"value", 0, kAdjustValueMax, Request::SetValue},
  };
  for (const Ranged& ranged : kRanged) {
    if (word != ranged.word) continue;
    const std::optional<int> number = numberOf(argument);
    if (!number || *number < ranged.minimum || *number > ranged.maximum)
      return error(formatText(cliText(kTextNumberRange), {word, ranged.minimum, ranged.maximum}));
    if (!session_.accepts(ranged.request)) return refused(ranged.request);
    switch (ranged.request) {
    case Request::SetValue:
      return outcome(session_.setValue(*number), [&] { return "value " + std::to_string(*number); });
    case Request::OpenAdjustment:
      return outcome(session_.openAdjustment(*number), [this] { return adjustmentText(); });
    case Request::SelectChannel:
      if (!session_.isProgrammed(*number - 1))
        return error(formatText(cliText(kTextNotProgrammed), {*number}));
      return outcome(session_.selectChannel(*number), [this] { return channelText(); });
    default:
      return outcome(session_.selectSignalling(*number), [&] {
        return "signalling " + std::to_string(*number) + " tone " + toneListText(*number);
      });
    }
  }
  if (word == "transmit") {
    if (argument != "on" && argument != "off") return error(cliText(kTextOnOrOff));
    const Request request = argument == "on" ? Request::TransmitOn : Request::TransmitOff;
    if (!session_.accepts(request)) return refused(request);
    return outcome(session_.setTransmitting(argument == "on"), [&] { return "transmit " + argument; });
  }
  static constexpr const char* kPlain[] = {"apply", "leave", "status", "quit"};
  if (std::find(std::begin(kPlain), std::end(kPlain), word) == std::end(kPlain))
    return error(formatText(cliText(kTextUnknownCommand), {word}));
  if (!argument.empty()) return error(formatText(cliText(kTextNoArgument), {word}));
  if (word == "status") return status();
  if (word == "quit") {
    quit = true;
    return "ok quit";
  }
  if (word == "apply") {
    if (!session_.accepts(Request::Apply)) return refused(Request::Apply);
    return outcome(session_.apply(), [this] { return "applied " + std::to_string(session_.appliedValue()); });
  }
  if (!session_.accepts(Request::LeaveAdjustment)) return refused(Request::LeaveAdjustment);
  const int item = session_.adjustItemIndex();
  const int value = session_.appliedValue();
  return outcome(session_.leaveAdjustment(true),
                 [&] { return "leave item " + std::to_string(item) + " value " + std::to_string(value); });
}

std::string TestBench::refused(TestModeSession::Request request) const {
  using Refusal = TestModeMachine::Refusal;
  switch (session_.refusal(request)) {
  case Refusal::WhileTransmitting:
    return error(cliText(kTextWhileTransmitting));
  case Refusal::WhileAdjusting:
    return error(cliText(kTextWhileAdjusting));
  case Refusal::NoAdjustment:
    return error(cliText(kTextNoAdjustment));
  default:
    // The session between two commands is open and idle: nothing else refuses a command.
    return error(cliText(kTextRadioTrouble));
  }
}

std::string TestBench::outcome(Outcome result, const std::function<std::string()>& done) {
  if (result == Outcome::Done) return "ok " + done();
  return error(ui_.lastMessage.empty() ? cliText(kTextRadioTrouble) : ui_.lastMessage);
}

std::string TestBench::channelText() const {
  return "channel " + std::to_string(session_.testChannel() + 1) + " rx " +
         frequencyText(session_.receiveFrequency(session_.testChannel())) + " tx " +
         frequencyText(session_.transmitFrequency(session_.testChannel()));
}

std::string TestBench::adjustmentText() const {
  return "adjust " + std::to_string(session_.adjustItemIndex()) + " value " +
         std::to_string(session_.currentValue());
}

std::string TestBench::status() const {
  std::string text = "ok " + channelText() + " signalling " + std::to_string(session_.signallingIndex()) +
                     " tone " + toneListText(session_.signallingIndex()) + " transmit " +
                     (session_.transmitting() ? "on" : "off");
  if (const auto left = session_.transmitTimeLeft(TestModeSession::Clock::now()))
    text += " left " + std::to_string(std::chrono::ceil<std::chrono::seconds>(*left).count());
  if (!session_.adjusting()) return text + " item none";
  return text + " item " + std::to_string(session_.adjustItemIndex()) + " current " +
         std::to_string(session_.currentValue()) + " applied " + std::to_string(session_.appliedValue());
}

bool TestBench::finish() {
  bool done = true;
  if (session_.adjusting()) done = session_.leaveAdjustment(true) == Outcome::Done;
  done = session_.setTransmitting(false) == Outcome::Done && done;
  session_.end();
  return done;
}

std::optional<std::string> TestBench::enforceTransmitLimit(TestModeSession::Clock::time_point now) {
  Outcome result = Outcome::Done;
  ui_.lastMessage.clear();
  if (!session_.enforceTransmitLimit(now, &result)) return std::nullopt;
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(session_.transmitLimit()).count();
  std::string notice = formatText(cliText(kTextTransmitLimit), {static_cast<long long>(seconds)});
  if (result != Outcome::Done) {
    notice += ' ';
    notice += ui_.lastMessage.empty() ? cliText(kTextRadioTrouble) : ui_.lastMessage;
  }
  return oneLine(notice);
}

} // namespace vpr::cli
