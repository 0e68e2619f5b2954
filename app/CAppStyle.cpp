#include "app/CAppStyle.h"

#include <QWidget>

namespace vpr {

int CAppStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void CAppStyle::polish(QWidget* widget) {
  QProxyStyle::polish(widget);
  // A window marked as if the focus had been moved by keys: the style draws the focus frame of
  // whatever control has the focus from the start, not only after the first Tab.
  if (widget->isWindow()) widget->setAttribute(Qt::WA_KeyboardFocusChange);
}

} // namespace vpr
