#include "views/CPickField.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMouseEvent>

namespace vpr {

CPickField::CPickField(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  setCursor(Qt::ArrowCursor);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setFocusPolicy(Qt::StrongFocus);
  // While the list covers the field, the field keeps its place in the form's layout, so that
  // nothing around it moves.
  QSizePolicy policy = sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  setSizePolicy(policy);
  // Read-only looking: the value is changed through the list that covers the field.
  QPalette look = palette();
  look.setColor(QPalette::Base, look.color(QPalette::Button));
  setPalette(look);
}

void CPickField::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) clicked_ = true;
  QLineEdit::mousePressEvent(event);
}

void CPickField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (event->reason() == Qt::MouseFocusReason) clicked_ = true;
  emit focusGained();
}

void CPickField::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
}

} // namespace vpr
