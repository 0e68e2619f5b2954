#pragma once
// One reason why a configuration or channel-list file cannot be taken over: the line of the file
// it was found on and the reason, a text from the language file.
//
// Readers collect every problem they find rather than stopping at the first, so that a user can
// mend a file in one pass. They never change anything when a problem is left.

#include <string>
#include <vector>

namespace vpr {

struct ImportProblem {
  int line = 0; // 1-based; 0 when the problem concerns the file as a whole
  std::string reason;

  // "line N: reason" (text 10066001), or the reason alone for line 0.
  std::string text() const;
  bool operator==(const ImportProblem&) const = default;
};

// The problems one per line, each ending with "\n".
std::string problemsText(const std::vector<ImportProblem>& problems);

} // namespace vpr
