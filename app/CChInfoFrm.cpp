#include "app/CChInfoFrm.h"

#include "views/CImageView.h"

namespace vpr {

CChInfoFrm::CChInfoFrm(CImageView* view, QWidget* parent) : QMdiSubWindow(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWidget(view);
  view->setWindowTitle(view->viewTitle());
}

CImageView* CChInfoFrm::view() const {
  return qobject_cast<CImageView*>(widget());
}

} // namespace vpr
