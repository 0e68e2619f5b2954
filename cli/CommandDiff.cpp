#include "cli/BackupOptions.h"
#include "cli/Commands.h"
#include "cli/RadioTerminal.h"
#include "link/RadioTransfer.h"
#include "model/DataFile.h"
#include "model/DataFileFlows.h"
#include "model/ImageCompare.h"

#include <iostream>
#include <memory>
#include <unistd.h>

namespace vpr::cli {

namespace {

// Exit status of diff: the images differ (0 is "the same", 2 "trouble").
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

bool loadImage(const std::string& path, RadioImage& image, TerminalUserInterface& ui) {
  DataFile::Magic magic{};
  const auto result = DataFile::readDataFile(path, image, magic);
  if (result == DataFile::Read) return true;
  const std::size_t separator = path.find_last_of('/');
  ui.fail(path + ": " +
          DataFileFlows::readFailureText(
              result, separator == std::string::npos ? path : path.substr(separator + 1), magic));
  return false;
}

} // namespace

Command addDiffCommand(CLI::App& app) {
  struct Options {
    std::vector<std::string> files;
    std::string port;
    BackupOptions backup;
  };
  auto options = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand(
      "diff", "List the fields that differ between two data files, or between a data file and a radio");
  sub->add_option("files", options->files, "A.dat B.dat, or with --port the one data file")->required();
  sub->add_option("--port", options->port, "Compare with the radio at this port (1..20 or a device path)")
      ->check(CLI::Validator(checkPortArgument, "PORT"));
  options->backup.addTo(*sub);
  return {sub, [options, sub](TerminalUserInterface& ui) {
            const bool withRadio = !options->port.empty();
            if (options->files.size() != (withRadio ? 1u : 2u)) {
              std::cerr << sub->help();
              return kExitUsage;
            }
            RadioImage first{};
            RadioImage second{};
            if (!loadImage(options->files[0], first, ui)) return kExitTrouble;
            if (!withRadio) {
              if (!loadImage(options->files[1], second, ui)) return kExitTrouble;
            } else {
              RadioTerminal terminal(std::cerr, std::cin, isatty(STDERR_FILENO) != 0, false);
              selectPort(g_radioComm, options->port);
              if (runReadTransfer(g_radioComm, terminal, second) != 0) {
                terminal.explainPortFailure(g_radioComm);
                return kExitTrouble;
              }
              if (!options->backup.off) backUpReadImage(terminal, second, options->backup.resolvedFolder());
            }
            const auto differences = ImageCompare::compare(first, second);
            std::cout << ImageCompare::listText(differences);
            return differences.empty() ? kExitDone : kExitDifferent;
          }};
}

} // namespace vpr::cli
