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

} // namespace vpr
