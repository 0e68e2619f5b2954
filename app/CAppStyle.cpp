#include "app/CAppStyle.h"

#include <QDialog>

namespace vpr {

int CAppStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

Qt::WindowFlags CAppStyle::dialogFlags(Qt::WindowFlags flags) {
  return (flags & Qt::WindowType_Mask) | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

void CAppStyle::polish(QWidget* widget) {
  QProxyStyle::polish(widget);
  // A dialog is polished when it is first shown, before the window manager sees it.
  if (qobject_cast<QDialog*>(widget) && widget->isWindow()) {
    const Qt::WindowFlags wanted = dialogFlags(widget->windowFlags());
    if (widget->windowFlags() != wanted) widget->overrideWindowFlags(wanted);
  }
}

} // namespace vpr
