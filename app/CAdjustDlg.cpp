#include "app/CAdjustDlg.h"

#include "link/TestModeSession.h"
#include "views/QtText.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr int kTextApplied = 10024001;
constexpr int kTextCurrent = 10024002;
constexpr int kTextApply = 10002033;
constexpr int kTextClose = 10002003;
constexpr int kTextHelp = 10002004;
// The dialog opens this far below its place over the test dialog, so that the test dialog's
// frequencies stay visible.
constexpr int kOffsetDown = 130;
constexpr int kPageStep = 51;

QString valueText(int value) {
  return QString::asprintf("     % 7d ", value);
}

bool isSliderKey(int key) {
  switch (key) {
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Up:
  case Qt::Key_Down:
  case Qt::Key_PageUp:
  case Qt::Key_PageDown:
  case Qt::Key_Home:
  case Qt::Key_End:
    return true;
  default:
    return false;
  }
}

} // namespace

CAdjustDlg::CAdjustDlg(TestModeSession& session, HelpCallback help, QWidget* parent)
    : QDialog(parent), session_(session), help_(std::move(help)),
      helpContext_(TestModeSession::item(session.adjustItemIndex()).helpContext) {
  setWindowTitle(qtText(TestModeSession::item(session_.adjustItemIndex()).nameText));

  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setObjectName("slider");
  // The slider and the field both set the value of the item the window is titled with.
  slider_->setAccessibleName(windowTitle());
  slider_->setRange(0, kAdjustValueMax);
  slider_->setPageStep(kPageStep);
  slider_->setMinimumWidth(320);
  slider_->setValue(session_.currentValue());
  spin_ = new QSpinBox(this);
  spin_->setObjectName("spin");
  spin_->setAccessibleName(windowTitle());
  spin_->setRange(0, kAdjustValueMax);
  spin_->setKeyboardTracking(false);
  spin_->setValue(session_.currentValue());
  auto* minimum = new QLabel(QString::asprintf("%d", 0), this);
  auto* maximum = new QLabel(QString::asprintf("%3d", kAdjustValueMax), this);

  current_ = new QLabel(this);
  current_->setObjectName("currentValue");
  applied_ = new QLabel(this);
  applied_->setObjectName("appliedValue");
  for (QLabel* value : {current_, applied_}) {
    value->setFrameShape(QFrame::StyledPanel);
    value->setFrameShadow(QFrame::Sunken);
  }

  auto* values = new QGridLayout;
  values->addWidget(new QLabel(qtText(kTextCurrent), this), 0, 0);
  values->addWidget(current_, 0, 1);
  values->addWidget(new QLabel(qtText(kTextApplied), this), 1, 0);
  values->addWidget(applied_, 1, 1);

  auto* scale = new QHBoxLayout;
  scale->addWidget(minimum);
  scale->addWidget(slider_, 1);
  scale->addWidget(maximum);
  scale->addWidget(spin_);

  applyButton_ = new QPushButton(qtText(kTextApply), this);
  applyButton_->setObjectName("applyButton");
  closeButton_ = new QPushButton(qtText(kTextClose), this);
  closeButton_->setObjectName("closeButton");
  helpButton_ = new QPushButton(qtText(kTextHelp), this);
  helpButton_->setObjectName("helpButton");
  helpButton_->setEnabled(static_cast<bool>(help_));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {applyButton_, closeButton_, helpButton_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(scale);
  layout->addLayout(values);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(slider_, &QSlider::valueChanged, this, &CAdjustDlg::moveTo);
  connect(spin_, &QSpinBox::valueChanged, this, [this](int value) {
    if (!slider_->hasFocus()) slider_->setFocus();
    moveTo(value);
  });
  connect(applyButton_, &QPushButton::clicked, this, &CAdjustDlg::apply);
  connect(closeButton_, &QPushButton::clicked, this, &CAdjustDlg::reject);
  connect(helpButton_, &QPushButton::clicked, this, [this] { help_(helpContext_); });
  for (QWidget* child : findChildren<QWidget*>())
    child->installEventFilter(this);
  showValues();
}

CAdjustDlg::~CAdjustDlg() {
  session_.forgetRequests(this);
}

void CAdjustDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!placed_ && parentWidget()) {
    placed_ = true;
    move(parentWidget()->geometry().topLeft() + QPoint(0, kOffsetDown));
  }
  slider_->setFocus();
}

void CAdjustDlg::moveTo(int value) {
  session_.whenIdle(
      this, [this, value] { sendValue(value); }, RequestQueue::Merge::WithLast);
}

void CAdjustDlg::sendValue(int value) {
  if (leaving_) return;
  if (session_.setValue(value) == TestModeSession::Outcome::Failed) {
    // The user gave up on the radio: the adjustment ends, and the test mode with it.
    closing_ = true;
    session_.forgetRequests(this);
    leave(QDialog::Rejected);
    return;
  }
  showValues();
}

void CAdjustDlg::showValues() {
  const QSignalBlocker sliderBlock(slider_);
  const QSignalBlocker spinBlock(spin_);
  slider_->setValue(session_.currentValue());
  spin_->setValue(session_.currentValue());
  current_->setText(valueText(session_.currentValue()));
  applied_->setText(valueText(session_.appliedValue()));
}

void CAdjustDlg::apply() {
  session_.whenIdle(this, [this] {
    session_.apply();
    showValues();
  });
}

void CAdjustDlg::done(int result) {
  session_.whenIdle(this, [this, result] { leave(result); });
}

void CAdjustDlg::leave(int result) {
  if (leaving_) return;
  leaving_ = true;
  if (session_.leaveAdjustment(!closing_) != TestModeSession::Outcome::Done) closing_ = true;
  QDialog::done(closing_ ? QDialog::Rejected : result);
}

bool CAdjustDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const bool onButton = watched == closeButton_ || watched == helpButton_;
  // The arrow and page keys move the slider from anywhere but Close and Help, Down as Left and
  // Up as Right.
  if (isSliderKey(key->key()) && !onButton && watched != slider_) {
    QKeyEvent forwarded(QEvent::KeyPress, key->key(), key->modifiers());
    QApplication::sendEvent(slider_, &forwarded);
    return true;
  }
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    // Enter presses Apply, Close and Help, and moves on from anything else.
    if (auto* button = qobject_cast<QPushButton*>(watched); button && (onButton || watched == applyButton_))
      button->click();
    else
      focusNextChild();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void CAdjustDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && help_) {
    help_(helpContext_);
    return;
  }
  QDialog::keyPressEvent(event);
}

} // namespace vpr
