#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/FileArguments.h"
#include "cli/ImageReport.h"
#include "cli/RadioTerminal.h"
#include "cli/SessionInput.h"
#include "cli/TestBench.h"
#include "lang/CLanguageTable.h"

#include <iostream>
#include <memory>

namespace vpr::cli {

namespace {

// One answer line, flushed at once: the bench waits for it.
bool answerLine(const std::string& text) {
  std::cout << text << '\n' << std::flush;
  return static_cast<bool>(std::cout);
}

} // namespace

Command addTestCommand(CLI::App& app) {
  struct Options {
    std::string port;
    std::string file;
    std::string save;
    int limitSeconds = static_cast<int>(TestModeSession::kTransmitLimit.count());
  };
  auto options = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand(
      "test", "Test-mode session for alignment benches: runs the radio's test mode with FILE's image, then "
              "reads one command per line from standard input and answers each with one line on standard "
              "output beginning \"ok\" or \"error\".\n"
              "Commands:\n"
              "  channel N         select test frequency N (1..16, programmed ones only)\n"
              "  signalling N      select test signalling N (0 off, 1..38 the QT tones)\n"
              "  transmit on|off   key or unkey the transmitter\n"
              "  adjust ITEM       open adjustment ITEM (0..8) and send its value from the image\n"
              "  value V           send value V (0..255) of the open adjustment at once\n"
              "  apply             keep the value sent last\n"
              "  leave             end the adjustment, restoring the applied value\n"
              "  status            channel, frequencies, signalling, transmitter, item and values\n"
              "  quit              end the session\n"
              "On quit, end of input, SIGINT, SIGTERM or SIGHUP a keyed transmitter is unkeyed and an open "
              "adjustment left first; with --save the image with the adjusted values is then written. A "
              "transmitter keyed longer than the transmit limit without a command is unkeyed.");
  sub->add_option("--port", options->port, "Port number 1..20 or device path")
      ->required()
      ->check(CLI::Validator(checkPortArgument, "PORT"));
  sub->add_option("file", options->file, "The data file whose image the radio holds")->required();
  sub->add_option("--save", options->save,
                  "Write the image with the adjusted values to this data file at the end (- for standard "
                  "output, after the answers)");
  sub->add_option("--transmit-limit", options->limitSeconds,
                  "Seconds a keyed transmitter stays keyed without a command (1..300, default 300)")
      ->check(CLI::Range(1, static_cast<int>(TestModeSession::kTransmitLimit.count())));
  return {sub, [options](TerminalUserInterface& ui) {
            if (options->file == kStandardStream) {
              ui.fail(cliText(kTextSessionNeedsInput));
              return kExitUsage;
            }
            RadioData data;
            if (!loadDataFile(options->file, data, ui)) return kExitFailed;
            selectPort(g_radioComm, options->port);
            SessionInput input(TestBench::kMaxLineLength);
            TestBench bench(g_radioComm, data.editImage, std::cerr);
            bench.session().setTransmitLimit(std::chrono::seconds(options->limitSeconds));
            if (const auto failure = bench.begin()) {
              answerLine(*failure);
              return kExitFailed;
            }
            bool quit = false;
            while (!quit) {
              std::optional<SessionInput::Clock::time_point> deadline;
              if (const auto left = bench.session().transmitTimeLeft(SessionInput::Clock::now()))
                deadline = SessionInput::Clock::now() + *left;
              std::string line;
              const SessionInput::Event event = input.next(line, deadline);
              if (event == SessionInput::Event::Deadline) {
                if (const auto notice = bench.enforceTransmitLimit(SessionInput::Clock::now()))
                  ui.fail(*notice);
                continue;
              }
              if (event == SessionInput::Event::EndOfInput || event == SessionInput::Event::Signal) break;
              const std::string answer = event == SessionInput::Event::Overlong ? TestBench::overlongLine()
                                                                                : bench.answer(line, quit);
              // A bench that went away is a reason to stop, safely.
              if (!answerLine(answer)) break;
            }
            const bool finished = bench.finish();
            if (!options->save.empty() && !writeImageArgument(options->save, data.editImage, ui)) {
              ui.fail(cliText(kTextSaveFailed) + " " + options->save);
              return kExitFailed;
            }
            return finished ? kExitDone : kExitFailed;
          }};
}

} // namespace vpr::cli
