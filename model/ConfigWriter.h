#pragma once
// Writes a configuration document as YAML text: a comment that says how to read it, the model,
// band and wide/narrow setting, the features and Moni key, one flow mapping per channel and test
// frequency, the adjustment values and the raw runs as quoted hexadecimal. Entries the document
// does not give are left out; the sections are always there, empty ones written empty.
//
// What the document holds is decided before (ConfigDocument::fromImage and the export's choice of
// raw bytes); this unit only spells it.

#include "model/ConfigDocument.h"

#include <string>

namespace vpr {

class ConfigWriter {
public:
  static std::string write(const ConfigDocument& doc);
};

} // namespace vpr
