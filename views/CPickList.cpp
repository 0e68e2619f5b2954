#include "views/CPickList.h"

#include "views/AccessibleChoice.h"
#include "views/CFilterEdit.h"
#include "views/CImageView.h"
#include "views/CPickField.h"
#include "views/FormUtils.h"

#include <QKeyEvent>
#include <QTimer>

namespace vpr {

CPickList::CPickList(QWidget* parent) : QComboBox(parent) {
  setFocusPolicy(Qt::StrongFocus);
  hide();
  setEnabled(false);
  chooseOnAccessibleSelection(this);
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (field_ && index >= 0) emit chosen(itemData(index).toInt());
  });
}

void CPickList::open(CPickField* field, std::span<const ChoiceEntry> choices) {
  field_ = field;
  // The list stands in for the field, also for a screen reader.
  setAccessibleName(field->accessibleName());
  fillChoices(this, choices);
  const QRect rect = field->geometry();
  setGeometry(rect.x(), rect.y(), rect.width(), std::max(rect.height(), sizeHint().height()));
  setEnabled(true);
  show();
  setCurrentIndex(findText(field->text(), Qt::MatchExactly));
  setFocus(Qt::OtherFocusReason);
  raise();
  field->hide();
  if (field->wasClicked()) {
    field->clearClicked();
    // Drop the list once the click that focused the field is over.
    QTimer::singleShot(0, this, [this] {
      if (isVisible() && hasFocus()) showPopup();
    });
  }
}

void CPickList::putBack() {
  if (!field_) return;
  CPickField* field = field_;
  field_ = nullptr;
  field->show();
  clear();
  hide();
  setEnabled(false);
  field->update();
}

void CPickList::leave(bool forward) {
  CPickField* field = field_;
  if (!field) return;
  QWidget* scope = field->window();
  for (QWidget* w = field->parentWidget(); w; w = w->parentWidget()) {
    if (qobject_cast<CImageView*>(w)) {
      scope = w;
      break;
    }
  }
  emit closed(field);
  putBack();
  focusNeighbour(scope, field, forward);
}

void CPickList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    leave(true);
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

bool CPickList::focusNextPrevChild(bool next) {
  leave(next);
  return true;
}

void CPickList::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (field_ && focusReallyLeft(event->reason())) {
    CPickField* field = field_;
    emit closed(field);
    putBack();
  }
}

} // namespace vpr
