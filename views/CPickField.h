#pragma once
// The read-only looking field of a pick-list item: it shows the chosen value as text, and when
// it takes focus the view covers it with a drop-down list of the item's choices.

#include <QLineEdit>

namespace vpr {

class CPickField : public QLineEdit {
  Q_OBJECT
public:
  explicit CPickField(QWidget* parent = nullptr);

  // The field took focus through a left click (cleared once the list has dropped for it).
  bool wasClicked() const { return clicked_; }
  void clearClicked() { clicked_ = false; }

signals:
  void focusGained();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  bool clicked_ = false;
};

} // namespace vpr
