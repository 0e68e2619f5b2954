#include "cli/BackupOptions.h"
#include "cli/Commands.h"
#include "cli/ImageReport.h"
#include "cli/RadioTerminal.h"
#include "link/RadioTransfer.h"
#include "model/ImageCompare.h"

#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <unistd.h>

namespace vpr::cli {

namespace {

// Exit status of diff: the images differ (0 is "the same", 2 "trouble").
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

// The differences as one JSON object for scripts.
void printDifferencesJson(std::ostream& out, const std::vector<ImageDifference>& differences) {
  out << "{\"same\": " << (differences.empty() ? "true" : "false") << ", \"differences\": [";
  const char* separator = "";
  for (const ImageDifference& difference : differences) {
    out << separator << "{\"field\": " << jsonString(difference.field)
        << ", \"before\": " << jsonString(difference.before)
        << ", \"after\": " << jsonString(difference.after) << '}';
    separator = ", ";
  }
  out << "]}\n";
}

// A data file's image ("-": standard input), or nothing after the message why not.
std::optional<RadioImage> loadImage(const std::string& path, TerminalUserInterface& ui) {
  RadioImage image;
  if (!loadDataFile(path, image, ui)) return std::nullopt;
  return image;
}

} // namespace

Command addDiffCommand(CLI::App& app) {
  struct Options {
    std::vector<std::string> files;
    std::string port;
    BackupOptions backup;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand(
      "diff", "List the fields that differ between two data files, or between a data file and a radio");
  sub->add_option("files", options->files,
                  "A.dat B.dat (- for standard input), or with --port the one data file")
      ->required();
  sub->add_option("--port", options->port, "Compare with the radio at this port (1..20 or a device path)")
      ->check(CLI::Validator(checkPortArgument, "PORT"));
  options->backup.addTo(*sub);
  sub->add_flag("--json", options->json, "Print one JSON object for scripts");
  return {sub, [options, sub](TerminalUserInterface& ui) {
            const bool withRadio = !options->port.empty();
            if (options->files.size() != (withRadio ? 1u : 2u)) {
              std::cerr << sub->help();
              return kExitUsage;
            }
            const std::optional<RadioImage> first = loadImage(options->files[0], ui);
            if (!first) return kExitTrouble;
            RadioImage second{};
            if (!withRadio) {
              const std::optional<RadioImage> other = loadImage(options->files[1], ui);
              if (!other) return kExitTrouble;
              second = *other;
            } else {
              RadioTerminal terminal(std::cerr, std::cin, isatty(STDERR_FILENO) != 0, false);
              selectPort(g_radioComm, options->port);
              if (runReadTransfer(g_radioComm, terminal, second) != 0) {
                return kExitTrouble;
              }
              if (!options->backup.off) backUpReadImage(terminal, second, options->backup.resolvedFolder());
            }
            const auto differences = ImageCompare::compare(*first, second);
            if (options->json)
              printDifferencesJson(std::cout, differences);
            else
              std::cout << ImageCompare::listText(differences);
            return differences.empty() ? kExitDone : kExitDifferent;
          }};
}

} // namespace vpr::cli
