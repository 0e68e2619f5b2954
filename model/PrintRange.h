#pragma once
// The channel range of the Print Out List dialog: first and last channel within 1..channel
// count, the first never above the last. Typed values are clamped as the value fields of the
// views are; the spin buttons step by one with wrap-around.
//
// Only the rules live here; the dialog decides when an entry is finished.

#include <string>

namespace vpr {

class PrintRange {
public:
  explicit PrintRange(int channelCount) : count_(channelCount), last_(channelCount) {}

  int first() const { return first_; }
  int last() const { return last_; }
  int channelCount() const { return count_; }

  // Clamps typed text to 1..channel count; the text is rewritten to the clamped value.
  int clampTyped(std::string& text) const;
  // A finished entry of the first channel: the last follows when it lies below.
  void setFirst(int value);
  // A finished entry of the last channel: the first follows when it lies above.
  void setLast(int value);
  // One step of a spin button (+1 up, -1 down), wrapping within 1..channel count.
  void stepFirst(int direction);
  void stepLast(int direction);
  // Back to the whole range 1..channel count.
  void reset();

private:
  int clamp(int value) const;

  int count_;
  int first_ = 1;
  int last_;
};

} // namespace vpr
