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
  // The frame takes its title from the pane it holds, which has none of its own, and follows
  // the view's caption as it changes (the channel view names the current channel in it).
  frame.setWindowTitle(view->windowTitle());
  QObject::connect(view, &QWidget::windowTitleChanged, &frame, &QWidget::setWindowTitle);
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
