#pragma once
// The whole configuration as a readable YAML document, and back.
//
// The document names the model and band, the wide/narrow setting, the optional features, the Moni
// key, every programmed channel and test frequency, each written as the editing views show it,
// and the adjustment values as the bytes the image stores. Bytes no view shows (head, channel
// map, band data, spare bytes) go into a `raw` section as hexadecimal where they differ from the
// model's default image, and so does every record or field group that the views could not
// produce exactly, instead of its entry: each byte is said in one place, and export followed by
// import gives back the same 1024 bytes for every image.
//
// On import the document is built on the model's default image, as New makes it (documents of
// the first format that carry a raw section, as written before, on a cleared image). Every value
// is checked with the views' entry rules (stricter where a view would move a value silently) and
// stored through the same record operations; raw bytes are taken as they are, and an entry for
// bytes that raw bytes give must say the same as they do. The import is all or nothing: any
// problem (with its line and reason) and no image. Input is capped in size, nesting depth and
// number of nodes; anchors and aliases are refused. This unit reads and writes text only; files
// are the caller's business.
//
// This is the front of the units that do the work, one role each: ConfigDocument (the document in
// memory, and an image shown as one), ConfigReader with ConfigInputGuard (YAML text to document),
// ConfigBuilder (document to image), ConfigRawBytes (what export gives raw) and ConfigWriter
// (document to YAML text).

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
