#pragma once
// The text table's texts as QString.

#include "lang/CLanguageTable.h"

#include <QString>

namespace vpr {

inline QString qtText(int id) {
  return QString::fromStdString(textOf(id));
}

} // namespace vpr
