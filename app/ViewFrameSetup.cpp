#include "app/ViewFrameSetup.h"

#include "views/CImageView.h"

#include <QAction>
#include <QKeySequence>
#include <QMdiSubWindow>
#include <QMenu>

namespace vpr {

void setUpViewFrame(QMdiSubWindow& frame, CImageView* view) {
  frame.setAttribute(Qt::WA_DeleteOnClose);
  frame.setWidget(view);
  view->setWindowTitle(view->viewTitle());
  if (QMenu* menu = frame.systemMenu()) {
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    for (QAction* action : menu->actions()) {
      QList<QKeySequence> keys = action->shortcuts();
      if (keys.removeAll(ctrlW) > 0) action->setShortcuts(keys);
    }
  }
}

} // namespace vpr
