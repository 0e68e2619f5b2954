#pragma once
// The texts only the command-line tool shows. They come from the language file like every other
// text; a language file that lacks them (one written before the tool had them, or a
// translation that left them out) gets the tool's built-in English instead, so that no label or
// message is ever printed empty. Texts the desktop program shares are not handled here.

#include <string>

namespace vpr::cli {

inline constexpr int kTextChannelCount = 10050001;
inline constexpr int kTextModelCode = 10050101;
inline constexpr int kTextGroupHasAccess = 10050102;
inline constexpr int kTextHeldByAnother = 10050103;
inline constexpr int kTextUnprogrammed = 10050104;
inline constexpr int kTextAnswerWithYes = 10050105;

// The text of one of the identifiers above from the language file, or the built-in English
// when the file gives none; the empty text for any other identifier the file lacks.
std::string cliText(int id);

} // namespace vpr::cli
