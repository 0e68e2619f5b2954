#pragma once
// The whole configuration as a readable YAML document, and back.
//
// The document names the model and band, the wide/narrow setting, the optional features, the Moni
// key, every programmed channel and test frequency, and the adjustment values, each written as the
// editing views show it. Bytes no view shows (head, channel map, band data, spare bytes) and any
// record or field group that the views could not produce exactly go into a `raw` section as
// hexadecimal, so that export followed by import gives back the same 1024 bytes for every image.
//
// On import every value is checked with the views' entry rules (stricter where a view would move
// a value silently) and stored through the same record operations; a group whose values are
// unchanged from its raw bytes keeps those bytes. The import is all or nothing: any problem
// (with its line and reason) and no image. Input is capped in size, nesting depth and number of
// nodes; anchors and aliases are refused. This unit reads and writes text only; files are the
// caller's business.

#include "model/ImportProblem.h"
#include "model/RadioImage.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vpr {

class ConfigYaml {
public:
  // The largest document import takes.
  static constexpr std::size_t kMaxDocumentSize = 1024 * 1024;

  static std::string exportImage(const RadioImage& image);

  struct Result {
    std::optional<RadioImage> image; // set only when there are no problems
    std::vector<ImportProblem> problems;
  };
  static Result importText(std::string_view text);
};

} // namespace vpr
