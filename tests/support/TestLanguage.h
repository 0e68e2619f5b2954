#pragma once
// Loads the shipped language file into the process-wide text table for a test.

#include <cstdint>
#include <string>

namespace vpr::test {

// Replaces the process-wide table with the shipped res/vpr40t.lng, the language's column
// selected. In identifier mode every known text reads "ID:<number>", which lets a test state
// which message was shown. Throws when the file does not load.
void loadLanguage(bool identifierMode = false, const std::string& language = "English");
// Empties the process-wide table again: every textOf gives the empty text.
void unloadLanguage();
// The text identifier mode shows for an identifier: "ID:10026062".
std::string idText(std::int32_t id);

} // namespace vpr::test
