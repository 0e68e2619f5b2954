#pragma once
// Bridges between the core's byte strings and Qt strings. The language file and the core
// hold UTF-8 text; every user-visible text of the Qt program passes through here.

#include "lang/CLanguageTable.h"

#include <QString>
#include <string>

namespace vpr {

inline QString toQString(const std::string& text) {
  return QString::fromStdString(text);
}

// The text of a text identifier, ready for a widget.
inline QString qtText(int id) {
  return toQString(textOf(id));
}

} // namespace vpr
