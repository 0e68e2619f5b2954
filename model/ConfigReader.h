#pragma once
// Reads a configuration document from YAML text: parsed under ConfigInputGuard, one document only,
// then every key checked against the format (unknown keys, keys given twice, a list or mapping
// where a value belongs, raw offsets and hexadecimal bytes). The values themselves are checked
// when the image is built (ConfigBuilder); here they are only taken with their lines.

#include "model/ConfigDocument.h"
#include "model/ImportProblem.h"

#include <optional>
#include <string>
#include <vector>

namespace vpr {

class ConfigReader {
public:
  // The document, or nothing with the problems (line and reason) added.
  static std::optional<ConfigDocument> read(const std::string& text, std::vector<ImportProblem>& problems);
};

} // namespace vpr
