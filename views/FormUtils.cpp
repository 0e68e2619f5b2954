#include "views/FormUtils.h"

#include "lang/CLanguageTable.h"
#include "views/CSpinEdit.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace vpr {

void fillChoices(QComboBox* combo, std::span<const ChoiceEntry> choices) {
  combo->clear();
  for (const ChoiceEntry& entry : choices)
    combo->addItem(QString::fromStdString(textOf(entry.textId)), entry.value);
}

int pickFieldWidth(const QWidget* context, std::span<const ChoiceEntry> choices) {
  QComboBox probe;
  probe.setFont(context->font());
  probe.setSizeAdjustPolicy(QComboBox::AdjustToContents);
  fillChoices(&probe, choices);
  return probe.sizeHint().width();
}

void labelField(QLabel* label, QWidget* field) {
  label->setBuddy(field);
  const QString name = QString(label->text()).remove(QLatin1Char('&'));
  for (QWidget* w = field; w; w = w->focusProxy())
    w->setAccessibleName(name);
}

void configureValueEdit(CSpinEdit* spin, int inputMode, int maxLength) {
  spin->edit()->setInputMode(inputMode);
  spin->edit()->setMaxLength(maxLength);
}

void focusNeighbour(QWidget* scope, QWidget* from, bool forward) {
  QWidget* w = from;
  // The focus chain is circular; one turn through it is enough.
  for (int guard = 0; guard < 10000; ++guard) {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    if (!w || w == from) return;
    if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && scope->isAncestorOf(w) &&
        !w->focusProxy()) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return;
    }
  }
}

void layOutForm(QWidget* view, QLayout* fields, QPushButton* closeButton, QPushButton* helpButton) {
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(closeButton);
  buttons->addWidget(helpButton);
  buttons->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(fields);
  columns->setAlignment(fields, Qt::AlignTop);
  columns->addSpacing(16);
  columns->addLayout(buttons);
  // A frame wider than the form leaves the room at the right: labels, fields and buttons stay
  // together instead of spreading to the frame's edges.
  columns->addStretch(1);
  auto* layout = new QVBoxLayout(view);
  layout->addLayout(columns);
  layout->addStretch();
}

} // namespace vpr
