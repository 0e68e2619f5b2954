#include "app/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
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
  if (window.isVisible()) {
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    if (outer != inner)
      return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
              outer.bottom() - inner.bottom()};
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
