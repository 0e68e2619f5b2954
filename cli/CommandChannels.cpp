#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/FileArguments.h"
#include "cli/ImageReport.h"
#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/ChannelCsv.h"

#include <iostream>
#include <memory>

namespace vpr::cli {

namespace {

struct ChannelsOptions {
  std::string file;
  std::string csvOut;
  std::string csvIn;
  std::string output;
  bool skipInvalid = false;
};

} // namespace

Command addChannelsCommand(CLI::App& app) {
  auto options = std::make_shared<ChannelsOptions>();
  CLI::App* sub =
      app.add_subcommand("channels", "Write the channels of a data file as CSV, or replace them from CSV");
  sub->add_option("file", options->file, "The data file (- for standard input)")->required();
  auto* csv = sub->add_option("--csv", options->csvOut,
                              "Write the channels as CSV to this file (- for standard output)");
  auto* in = sub->add_option("--import", options->csvIn,
                             "Read the channels from this CSV file (- for standard input)");
  auto* out = sub->add_option("-o,--output", options->output,
                              "With --import: the data file to write (- for standard output)");
  auto* skip =
      sub->add_flag("--skip-invalid", options->skipInvalid,
                    "With --import: leave out rows that cannot be channels instead of writing nothing");
  csv->excludes(in);
  in->needs(out);
  out->needs(in);
  skip->needs(in);
  return {sub, [options](TerminalUserInterface& ui) {
            if (options->csvOut.empty() == options->csvIn.empty()) {
              std::cerr << "vpr40t-cli channels: give --csv OUT.csv, or --import IN.csv -o OUT.dat\n";
              return kExitUsage;
            }
            if (options->file == kStandardStream && options->csvIn == kStandardStream) {
              ui.fail("--import -: standard input already holds the data file");
              return kExitUsage;
            }
            RadioImage image;
            if (!loadDataFile(options->file, image, ui)) return kExitFailed;
            if (options->csvIn.empty())
              return writeTextArgument(options->csvOut, ChannelCsv::exportChannels(image), ui) ? kExitDone
                                                                                               : kExitFailed;
            std::string text;
            if (!readTextArgument(options->csvIn, ChannelCsv::kMaxFileSize, text, ui)) return kExitFailed;
            const auto rows =
                options->skipInvalid ? ChannelCsv::Rows::SkipInvalid : ChannelCsv::Rows::AllOrNothing;
            const ChannelCsv::Result result = ChannelCsv::importText(image, text, rows);
            reportFileProblems(options->csvIn, result.problems, ui);
            if (!result.image) return kExitFailed;
            if (!result.problems.empty())
              ui.fail(formatText(cliText(kTextSkippedRows),
                                 {int(result.problems.size()), result.channelsStored}));
            return writeImageArgument(options->output, *result.image, ui) ? kExitDone : kExitFailed;
          }};
}

void reportFileProblems(const std::string& path, const std::vector<ImportProblem>& problems,
                        TerminalUserInterface& ui) {
  for (const ImportProblem& problem : problems)
    ui.fail(path + ": " + problem.text());
}

} // namespace vpr::cli
