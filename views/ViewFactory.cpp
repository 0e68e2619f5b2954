#include "views/ViewFactory.h"

#include "model/RadioData.h"
#include "views/CChInfoView.h"
#include "views/CFeatureView.h"
#include "views/CKeyView.h"
#include "views/CQtUserInterface.h"
#include "views/CTestFreqView.h"

namespace vpr {

namespace {

UserInterface*& chosenUserInterface() {
  static UserInterface* ui = nullptr;
  return ui;
}

UserInterface& viewUserInterface() {
  if (UserInterface* ui = chosenUserInterface()) return *ui;
  static CQtUserInterface fallback;
  return fallback;
}

} // namespace

void setViewUserInterface(UserInterface* ui) {
  chosenUserInterface() = ui;
}

CImageView* createView(ViewKind kind, QWidget* parent) {
  switch (kind) {
  case ViewKind::ChannelInfo:
    return new CChInfoView(radioData(), viewUserInterface(), parent);
  case ViewKind::Features:
    return new CFeatureView(radioData(), parent);
  case ViewKind::Keys:
    return new CKeyView(radioData(), parent);
  case ViewKind::TestFrequencies:
    return new CTestFreqView(radioData(), viewUserInterface(), parent);
  }
  return nullptr;
}

} // namespace vpr
