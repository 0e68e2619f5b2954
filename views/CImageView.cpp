#include "views/CImageView.h"

#include "lang/CLanguageTable.h"

#include <QMdiSubWindow>
#include <QPushButton>

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

std::pair<QPushButton*, QPushButton*> CImageView::createFrameButtons(int viewHelp) {
  constexpr int kTextClose = 10002003;
  constexpr int kTextHelp = 10002004;
  auto* closeButton = new QPushButton(QString::fromStdString(textOf(kTextClose)), this);
  auto* helpButton = new QPushButton(QString::fromStdString(textOf(kTextHelp)), this);
  closeButton->setAutoDefault(false);
  helpButton->setAutoDefault(false);
  connect(closeButton, &QPushButton::clicked, this, &CImageView::closeFrame);
  connect(helpButton, &QPushButton::clicked, this, [this, viewHelp] { emit helpRequested(viewHelp); });
  return {closeButton, helpButton};
}

} // namespace vpr
