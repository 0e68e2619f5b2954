#pragma once
// A line edit that accepts only the characters its input mode allows. Used as the frequency
// cell editor and as the numeric value field of the form views.

#include <QLineEdit>
#include <optional>

namespace vpr {

class CFilterEdit : public QLineEdit {
  Q_OBJECT
public:
  // What a field accepts: nothing, everything, digits, a frequency (digits and one decimal
  // separator), or hexadecimal digits (typed lower case becomes upper case).
  enum InputMode { NoInput = 0, AnyInput = 1, DigitInput = 2, FrequencyInput = 3, HexInput = 6 };

  explicit CFilterEdit(QWidget* parent = nullptr);

  void setInputMode(int mode) { mode_ = mode; }
  int inputMode() const { return mode_; }

  // The character that typing `typed` puts into a field of the given mode holding `text` with
  // the selection [selStart, selStart + selLength), or nothing when the key is refused.
  // Characters at or below a space never qualify.
  static std::optional<QChar> filterChar(int mode, const QString& text, int selStart, int selLength,
                                         QChar typed);

  // The decimal separator the program formats and parses numbers with.
  static QChar decimalSeparator();

signals:
  // Keyboard focus left the field for another widget of the program.
  void focusLost();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // A middle-button paste of the X11 selection goes through the filter like typed keys.
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  void insertFiltered(const QString& text);

  int mode_ = AnyInput;
};

// True when a focus change of this reason means the user really left the field (not a popup
// opening or the whole window being deactivated).
bool focusReallyLeft(Qt::FocusReason reason);

} // namespace vpr
