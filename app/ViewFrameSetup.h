#pragma once
// What the two kinds of child frame share when they take in an editing view.

class QMdiSubWindow;

namespace vpr {

class CImageView;

// Puts the view into the frame (in a scrolling pane, see CViewScroller), titles the frame with the view's
// title, lets the frame delete itself when closed, and keeps the frame's system menu off the main window's
// accelerators: Qt gives its Close action Ctrl+W besides Ctrl+F4, and a key claimed twice reaches neither, so
// Write Data to Radio (Ctrl+W) would do nothing while a view has the focus.
void setUpViewFrame(QMdiSubWindow& frame, CImageView* view);

// The editing view a frame holds (nullptr for another kind of window).
CImageView* viewInFrame(const QMdiSubWindow* frame);

} // namespace vpr
