#include "views/CKeyView.h"

#include "lang/CLanguageTable.h"
#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "views/CPickField.h"
#include "views/CPickList.h"
#include "views/FormUtils.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

namespace vpr {

namespace {

constexpr int kTextViewName = 10027001;
constexpr int kFieldHelp = 205057;
constexpr int kViewHelp = 204800;

QString qText(int id) {
  return QString::fromStdString(textOf(id));
}

} // namespace

CKeyView::CKeyView(RadioData& data, QWidget* parent) : CImageView(parent), data_(data) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  label_ = new QLabel(qText(DisplayText::kMoniKeyLabelId), this);
  field_ = new CPickField(this);
  field_->setFixedWidth(pickFieldWidth(this, choices::kMoniKey));
  field_->installEventFilter(this);
  labelField(label_, field_);
  grid->addWidget(label_, 0, 0);
  grid->addWidget(field_, 0, 1);
  list_ = new CPickList(this);
  connect(field_, &CPickField::focusGained, this, [this] { list_->open(field_, choices::kMoniKey); });
  connect(list_, &CPickList::chosen, this, [this](int value) {
    data_.setMoniKey(value);
    data_.recordStep(textOf(DisplayText::kMoniKeyLabelId));
    display();
  });
  connect(list_, &CPickList::closed, this, &CKeyView::display);

  const auto [closeButton, helpButton] = createFrameButtons(kViewHelp);
  layOutForm(this, grid, closeButton, helpButton);

  setWindowTitle(qText(kTextViewName));
  display();
}

QString CKeyView::viewTitle() const {
  return qText(kTextViewName);
}

int CKeyView::helpContext() const {
  const QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == field_ || focus == list_ || list_->isAncestorOf(focus))) return kFieldHelp;
  return kViewHelp;
}

void CKeyView::display() {
  field_->setText(QString::fromStdString(DisplayText::moniKeyText(data_.moniKey()).text));
  field_->setEnabled(true);
}

void CKeyView::reloadFromImage() {
  if (list_->field()) list_->putBack();
  display();
  update();
}

bool CKeyView::queryClose() {
  // A choice in progress is settled before the frame goes.
  if (list_->field()) {
    list_->putBack();
    display();
  }
  return true;
}

bool CKeyView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      focusNeighbour(this, field_, true);
      return true;
    }
  }
  return CImageView::eventFilter(watched, event);
}

} // namespace vpr
