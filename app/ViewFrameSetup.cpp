#include "app/ViewFrameSetup.h"

#include "app/CViewScroller.h"
#include "views/CImageView.h"

#include <QAction>
#include <QKeySequence>
#include <QMdiSubWindow>
#include <QMenu>

namespace vpr {

void setUpViewFrame(QMdiSubWindow& frame, CImageView* view) {
  frame.setAttribute(Qt::WA_DeleteOnClose);
  view->setWindowTitle(view->viewTitle());
  frame.setWidget(new CViewScroller(view));
  // The frame takes its title from the pane it holds, which has none of its own.
  frame.setWindowTitle(view->windowTitle());
  if (QMenu* menu = frame.systemMenu()) {
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    for (QAction* action : menu->actions()) {
      QList<QKeySequence> keys = action->shortcuts();
      if (keys.removeAll(ctrlW) > 0) action->setShortcuts(keys);
    }
  }
}

CImageView* viewInFrame(const QMdiSubWindow* frame) {
  auto* scroller = frame ? qobject_cast<CViewScroller*>(frame->widget()) : nullptr;
  return scroller ? scroller->view() : nullptr;
}

} // namespace vpr
