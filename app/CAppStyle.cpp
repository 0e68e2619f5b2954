#include "app/CAppStyle.h"

#include <QEvent>
#include <QWidget>

namespace vpr {

int CAppStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void CAppStyle::polish(QWidget* widget) {
  QProxyStyle::polish(widget);
  if (widget->isWindow()) widget->installEventFilter(this);
}

bool CAppStyle::eventFilter(QObject* watched, QEvent* event) {
  // Each time a window shows or becomes active it is marked as if the focus had been moved by
  // keys (Qt takes the mark away on the way): the style then draws the focus frame of whatever
  // control has the focus from the start, not only after the first Tab.
  if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
    if (auto* window = qobject_cast<QWidget*>(watched)) window->setAttribute(Qt::WA_KeyboardFocusChange);
  return QProxyStyle::eventFilter(watched, event);
}

} // namespace vpr
