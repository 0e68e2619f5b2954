#pragma once
// Decides which bytes of an image a configuration document gives as raw hexadecimal, so that
// export followed by import gives back the same 1024 bytes and each byte is said in one place.
//
// A byte travels raw when no entry describes it and it differs from the image the import builds
// on; a whole section (the model code, the option bytes, a record, an adjustment value) travels
// raw when its entry does not give its bytes back exactly, and its entry is then left out.

#include "model/ConfigDocument.h"
#include "model/RadioImage.h"

#include <bitset>
#include <vector>

namespace vpr {

class ConfigRawBytes {
public:
  // Moves what the entries of doc (shown from image) cannot say into its raw runs.
  static void apply(const RadioImage& image, ConfigDocument& doc);

  // The bytes of image that travel raw.
  static std::bitset<kImageSize> choose(const RadioImage& image, const ConfigDocument& doc);
  // The raw runs of the chosen bytes: one run per stretch, split where 16-byte lines begin.
  static std::vector<ConfigRawRun> runs(const RadioImage& image, const std::bitset<kImageSize>& chosen);
};

} // namespace vpr
