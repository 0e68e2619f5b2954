#include "model/ConfigInputGuard.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"

#include <yaml-cpp/mark.h>

namespace vpr {

namespace {

constexpr int kTextTooDeep = 10066010;
constexpr int kTextNoAliases = 10066011;
constexpr int kTextTooManyNodes = 10066052;

} // namespace

void ConfigInputGuard::OnAlias(const YAML::Mark& mark, YAML::anchor_t) {
  throw Stop{mark.line + 1, textOf(kTextNoAliases)};
}

void ConfigInputGuard::node(const YAML::Mark& mark, YAML::anchor_t anchor) {
  if (anchor != YAML::NullAnchor) throw Stop{mark.line + 1, textOf(kTextNoAliases)};
  if (++nodes_ > kMaxNodes)
    throw Stop{mark.line + 1, formatText(textOf(kTextTooManyNodes), {int(kMaxNodes)})};
}

void ConfigInputGuard::open(const YAML::Mark& mark, YAML::anchor_t anchor) {
  node(mark, anchor);
  if (++depth_ > kMaxDepth) throw Stop{mark.line + 1, formatText(textOf(kTextTooDeep), {kMaxDepth})};
}

} // namespace vpr
