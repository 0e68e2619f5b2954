#include "model/ImportProblem.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"

namespace vpr {

namespace {
constexpr int kTextLineReason = 10066001;
}

std::string ImportProblem::text() const {
  if (line <= 0) return reason;
  return formatText(textOf(kTextLineReason), {line, reason});
}

std::string problemsText(const std::vector<ImportProblem>& problems) {
  std::string text;
  for (const ImportProblem& problem : problems)
    text += problem.text() + '\n';
  return text;
}

} // namespace vpr
