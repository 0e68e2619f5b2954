#pragma once
// The differences between two radio images, field by field as the editing views show them:
// the model, the channels (up to the larger channel count of the two), the optional features,
// the Moni key, the test frequencies and the adjustment values, each with its display text on
// both sides. Bytes whose difference no listed field explains (the head, the channel map, step
// codes, unused slots and the like) follow as hexadecimal ranges, so that two images compare
// equal exactly when all 1024 bytes are equal.
//
// Pure: it reads the two images and returns texts; it neither loads files nor talks to a radio.

#include "model/RadioImage.h"

#include <string>
#include <vector>

namespace vpr {

struct ImageDifference {
  std::string field;  // e.g. "CH 3 RX Freq."
  std::string before; // the field's text in the first image
  std::string after;  // the field's text in the second image

  // "<field>: <before> → <after>" (the format of text 10065024).
  std::string text() const;
  bool operator==(const ImageDifference&) const = default;
};

class ImageCompare {
public:
  // Text identifiers of the compare's own labels and formats.
  static constexpr int kTextDifferenceFormat = 10065024;
  static constexpr int kTextBytes = 10065023;
  static constexpr int kTextNoDifferences = 10065020;

  // The differences from first to second, in the order the views show the fields.
  static std::vector<ImageDifference> compare(const RadioImage& first, const RadioImage& second);

  // One difference a line (text()), each line ended by "\n"; the no-differences text when the
  // list is empty.
  static std::string listText(const std::vector<ImageDifference>& differences);
};

} // namespace vpr
