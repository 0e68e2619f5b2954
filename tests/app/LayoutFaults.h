#pragma once
// What a user would see wrong in a window as it is shown: a text wider than the widget showing
// it, two controls of one parent on top of each other, a control reaching out of its parent or a
// window out of its screen, a control that takes the keyboard without a name a screen reader can
// announce, and two controls sharing an accelerator letter. The tests of every view and dialog,
// at every scale and in every language, walk their windows with this one checker.

#include <QRect>
#include <QStringList>
#include <gtest/gtest.h>

class QMenu;
class QWidget;

namespace vpr::test {

// Every fault of a widget (a window or a part of one) and its visible children, one line each
// ("<class> "<text>": needs N of M", "<class> over <class> in <class>", ...), and of its window
// on the screen; empty when there is none.
QStringList layoutFaults(const QWidget& root);

// The faults of a menu and its submenus: accelerator letters that two items of one menu share.
QStringList menuFaults(const QMenu& menu);

// The window with the frame and title bar the window manager put around it, as the window last
// read them from the window manager (an empty frame while it has not framed the window).
QRect framedGeometry(const QWidget& window);

// Success when the widget shows no fault, otherwise a failure listing them.
::testing::AssertionResult laidOutCleanly(const QWidget& root);

} // namespace vpr::test
