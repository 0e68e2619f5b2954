#pragma once
// The one place where the main frame gets its editing views.

#include "views/ViewKind.h"

class QWidget;

namespace vpr {

class CImageView;
class UserInterface;

// A new view of the given kind, filled from the working image, or nullptr when that view
// is not available in this build.
CImageView* createView(ViewKind kind, QWidget* parent);

// The user interface the views show their messages through (the band-check warnings, the test
// frequency view's closing note). The application sets it once; until then the views use a Qt
// message-box implementation of their own.
void setViewUserInterface(UserInterface* ui);

} // namespace vpr
