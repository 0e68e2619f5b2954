#include "cli/Commands.h"
#include "cli/FileArguments.h"
#include "cli/ImageReport.h"
#include "model/ConfigYaml.h"

#include <memory>

namespace vpr::cli {

namespace {

struct ConvertOptions {
  std::string input;
  std::string output = kStandardStream;
};

} // namespace

Command addExportCommand(CLI::App& app) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* sub = app.add_subcommand("export", "Write the whole configuration of a data file as YAML");
  sub->add_option("file", options->input, "The data file (- for standard input)")->required();
  sub->add_option("-o,--output", options->output, "The YAML file to write (- or none: standard output)");
  return {sub, [options](TerminalUserInterface& ui) {
            RadioImage image;
            if (!loadDataFile(options->input, image, ui)) return kExitFailed;
            return writeTextArgument(options->output, ConfigYaml::exportImage(image), ui) ? kExitDone
                                                                                          : kExitFailed;
          }};
}

Command addImportCommand(CLI::App& app) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* sub =
      app.add_subcommand("import", "Write a data file from a YAML configuration; nothing on any problem");
  sub->add_option("file", options->input, "The YAML file (- for standard input)")->required();
  sub->add_option("-o,--output", options->output, "The data file to write (- for standard output)")
      ->required();
  return {sub, [options](TerminalUserInterface& ui) {
            std::string text;
            if (!readTextArgument(options->input, ConfigYaml::kMaxDocumentSize, text, ui)) return kExitFailed;
            const ConfigYaml::Result result = ConfigYaml::importText(text);
            if (!result.image) {
              reportFileProblems(options->input, result.problems, ui);
              return kExitFailed;
            }
            return writeImageArgument(options->output, *result.image, ui) ? kExitDone : kExitFailed;
          }};
}

} // namespace vpr::cli
