#include "views/CFeatureView.h"

#include "lang/CLanguageTable.h"
#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "views/CFilterEdit.h"
#include "views/CPickField.h"
#include "views/CPickList.h"
#include "views/CSpinEdit.h"
#include "views/FormUtils.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

namespace vpr {

namespace {

constexpr int kTextViewName = 10027002;
constexpr int kItemHelp[CFeatureView::ItemCount] = {209153, 209154, 209155, 209156, 209157};
constexpr int kViewHelp = 208896;
constexpr int kTimeOutDigits = 3;
constexpr int kSquelchDigits = 1;

QString qText(int id) {
  return QString::fromStdString(textOf(id));
}

bool isEnterKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CFeatureView::CFeatureView(RadioData& data, QWidget* parent) : CImageView(parent), data_(data) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  timeOut_ = new CSpinEdit(this);
  squelch_ = new CSpinEdit(this);
  configureValueEdit(timeOut_, CFilterEdit::DigitInput, kTimeOutDigits);
  configureValueEdit(squelch_, CFilterEdit::DigitInput, kSquelchDigits);
  fields_[TimeOut] = timeOut_;
  fields_[Squelch] = squelch_;
  for (const int item : {BeepTone, BatterySaver, WideNarrow}) {
    auto* field = new CPickField(this);
    connect(field, &CPickField::focusGained, this, [this, item] { openList(item); });
    fields_[item] = field;
  }
  const int fieldWidth = std::max(
      {fontMetrics().horizontalAdvance(QStringLiteral("M")) * 12, pickFieldWidth(this, choices::kBeepTone),
       pickFieldWidth(this, choices::kBatterySaver), pickFieldWidth(this, choices::narrowChoices(0))});
  for (int item = 0; item < ItemCount; ++item) {
    labels_[item] = new QLabel(qText(DisplayText::featureLabelId(FeatureItem(item))), this);
    labelField(labels_[item], fields_[item]);
    fields_[item]->setFixedWidth(fieldWidth);
    fields_[item]->installEventFilter(this);
    grid->addWidget(labels_[item], item, 0);
    grid->addWidget(fields_[item], item, 1);
  }
  list_ = new CPickList(this);
  connect(list_, &CPickList::chosen, this, &CFeatureView::choose);
  connect(list_, &CPickList::closed, this, [this](CPickField* field) { display(itemOfField(field)); });
  connect(timeOut_, &CSpinEdit::focusLost, this, [this] { commitTyped(TimeOut); });
  connect(squelch_, &CSpinEdit::focusLost, this, [this] { commitTyped(Squelch); });
  connect(timeOut_, &CSpinEdit::stepped, this, [this](int direction) { spin(TimeOut, direction); });
  connect(squelch_, &CSpinEdit::stepped, this, [this](int direction) { spin(Squelch, direction); });

  const auto [closeButton, helpButton] = createFrameButtons(kViewHelp);
  layOutForm(this, grid, closeButton, helpButton);

  setWindowTitle(qText(kTextViewName));
  displayAll();
  updateEnables();
}

QString CFeatureView::viewTitle() const {
  return qText(kTextViewName);
}

int CFeatureView::helpContext() const {
  const QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == list_ || list_->isAncestorOf(focus)) && openItem_ >= 0) return kItemHelp[openItem_];
  const int item = itemOfField(focus);
  return item >= 0 ? kItemHelp[item] : kViewHelp;
}

CSpinEdit* CFeatureView::spinField(Item item) const {
  return qobject_cast<CSpinEdit*>(fields_[item]);
}

CPickField* CFeatureView::pickField(Item item) const {
  return qobject_cast<CPickField*>(fields_[item]);
}

int CFeatureView::itemOfField(const QWidget* widget) const {
  for (int item = 0; item < ItemCount; ++item) {
    if (widget && (widget == fields_[item] || fields_[item]->isAncestorOf(widget))) return item;
  }
  return -1;
}

void CFeatureView::reloadFromImage() {
  if (list_->field()) list_->putBack();
  displayAll();
  updateEnables();
}

void CFeatureView::commitPendingEdit() {
  for (const Item item : {TimeOut, Squelch}) {
    const QString shown = QString::fromStdString(DisplayText::featureText(data_, FeatureItem(item)).text);
    if (spinField(item)->text() != shown) commitTyped(item);
  }
}

void CFeatureView::display(int item) {
  if (item < 0 || item >= ItemCount) return;
  const QString text = QString::fromStdString(DisplayText::featureText(data_, FeatureItem(item)).text);
  if (auto* spinEdit = qobject_cast<CSpinEdit*>(fields_[item])) {
    spinEdit->setText(text);
  } else if (auto* field = qobject_cast<CPickField*>(fields_[item])) {
    field->setText(text);
  }
}

void CFeatureView::displayAll() {
  for (int item = 0; item < ItemCount; ++item)
    display(item);
}

void CFeatureView::updateEnables() {
  const int restriction = data_.spacingRestriction();
  const bool wideNarrowFree = restriction != 1 && restriction != 2;
  QWidget* field = fields_[WideNarrow];
  if (!wideNarrowFree && openItem_ == WideNarrow) {
    // The disabled item gives up the focus and is no longer the remembered field.
    if (list_->field() == field) list_->putBack();
    if (QApplication::focusWidget() == field || QApplication::focusWidget() == list_)
      focusNeighbour(this, field, true);
    openItem_ = -1;
  }
  field->setEnabled(wideNarrowFree);
  labels_[WideNarrow]->setEnabled(wideNarrowFree);
}

void CFeatureView::commitTyped(int item) {
  const std::string text = qobject_cast<CSpinEdit*>(fields_[item])->text().left(99).toStdString();
  if (item == TimeOut) data_.commitTimeOutText(text);
  if (item == Squelch) data_.commitSquelchText(text);
  data_.recordStep(textOf(DisplayText::featureLabelId(FeatureItem(item))));
  display(item);
}

void CFeatureView::spin(int item, int direction) {
  commitTyped(item);
  if (item == TimeOut) data_.spinTimeOut(direction);
  if (item == Squelch) data_.spinSquelch(direction);
  data_.recordStep(textOf(DisplayText::featureLabelId(FeatureItem(item))));
  display(item);
  updateEnables();
  qobject_cast<CSpinEdit*>(fields_[item])->edit()->selectAll();
}

void CFeatureView::openList(int item) {
  auto* field = qobject_cast<CPickField*>(fields_[item]);
  if (!field || !field->isEnabled()) return;
  openItem_ = item;
  switch (item) {
  case BeepTone:
    list_->open(field, choices::kBeepTone);
    break;
  case BatterySaver:
    list_->open(field, choices::kBatterySaver);
    break;
  case WideNarrow:
    list_->open(field, choices::narrowChoices(data_.spacingRestriction()));
    break;
  default:
    break;
  }
}

void CFeatureView::choose(int value) {
  switch (openItem_) {
  case BeepTone:
    data_.setBeepTone(value);
    break;
  case BatterySaver:
    data_.setBatterySaver(value);
    break;
  case WideNarrow:
    data_.applyNarrowSetting(value);
    emit titleMayHaveChanged();
    break;
  default:
    return;
  }
  data_.recordStep(textOf(DisplayText::featureLabelId(FeatureItem(openItem_))));
  updateEnables();
}

bool CFeatureView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(event)->key())) {
    if (auto* widget = qobject_cast<QWidget*>(watched); itemOfField(widget) >= 0) {
      focusNeighbour(this, widget, true);
      return true;
    }
  }
  return CImageView::eventFilter(watched, event);
}

void CFeatureView::showEvent(QShowEvent* event) {
  CImageView::showEvent(event);
  if (!QApplication::focusWidget() || !isAncestorOf(QApplication::focusWidget())) {
    QWidget* target = openItem_ >= 0 ? fields_[openItem_] : fields_[TimeOut];
    if (target->isEnabled()) target->setFocus(Qt::OtherFocusReason);
  }
}

} // namespace vpr
