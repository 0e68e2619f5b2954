#include "cli/FleetArguments.h"

#include "cli/RadioTerminal.h"
#include "model/JobRecord.h"
#include "model/RadioBackups.h"

#include <charconv>

namespace vpr::cli {

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 20;

bool parsePort(std::string_view text, int& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() && number >= kFirstPort &&
         number <= kLastPort;
}

std::string checkRanges(const std::string& ranges) {
  std::string problem;
  portNumbersOf(ranges, problem);
  return problem;
}

} // namespace

std::vector<int> portNumbersOf(const std::string& ranges, std::string& problem) {
  std::vector<int> numbers;
  std::string_view rest = ranges;
  while (problem.empty()) {
    const std::string_view part = rest.substr(0, rest.find(','));
    const auto dash = part.find('-');
    int first = 0;
    int last = 0;
    const bool valid = dash == std::string_view::npos
                           ? parsePort(part, first) && parsePort(part, last)
                           : parsePort(part.substr(0, dash), first) && parsePort(part.substr(dash + 1), last);
    if (!valid || first > last) {
      problem = "a port range is A-B or a list of them (A,B-C) with ports from 1 to 20";
      return {};
    }
    for (int n = first; n <= last; ++n)
      numbers.push_back(n);
    if (part.size() == rest.size()) break;
    rest.remove_prefix(part.size() + 1);
  }
  return numbers;
}

void FleetArguments::addTo(CLI::App& command) {
  auto* port =
      command.add_option("--port", ports, "Port number 1..20 or device path; give it again for more radios")
          ->allow_extra_args(false)
          ->check(CLI::Validator(checkPortArgument, "PORT"));
  auto* range = command.add_option("--ports", portRanges, "Port numbers of several radios: A-B, or A,B,C-D")
                    ->check(CLI::Validator(checkRanges, "RANGES"));
  // One of the two names the radios; CLI11 knows no requirement of one option among several.
  command.callback([port, range] {
    if (port->count() == 0 && range->count() == 0) throw CLI::RequiredError("--port or --ports");
  });
  command.add_flag("--json", json, "Print the result of every radio as JSON");
  command.add_option("--record", record,
                     "The job record's file (default: \"" + std::string(JobRecord::kFileName) +
                         "\" in the data folder)");
  command.footer(
      "Job record: every radio written or read with several ports, and every single write, adds one "
      "CSV line with the columns " +
      std::string(JobRecord::kHeader) + " (result: \"done\" or \"failed: \" and the message).");
}

std::vector<std::string> FleetArguments::portNames() const {
  std::vector<std::string> names = ports;
  std::string problem;
  if (!portRanges.empty())
    for (const int number : portNumbersOf(portRanges, problem))
      names.push_back(std::to_string(number));
  return names;
}

bool FleetArguments::isFleet() const {
  return json || !portRanges.empty() || ports.size() > 1;
}

std::string FleetArguments::recordPath() const {
  return record.empty() ? JobRecord::pathBelow(RadioBackups::defaultDataFolder()) : record;
}

} // namespace vpr::cli
