#include "app/CChildFrame.h"

#include "app/ViewFrameSetup.h"

#include "views/CImageView.h"

#include <QCloseEvent>
#include <QTimer>

namespace vpr {

namespace {
bool& closingAllFlag() {
  static bool closing = false;
  return closing;
}
} // namespace

CChildFrame::CChildFrame(CImageView* view, QWidget* parent) : QMdiSubWindow(parent) {
  setUpViewFrame(*this, view);
}

CImageView* CChildFrame::view() const {
  return viewInFrame(this);
}

void CChildFrame::setClosingAll(bool closing) {
  closingAllFlag() = closing;
}

bool CChildFrame::closingAll() {
  return closingAllFlag();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (closeGranted_ || closingAll() || !view()) {
    QMdiSubWindow::closeEvent(event);
    return;
  }
  // Let pending work of the view (an open cell editor, a focus-out commit) finish first.
  event->ignore();
  if (!closePosted_) {
    closePosted_ = true;
    QTimer::singleShot(0, this, &CChildFrame::deferredClose);
  }
}

void CChildFrame::deferredClose() {
  closePosted_ = false;
  CImageView* v = view();
  if (v && !v->queryClose()) return;
  closeGranted_ = true;
  close();
}

} // namespace vpr
