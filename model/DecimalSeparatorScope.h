#pragma once
// Sets the decimal separator of NumberText for the lifetime of one object and puts the previous
// one back afterwards.
//
// Files the program exchanges with other tools always write numbers with ".", whatever the
// user's locale; the value rules of the core read and print with NumberText's one separator, so
// readers and writers of such files hold one of these while they work. It is not for threads:
// the separator is process-wide, and the program does all this work on one thread.

#include "model/NumberText.h"

namespace vpr {

class DecimalSeparatorScope {
public:
  explicit DecimalSeparatorScope(char separator) : previous_(NumberText::decimalSeparator()) {
    NumberText::setDecimalSeparator(separator);
  }
  ~DecimalSeparatorScope() { NumberText::setDecimalSeparator(previous_); }
  DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
  DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

private:
  char previous_;
};

} // namespace vpr
