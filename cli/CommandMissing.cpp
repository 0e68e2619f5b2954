#include "cli/CliText.h"
#include "cli/Commands.h"
#include "lang/TextFormat.h"

namespace vpr::cli {

Command addMissingCommand(CLI::App& app, const std::string& name) {
  CLI::App* sub = app.add_subcommand(name, "Not in this build of the tool");
  // Whatever a user of a full build would give is taken, so that the answer is always the same.
  sub->allow_extras();
  return {sub, [name](TerminalUserInterface& ui) {
            ui.fail(formatText(cliText(kTextNotInThisBuild), {name}));
            return kExitFailed;
          }};
}

} // namespace vpr::cli
