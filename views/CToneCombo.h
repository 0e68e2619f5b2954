#pragma once
// The editable tone field: a drop-down combo whose edit part holds at most five characters and
// takes only what can start or continue a tone text ("67.0", "D023N").

#include <QComboBox>
#include <optional>

namespace vpr {

class CToneCombo : public QComboBox {
  Q_OBJECT
public:
  explicit CToneCombo(QWidget* parent = nullptr);

  // Refills the list: the entry for no tone, then every tone of the tone list.
  void fillToneList();

  // The character that typing `typed` puts into a tone field holding `text` with the selection
  // [selStart, selStart + selLength), or nothing when the key is refused.
  static std::optional<QChar> filterChar(const QString& text, int selStart, int selLength, QChar typed);

signals:
  // Keyboard focus left the combo for another widget of the program.
  void focusLost();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool filterKey(QKeyEvent* event);
  void insertFiltered(const QString& text);
};

} // namespace vpr
