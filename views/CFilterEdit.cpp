#include "views/CFilterEdit.h"

#include "model/NumberText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vpr {

namespace {

bool isSeparator(QChar c) {
  return c == u'.' || c == u',';
}

// A separator already in the text blocks another one, unless the keystroke replaces a
// non-empty selection that holds it.
bool separatorAllowed(const QString& text, int selStart, int selLength, QChar separator) {
  const int existing = text.indexOf(separator);
  if (existing < 0) return true;
  return selLength > 0 && existing >= selStart && existing < selStart + selLength;
}

} // namespace

CFilterEdit::CFilterEdit(QWidget* parent) : QLineEdit(parent) {
  setDragEnabled(false);
  setAcceptDrops(false);
  setContextMenuPolicy(Qt::PreventContextMenu);
  // Composed input would bypass the key filter; these fields take plain keys only.
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

QChar CFilterEdit::decimalSeparator() {
  return QChar::fromLatin1(NumberText::decimalSeparator());
}

std::optional<QChar> CFilterEdit::filterChar(int mode, const QString& text, int selStart, int selLength,
                                             QChar typed) {
  if (typed.unicode() <= u' ') return std::nullopt;
  switch (mode) {
  case AnyInput:
    return typed;
  case DigitInput:
    if (typed.isDigit() && typed.unicode() < 128) return typed;
    return std::nullopt;
  case FrequencyInput:
    if (typed.isDigit() && typed.unicode() < 128) return typed;
    if (isSeparator(typed) && separatorAllowed(text, selStart, selLength, decimalSeparator()))
      return decimalSeparator();
    return std::nullopt;
  case HexInput:
    if (typed.isDigit() && typed.unicode() < 128) return typed;
    if (typed >= u'A' && typed <= u'F') return typed;
    if (typed >= u'a' && typed <= u'f') return typed.toUpper();
    return std::nullopt;
  default:
    return std::nullopt;
  }
}

void CFilterEdit::insertFiltered(const QString& text) {
  for (const QChar c : text) {
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLength = hasSelectedText() ? int(selectedText().size()) : 0;
    if (const auto accepted = filterChar(mode_, this->text(), selStart, selLength, c))
      insert(QString(*accepted));
  }
}

void CFilterEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    if (!isReadOnly()) insertFiltered(QApplication::clipboard()->text());
    event->accept();
    return;
  }
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed.front().unicode() > u' ' &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
  if (!printable) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  event->accept();
  if (!isReadOnly()) insertFiltered(typed);
}

void CFilterEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  selectAll();
}

void CFilterEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (focusReallyLeft(event->reason())) emit focusLost();
}

void CFilterEdit::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
}

void CFilterEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    const QClipboard* clipboard = QApplication::clipboard();
    if (!isReadOnly() && clipboard->supportsSelection())
      insertFiltered(clipboard->text(QClipboard::Selection));
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

bool focusReallyLeft(Qt::FocusReason reason) {
  // While a popup is open (the editor's own drop-down list, a menu), the focus is only lent to it
  // and comes back when it closes; on the X server it may move with any reason meanwhile.
  return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
         !QApplication::activePopupWidget();
}

} // namespace vpr
