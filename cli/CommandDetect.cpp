#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/ImageReport.h"
#include "cli/RadioTerminal.h"
#include "lang/CLanguageTable.h"
#include "link/RadioTransfer.h"
#include "model/ModelCatalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace vpr::cli {

namespace {

constexpr int kTextModel = 10009001;
constexpr int kTextBand = 10009002;

// "P4410 (00 00 20 30 31 34 34 50)": the code as the radio names itself, and the image bytes.
std::string modelCodeText(const ModelCode& code) {
  std::string text;
  if (!ModelCatalogue::isEmptyModelCode(code)) {
    for (std::size_t i = kModelCodeSize; i-- > 3;)
      text += std::isprint(code[i]) ? static_cast<char>(code[i]) : '?';
    text += " (";
  }
  for (std::size_t i = 0; i < kModelCodeSize; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i ? " %02X" : "%02X", code[i]);
    text += byte;
  }
  return ModelCatalogue::isEmptyModelCode(code) ? text : text + ")";
}

} // namespace

Command addDetectCommand(CLI::App& app) {
  auto port = std::make_shared<std::string>();
  auto verbosity = std::make_shared<RadioVerbosity>();
  CLI::App* sub = app.add_subcommand("detect", "Identify the connected radio: model, band and model code");
  sub->add_option("--port", *port, "Port number 1..20 or device path")
      ->required()
      ->check(CLI::Validator(checkPortArgument, "PORT"));
  addVerbosityFlags(sub, *verbosity);
  return {sub, [port, verbosity](TerminalUserInterface&) {
            RadioTerminal terminal(std::cerr, std::cin, isatty(STDERR_FILENO) != 0, false);
            terminal.applyVerbosity(*verbosity, g_radioComm);
            selectPort(g_radioComm, *port);
            ModelCode code{};
            if (runIdentifyRadio(g_radioComm, terminal, code) != 0) {
              return kExitFailed;
            }
            const bool blank =
                std::all_of(code.begin(), code.end(), [](std::uint8_t b) { return b == 0xFF; });
            std::string model = ModelCatalogue::modelNameText(code);
            if (blank)
              model = cliText(kTextUnprogrammed);
            else if (model.empty())
              model = modelCodeText(code);
            printTable(std::cout, {
                                      {textOf(kTextModel) + ":", model},
                                      {textOf(kTextBand) + ":", ModelCatalogue::bandNameText(code)},
                                      {cliText(kTextModelCode) + ":", modelCodeText(code)},
                                  });
            return kExitDone;
          }};
}

} // namespace vpr::cli
