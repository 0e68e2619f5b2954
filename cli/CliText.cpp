#include "cli/CliText.h"

#include "lang/CLanguageTable.h"

#include <array>
#include <utility>

namespace vpr::cli {

namespace {

constexpr std::array<std::pair<int, const char*>, 6> kBuiltIn = {{
    {kTextChannelCount, "Channels"},
    {kTextModelCode, "Model code"},
    {kTextGroupHasAccess, "members of the group %s have access"},
    {kTextHeldByAnother, "the port is held by another program"},
    {kTextUnprogrammed, "unprogrammed"},
    {kTextAnswerWithYes, "Answer with --yes to write anyway."},
}};

} // namespace

std::string cliText(int id) {
  std::string text = textOf(id);
  if (!text.empty()) return text;
  for (const auto& [builtInId, english] : kBuiltIn)
    if (builtInId == id) return english;
  return text;
}

} // namespace vpr::cli
