#include "model/PrintRange.h"

#include "model/ValueCodec.h"

#include <algorithm>

namespace vpr {

int PrintRange::clamp(int value) const {
  return std::clamp(value, 1, std::max(count_, 1));
}

int PrintRange::clampTyped(std::string& text) const {
  return clampToStep(text, count_, 1, 1);
}

void PrintRange::setFirst(int value) {
  first_ = clamp(value);
  if (first_ > last_) last_ = first_;
}

void PrintRange::setLast(int value) {
  last_ = clamp(value);
  if (last_ < first_) first_ = last_;
}

void PrintRange::stepFirst(int direction) {
  setFirst(stepValue(first_, count_, 1, 1, direction));
}

void PrintRange::stepLast(int direction) {
  setLast(stepValue(last_, count_, 1, 1, direction));
}

void PrintRange::reset() {
  first_ = 1;
  last_ = count_;
}

} // namespace vpr
