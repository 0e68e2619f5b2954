#include "views/ViewFactory.h"

#include "views/CImageView.h"

namespace vpr {

CImageView* createView(ViewKind kind, QWidget* parent) {
  (void)parent;
  switch (kind) {
  case ViewKind::ChannelInfo:
  case ViewKind::Features:
  case ViewKind::Keys:
  case ViewKind::TestFrequencies:
    return nullptr;
  }
  return nullptr;
}

} // namespace vpr
