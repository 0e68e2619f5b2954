#include "app/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace vpr {

namespace {

long long overlap(const QRect& a, const QRect& b) {
  const QRect common = a.intersected(b);
  return common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
}

} // namespace

QRect fitOnScreens(QRect client, const QMargins& frame, const QList<QRect>& available) {
  if (available.isEmpty()) return client;
  const QRect framed = client.marginsAdded(frame);
  const QRect* area = &available.front();
  for (const QRect& candidate : available)
    if (overlap(framed, candidate) > overlap(framed, *area)) area = &candidate;
  const QRect room = area->marginsRemoved(frame);
  client.setSize(client.size().boundedTo(room.size()).expandedTo(QSize(1, 1)));
  // Right and bottom first, so that a rectangle too far left or up ends at the area's start.
  client.moveLeft(std::max(room.left(), std::min(client.left(), room.right() - client.width() + 1)));
  client.moveTop(std::max(room.top(), std::min(client.top(), room.bottom() - client.height() + 1)));
  return client;
}

QMargins windowFrameMargins(const QWidget& window) {
  // The window's own reading of its frame, which it takes again whenever the window manager
  // changes the frame. The widget's frame geometry is not used: it keeps the margins read at the
  // window's last move or resize, and a window manager that had not yet sized its frame then
  // leaves them negative (a frame of 0x0 around a window of 586x318) until the window next moves.
  if (window.isVisible())
    if (const QWindow* handle = window.windowHandle()) {
      const QMargins measured = handle->frameMargins();
      if (!measured.isNull() && measured.left() >= 0 && measured.top() >= 0 && measured.right() >= 0 &&
          measured.bottom() >= 0)
        return measured;
    }
  // Not yet framed by the window manager: a title bar of two text lines and borders as wide as the
  // widest usual frames (Windows' resize borders are 8 pixels); a guess on the large side only
  // leaves a small gap at the screen's edge.
  const int titleBar = std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window),
                                2 * window.fontMetrics().height());
  const int border = 8;
  return {border, titleBar + border, border, border};
}

QList<QRect> availableScreenAreas() {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens())
    areas.append(screen->availableGeometry());
  // The primary screen first: a rectangle on no screen goes there.
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    areas.removeAll(primary->availableGeometry());
    areas.prepend(primary->availableGeometry());
  }
  return areas;
}

void fitWindowOnScreens(QWidget& window) {
  window.setGeometry(fitOnScreens(window.geometry(), windowFrameMargins(window), availableScreenAreas()));
}

} // namespace vpr
