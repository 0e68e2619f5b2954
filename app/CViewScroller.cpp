#include "app/CViewScroller.h"

#include "views/CImageView.h"

namespace vpr {

CViewScroller::CViewScroller(CImageView* view, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(view);
  // Focus belongs to the view's controls, never to the pane.
  setFocusPolicy(Qt::NoFocus);
  setFocusProxy(view);
}

CImageView* CViewScroller::view() const {
  return qobject_cast<CImageView*>(widget());
}

QSize CViewScroller::sizeHint() const {
  const QWidget* content = widget();
  if (!content) return QScrollArea::sizeHint();
  const int frame = 2 * frameWidth();
  return content->sizeHint().expandedTo(content->minimumSizeHint()) + QSize(frame, frame);
}

} // namespace vpr
