#pragma once
// How a dialog asks for help: the callback opens the manual at a help context number. The
// main frame supplies it; a dialog given none offers no help.

#include <functional>

namespace vpr {

using HelpCallback = std::function<void(int helpContext)>;

} // namespace vpr
