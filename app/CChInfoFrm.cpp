#include "app/CChInfoFrm.h"

#include "app/ViewFrameSetup.h"

#include "views/CImageView.h"

namespace vpr {

CChInfoFrm::CChInfoFrm(CImageView* view, QWidget* parent) : QMdiSubWindow(parent) {
  setUpViewFrame(*this, view);
}

CImageView* CChInfoFrm::view() const {
  return viewInFrame(this);
}

} // namespace vpr
