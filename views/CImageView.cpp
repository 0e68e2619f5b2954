#include "views/CImageView.h"

#include <QMdiSubWindow>

namespace vpr {

void CImageView::closeFrame() {
  for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(w)) {
      frame->close();
      return;
    }
  }
  close();
}

void CImageView::focusNeighbour(QWidget* from, bool forward) {
  QWidget* w = from;
  for (int guard = 0; guard < 1000; ++guard) {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    if (!w || w == from) return;
    if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && isAncestorOf(w) &&
        !w->focusProxy()) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return;
    }
  }
}

} // namespace vpr
