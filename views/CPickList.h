#pragma once
// The drop-down list a form view lays over a pick field while that field has focus. It holds
// the item's choices; a choice is reported at once; when focus leaves it, the field comes back.

#include "model/ValueCodec.h"

#include <QComboBox>
#include <span>

namespace vpr {

class CPickField;

class CPickList : public QComboBox {
  Q_OBJECT
public:
  explicit CPickList(QWidget* parent = nullptr);

  // Covers the field with the list of choices, selects the entry whose text equals the field's
  // text (none when absent), takes focus and hides the field; drops the list open when the
  // field was clicked.
  void open(CPickField* field, std::span<const ChoiceEntry> choices);
  // Shows the field again; the list is emptied, hidden and disabled.
  void putBack();
  CPickField* field() const { return field_; }

signals:
  // The user chose the entry with this value.
  void chosen(int value);
  // Focus left the list; the field is shown again.
  void closed(CPickField* field);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;

private:
  void leave(bool forward);

  CPickField* field_ = nullptr;
};

} // namespace vpr
