#pragma once
// A moment as the local clock shows it, in a strftime format: backup names, the job record, the
// read files' names and the status bar's date and time all take their text from here. It knows
// nothing of what the text is for.
#include <ctime>
#include <string>

namespace vpr {

std::string localTimeText(std::time_t when, const char* format);

} // namespace vpr
