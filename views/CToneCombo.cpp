#include "views/CToneCombo.h"

#include "lang/CLanguageTable.h"
#include "model/ValueCodec.h"
#include "views/AccessibleChoice.h"
#include "views/CFilterEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace vpr {

namespace {
constexpr int kToneTextLength = 5;
} // namespace

CToneCombo::CToneCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  setMaxVisibleItems(12);
  lineEdit()->setMaxLength(kToneTextLength);
  lineEdit()->setContextMenuPolicy(Qt::PreventContextMenu);
  lineEdit()->setDragEnabled(false);
  lineEdit()->setAcceptDrops(false);
  // Composed input would bypass the key filter; the field takes plain keys only.
  setAttribute(Qt::WA_InputMethodEnabled, false);
  lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
  lineEdit()->installEventFilter(this);
  setContextMenuPolicy(Qt::PreventContextMenu);
  chooseOnAccessibleSelection(this);
}

void CToneCombo::fillToneList() {
  clear();
  QStringList texts;
  texts.reserve(kToneListSize);
  for (int i = 0; i < kToneListSize; ++i)
    texts << QString::fromStdString(toneListText(i));
  addItems(texts);
  setCurrentIndex(-1);
}

std::optional<QChar> CToneCombo::filterChar(const QString& text, int selStart, int selLength, QChar typed) {
  if (typed.isDigit() && typed.unicode() < 128) return typed;
  if (typed == u'.' || typed == u',')
    return CFilterEdit::filterChar(CFilterEdit::FrequencyInput, text, selStart, selLength, typed);
  const QChar upper = typed.toUpper();
  if (upper == u'D') {
    const bool replacingFromStart = selLength > 0 && selStart == 0;
    if (text.contains(typed) && !replacingFromStart) return std::nullopt;
    const bool atStart = text.isEmpty() || selStart == 0;
    return atStart ? upper : typed;
  }
  if (upper == u'N' || upper == u'I') {
    const bool wholeSelected = selLength > 0 && selLength == text.size();
    const bool afterCode = text.startsWith(u'D') && !text.contains(u'N') && !text.contains(u'I');
    if (afterCode || wholeSelected) return upper;
    return std::nullopt;
  }
  return std::nullopt;
}

void CToneCombo::insertFiltered(const QString& text) {
  QLineEdit* edit = lineEdit();
  for (const QChar c : text) {
    const int selStart = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const int selLength = edit->hasSelectedText() ? int(edit->selectedText().size()) : 0;
    if (const auto accepted = filterChar(edit->text(), selStart, selLength, c))
      edit->insert(QString(*accepted));
  }
}

bool CToneCombo::filterKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    insertFiltered(QApplication::clipboard()->text());
    return true;
  }
  const QString typed = event->text();
  if (typed.isEmpty() || typed.front().unicode() <= u' ' ||
      (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
    return false;
  insertFiltered(typed);
  return true;
}

void CToneCombo::keyPressEvent(QKeyEvent* event) {
  if (filterKey(event)) {
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

bool CToneCombo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
    // A middle-button paste of the X11 selection goes through the filter like typed keys.
    const QClipboard* clipboard = QApplication::clipboard();
    if (clipboard->supportsSelection()) insertFiltered(clipboard->text(QClipboard::Selection));
    event->accept();
    return true;
  }
  if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
      filterKey(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QComboBox::eventFilter(watched, event);
}

void CToneCombo::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (focusReallyLeft(event->reason())) emit focusLost();
}

} // namespace vpr
