#pragma once
// The X clients the whole-program tests use on their display: xdotool sends keys and clicks
// through the X server, as a user's arrive (only the window and control that really have the
// focus get them), and xprop reads what the window manager sees of a window.

#include <QPoint>
#include <QString>
#include <QStringList>

class QWidget;

namespace vpr::test {

// Runs xdotool with the arguments ("key", "alt+f"; "mousemove", x, y, "click", "1") to its end;
// whether it did what it was asked.
bool xdotool(const QStringList& arguments);
// Keys in xdotool's names ("alt+f", "Return", "shift+Tab"), one after the other.
bool realKeys(const QStringList& names);
// A click of the left button at a point of a widget; the pointer moves there first, which gives
// the widget its hover.
bool realClick(const QWidget* widget, QPoint local);
// What xprop prints for the arguments; empty when it failed.
QString xprop(const QStringList& arguments);

} // namespace vpr::test
