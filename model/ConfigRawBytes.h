#pragma once
// Decides which bytes of an image a configuration document gives as raw hexadecimal, so that
// export followed by import gives back the same 1024 bytes and each byte is said in one place.
//
// A byte travels raw when no entry describes it and it differs from the image the import builds
// on. A whole section (the model code, the option bytes, a record) travels raw, and its entry is
// left out, when a field of its entry cannot say the value its bytes hold (a frequency outside
// the band or off its raster, a tone code no tone text gives, a model code the names do not give)
// or when bytes inside it that no field covers differ from what the import leaves there. The
// adjustment entries say every byte value.

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
