#pragma once
// Keeps top-level windows where the user can reach them: a window rectangle (the client area, as
// Qt's geometry gives it) is fitted so that, with the window manager's frame and title bar
// around it, it lies whole on one of the screens. A rectangle saved on other screens or at
// another scale is shrunk and moved rather than restored off screen or larger than the screen.
// It decides geometry only; when to restore or show a window is the caller's business.

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

namespace vpr {

// The client rectangle moved (and shrunk where needed) so that client plus frame lies on the
// available area it overlaps most (the first area when it overlaps none). An empty area list
// leaves the rectangle as it is.
QRect fitOnScreens(QRect client, const QMargins& frame, const QList<QRect>& available);

// The frame the window manager puts around the window: measured once the window is on the
// screen, otherwise a generous estimate from the style (title bar and borders).
QMargins windowFrameMargins(const QWidget& window);

// The available areas of every screen, in the program's logical coordinates.
QList<QRect> availableScreenAreas();

// Fits the window's current geometry onto the screens (see fitOnScreens).
void fitWindowOnScreens(QWidget& window);

} // namespace vpr
