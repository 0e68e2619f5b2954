#include "views/CSpinEdit.h"

#include <QContextMenuEvent>
#include <QFocusEvent>

namespace vpr {

CSpinEdit::CSpinEdit(QWidget* parent) : QAbstractSpinBox(parent), edit_(new CFilterEdit(this)) {
  edit_->setInputMode(CFilterEdit::DigitInput);
  setLineEdit(edit_);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setAccelerated(false);
  setKeyboardTracking(true);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setContextMenuPolicy(Qt::PreventContextMenu);
  // Composed input would bypass the key filter of the field.
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CSpinEdit::stepBy(int steps) {
  if (steps != 0) emit stepped(steps > 0 ? 1 : -1);
}

void CSpinEdit::focusInEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusInEvent(event);
  edit_->selectAll();
}

void CSpinEdit::focusOutEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusOutEvent(event);
  if (focusReallyLeft(event->reason())) emit focusLost();
}

void CSpinEdit::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
}

} // namespace vpr
