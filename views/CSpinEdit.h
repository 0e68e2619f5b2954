#pragma once
// A numeric value field with up and down buttons. The field is a CFilterEdit; the buttons and
// the Up and Down keys only report a step, and the view decides the new value (so that the
// value wraps around as the radio's values do).

#include "views/CFilterEdit.h"

#include <QAbstractSpinBox>

namespace vpr {

class CSpinEdit : public QAbstractSpinBox {
  Q_OBJECT
public:
  explicit CSpinEdit(QWidget* parent = nullptr);

  CFilterEdit* edit() const { return edit_; }
  QString text() const { return edit_->text(); }
  void setText(const QString& text) { edit_->setText(text); }

  void stepBy(int steps) override;

signals:
  // +1 for up, -1 for down.
  void stepped(int direction);
  void focusLost();

protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
  void focusOutEvent(QFocusEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  CFilterEdit* edit_;
};

} // namespace vpr
