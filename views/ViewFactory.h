#pragma once
// The one place where the main frame gets its editing views.

#include "views/ViewKind.h"

class QWidget;

namespace vpr {

class CImageView;

// A new view of the given kind, filled from the working image, or nullptr when that view
// is not available in this build.
CImageView* createView(ViewKind kind, QWidget* parent);

} // namespace vpr
