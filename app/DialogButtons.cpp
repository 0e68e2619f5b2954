#include "app/DialogButtons.h"

#include "views/QtText.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace vpr {

namespace {
constexpr int textOk = 10002001;
constexpr int textCancel = 10002002;
constexpr int textHelp = 10002004;
} // namespace

QDialogButtonBox* makeOkCancelHelpButtons(QDialog& dialog, bool helpAvailable) {
  auto* buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(qtText(textOk));
  buttons->button(QDialogButtonBox::Cancel)->setText(qtText(textCancel));
  buttons->button(QDialogButtonBox::Help)->setText(qtText(textHelp));
  buttons->button(QDialogButtonBox::Help)->setEnabled(helpAvailable);
  return buttons;
}

void addHelpKey(QWidget& window, const std::function<void()>& showHelp) {
  QObject::connect(new QShortcut(QKeySequence::HelpContents, &window), &QShortcut::activated, &window,
                   showHelp);
}

bool pressFocusedButton(const QKeyEvent& event) {
  if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter) return false;
  auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
  if (!button || !button->isEnabled()) return false;
  button->click();
  return true;
}

} // namespace vpr
