#pragma once
// The program's icons: each drawing of the icon set (res/icons/<name>.png) comes with a drawing of
// twice the size (<name>@2x.png).

#include <QIcon>

namespace vpr {

// The icon of that name with both drawings, each at its own size. Qt then draws it from the larger
// one on every screen with more than one pixel per point, 125 % and 150 % too; given a file name
// alone it takes the larger one only at 200 % and up, and only when the program started on such a
// screen.
QIcon iconFromSet(const char* name);

} // namespace vpr
