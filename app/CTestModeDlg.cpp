#include "app/CTestModeDlg.h"

#include "app/CAdjustDlg.h"
#include "app/DialogButtons.h"
#include "lang/TextFormat.h"
#include "lang/UserInterface.h"
#include "model/NumberText.h"
#include "model/RadioData.h"
#include "model/ValueCodec.h"
#include "views/CSpinEdit.h"
#include "views/QtText.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <chrono>

namespace vpr {

namespace {

constexpr int kTextCaption = 10023001;
constexpr int kTextChannelGroup = 10023002;
constexpr int kTextSignallingGroup = 10023003;
constexpr int kTextChannel = 10023004;
constexpr int kTextFrequency = 10023005;
constexpr int kTextSignalling = 10023006;
constexpr int kTextTone = 10023007;
constexpr int kTextReceive = 10023008;
constexpr int kTextTransmitRow = 10023009;
constexpr int kTextMegahertz = 10023015;
constexpr int kTextAdjustmentValues = 10009004;
constexpr int kTextTransmit = 10002010;
constexpr int kTextClose = 10002003;
constexpr int kTextHelp = 10002004;
constexpr int kTextPrint = 10002007;
constexpr int kTextCountdown = 10062001;
constexpr int kTextTransmitting = 10062002;
constexpr int kTextReceiving = 10062004;
constexpr int kTextAdjustmentOpen = 10062003;
constexpr int kTextLimitReached = 10062110;
constexpr int kTextAskAdjust = 10026108;
constexpr int kCaptionWarning = 10025003;

using Outcome = TestModeSession::Outcome;

CTestModeDlg* runningDialog = nullptr;

// The indicators: a lit lamp, green for receive and red for transmit.
QPixmap lamp(const QColor& colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient glow(QPointF(6, 6), 8);
  glow.setColorAt(0, colour.lighter(170));
  glow.setColorAt(1, colour);
  painter.setBrush(glow);
  painter.setPen(QPen(colour.darker(160), 1));
  painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  return pixmap;
}

// Shows the transmitter's state on its button without the button reporting a toggle of the user's.
void showChecked(QPushButton* button, bool checked) {
  const QSignalBlocker quiet(button);
  button->setChecked(checked);
}

int numberIn(const CSpinEdit* spin) {
  bool ok = false;
  const int number = spin->text().toInt(&ok);
  return ok ? number : 0;
}

} // namespace

void CTestModeDlg::run(QWidget* parent, UserInterface& ui, const HelpCallback& help, bool demonstrationMode,
                       CRadioComm& radio, RadioImage& image, const PrintHandler& print) {
  TestModeSession session(radio, ui, image, demonstrationMode);
  if (session.begin() != 0) return;
  // The alignment values read from the radio are one undo step, each adjustment another.
  radioData().recordStep(textOf(kTextCaption));
  {
    CTestModeDlg dialog(session, ui, help, parent);
    if (print) dialog.setPrintHandler(print);
    dialog.exec();
  }
  session.end();
}

CTestModeDlg* CTestModeDlg::running() {
  return runningDialog;
}

CTestModeDlg::CTestModeDlg(TestModeSession& session, UserInterface& ui, HelpCallback help, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), help_(std::move(help)),
      clock_([] { return TestModeSession::Clock::now(); }) {
  setWindowTitle(qtText(kTextCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());
  const QPixmap receiveLamp = lamp(QColor(0, 160, 60));
  const QPixmap transmitLamp = lamp(QColor(210, 30, 30));
  for (int i = 0; i < 4; ++i) {
    indicators_[i] = new QLabel(this);
    indicators_[i]->setPixmap(i % 2 == 0 ? receiveLamp : transmitLamp);
    indicators_[i]->setFixedSize(16, 16);
    // The lamp as text for a screen reader, shown only while the radio receives or transmits: it
    // says what the radio does, apart from the RX and TX captions of its row.
    indicators_[i]->setAccessibleName(qtText(i % 2 == 0 ? kTextReceiving : kTextTransmitting));
  }
  auto valueLabel = [this](const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setMinimumWidth(110);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
  };
  rxFrequency_ = valueLabel("rxFrequency");
  txFrequency_ = valueLabel("txFrequency");
  rxTone_ = valueLabel("rxTone");
  txTone_ = valueLabel("txTone");

  auto spinField = [this](const char* name, int help) {
    auto* spin = new CSpinEdit(this);
    spin->setObjectName(name);
    spin->edit()->setMaxLength(2);
    spin->setFixedWidth(64);
    spin->setProperty("helpContext", help);
    spin->edit()->setProperty("helpContext", help);
    return spin;
  };
  channelSpin_ = spinField("channelSpin", kChannelHelp);
  signallingSpin_ = spinField("signallingSpin", kSignallingHelp);

  // A group: the spin field with its label, the value label, then a receive and a transmit row
  // (indicator, RX/TX, value, unit).
  auto group = [this](int title, int fieldText, CSpinEdit* spin, int valueText, int firstIndicator,
                      QLabel* receive, QLabel* transmit, int unit) {
    auto* box = new QGroupBox(qtText(title), this);
    auto* grid = new QGridLayout(box);
    auto* fieldLabel = new QLabel(qtText(fieldText), box);
    fieldLabel->setBuddy(spin);
    grid->addWidget(fieldLabel, 0, 0, 1, 2);
    grid->addWidget(spin, 0, 2);
    grid->addWidget(new QLabel(qtText(valueText), box), 1, 0, 1, 2);
    const int rowTexts[2] = {kTextReceive, kTextTransmitRow};
    QLabel* values[2] = {receive, transmit};
    for (int row = 0; row < 2; ++row) {
      grid->addWidget(indicators_[firstIndicator + row], row + 2, 0);
      grid->addWidget(new QLabel(qtText(rowTexts[row]), box), row + 2, 1);
      grid->addWidget(values[row], row + 2, 2);
      // No empty label where there is no unit: a screen reader would read it by the group's title.
      if (unit) grid->addWidget(new QLabel(qtText(unit), box), row + 2, 3);
    }
    grid->setColumnStretch(3, 1);
    return box;
  };
  QGroupBox* channelBox = group(kTextChannelGroup, kTextChannel, channelSpin_, kTextFrequency, 0,
                                rxFrequency_, txFrequency_, kTextMegahertz);
  QGroupBox* signallingBox =
      group(kTextSignallingGroup, kTextSignalling, signallingSpin_, kTextTone, 2, rxTone_, txTone_, 0);

  items_ = new QListWidget(this);
  items_->setObjectName("itemList");
  items_->setAccessibleName(qtText(kTextAdjustmentValues));
  for (int i = 0; i < layout::kAdjustItemCount; ++i) {
    auto* entry = new QListWidgetItem(qtText(TestModeSession::item(i).nameText), items_);
    entry->setData(Qt::UserRole, i);
  }
  items_->setMinimumWidth(220);

  transmit_ = new QPushButton(qtText(kTextTransmit), this);
  transmit_->setObjectName("transmitButton");
  transmit_->setCheckable(true);
  transmit_->setProperty("helpContext", kTransmitHelp);
  close_ = new QPushButton(qtText(kTextClose), this);
  close_->setObjectName("closeButton");
  helpButton_ = new QPushButton(qtText(kTextHelp), this);
  helpButton_->setObjectName("helpButton");
  helpButton_->setEnabled(static_cast<bool>(help_));
  print_ = new QPushButton(qtText(kTextPrint), this);
  print_->setObjectName("printButton");
  print_->setProperty("helpContext", kPrintHelp);
  // Enabled once the main window hands in its printing.
  print_->setEnabled(false);
  countdown_ = new QLabel(this);
  countdown_->setObjectName("countdown");
  countdown_->setWordWrap(true);
  countdown_->setMinimumWidth(220);

  auto* left = new QVBoxLayout;
  left->addWidget(channelBox);
  left->addWidget(signallingBox);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(items_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(transmit_);
  buttons->addWidget(countdown_, 1);
  for (QPushButton* button : {close_, helpButton_, print_})
    buttons->addWidget(button);
  for (QPushButton* button : {transmit_, close_, helpButton_, print_})
    button->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // What the user does with the radio waits while an exchange with it runs.
  auto request = [this](void (CTestModeDlg::*handler)()) {
    return [this, handler] { session_.whenIdle(this, [this, handler] { (this->*handler)(); }); };
  };
  auto stepRequest = [this](void (CTestModeDlg::*handler)(int)) {
    return [this, handler](int direction) {
      session_.whenIdle(this, [this, handler, direction] { (this->*handler)(direction); });
    };
  };
  connect(channelSpin_, &CSpinEdit::stepped, this, stepRequest(&CTestModeDlg::stepChannel));
  connect(signallingSpin_, &CSpinEdit::stepped, this, stepRequest(&CTestModeDlg::stepSignalling));
  connect(channelSpin_->edit(), &QLineEdit::textEdited, this, [this] { channelEdited_ = true; });
  connect(signallingSpin_->edit(), &QLineEdit::textEdited, this, [this] { signallingEdited_ = true; });
  connect(channelSpin_, &CSpinEdit::focusLost, this, request(&CTestModeDlg::applyChannelEdit));
  connect(signallingSpin_, &CSpinEdit::focusLost, this, request(&CTestModeDlg::applySignallingEdit));
  // Toggled rather than clicked: an accessibility client toggles the button without a click.
  connect(transmit_, &QPushButton::toggled, this, request(&CTestModeDlg::toggleTransmit));
  connect(items_, &QListWidget::itemDoubleClicked, this, request(&CTestModeDlg::openAdjustment));
  connect(close_, &QPushButton::clicked, this, &CTestModeDlg::reject);
  connect(print_, &QPushButton::clicked, this, &CTestModeDlg::printAdjustments);
  connect(helpButton_, &QPushButton::clicked, this, [this] { help_(kHelpContext); });
  connect(&countdownTimer_, &QTimer::timeout, this, &CTestModeDlg::tick);
  items_->installEventFilter(this);

  showChannel(session_.testChannel());
  showSignalling(session_.signallingIndex());
  present();
  countdownTimer_.start(1000);
  runningDialog = this;
}

CTestModeDlg::~CTestModeDlg() {
  session_.forgetRequests(this);
  if (runningDialog == this) runningDialog = nullptr;
}

void CTestModeDlg::showChannel(int channel) {
  channelSpin_->setText(QString::number(channel + 1));
  rxFrequency_->setText(QStringLiteral("  ") +
                        toQString(formatFrequency(session_.receiveFrequency(channel))));
  txFrequency_->setText(QStringLiteral("  ") +
                        toQString(formatFrequency(session_.transmitFrequency(channel))));
  channelEdited_ = false;
}

void CTestModeDlg::showSignalling(int index) {
  signallingSpin_->setText(QString::number(index));
  std::string tone = toneListText(index);
  localizeDecimal(tone);
  rxTone_->setText(QStringLiteral(" ") + toQString(tone));
  txTone_->setText(QStringLiteral(" ") + toQString(tone));
  signallingEdited_ = false;
}

bool CTestModeDlg::showsIndicator(bool transmit) const {
  return !indicators_[transmit ? 1 : 0]->isHidden();
}

void CTestModeDlg::present() {
  using State = TestModeSession::State;
  const State state = session_.state();
  const bool adjusting = state == State::Adjusting || state == State::Leaving;
  const bool on = state == State::Transmitting;
  indicators_[0]->setVisible(!on && !adjusting);
  indicators_[2]->setVisible(!on && !adjusting);
  indicators_[1]->setVisible(on && !adjusting);
  indicators_[3]->setVisible(on && !adjusting);
  showChecked(transmit_, on);
  for (QWidget* control : std::initializer_list<QWidget*>{channelSpin_, signallingSpin_, items_})
    control->setEnabled(state == State::Idle);
  // While an adjustment is open its own window takes every click: the buttons here say so
  // instead of looking as if they worked.
  const QString why = adjusting ? qtText(kTextAdjustmentOpen) : QString();
  for (QPushButton* button : {transmit_, close_, helpButton_, print_})
    button->setToolTip(why);
  transmit_->setEnabled(!adjusting);
  close_->setEnabled(!adjusting);
  helpButton_->setEnabled(!adjusting && help_);
  print_->setEnabled(!adjusting && printHandler_);
  showTransmitTime();
}

void CTestModeDlg::tick() {
  if (session_.busy()) return;
  session_.whenIdle(this, [this] { showTransmitTime(); });
}

void CTestModeDlg::showTransmitTime() {
  using State = TestModeSession::State;
  if (session_.state() == State::Adjusting || session_.state() == State::Leaving) {
    countdown_->setText(qtText(kTextAdjustmentOpen));
    return;
  }
  Outcome outcome = Outcome::Done;
  if (session_.enforceTransmitLimit(clock_(), &outcome)) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(session_.transmitLimit()).count();
    countdown_->setText(toQString(formatText(textOf(kTextLimitReached), {static_cast<long long>(seconds)})));
    limitNoticeShown_ = true;
    if (outcome == Outcome::Failed) {
      finishTestMode();
      return;
    }
    present();
    return;
  }
  if (const auto left = session_.transmitTimeLeft(clock_())) {
    const long long seconds = std::chrono::ceil<std::chrono::seconds>(*left).count();
    const QString time = QString::asprintf("%lld:%02lld", seconds / 60, seconds % 60);
    countdown_->setText(toQString(formatText(textOf(kTextCountdown), {time.toStdString()})));
  } else if (!limitNoticeShown_) {
    countdown_->clear();
  }
}

void CTestModeDlg::stepChannel(int direction) {
  const int reached = session_.stepChannel(numberIn(channelSpin_), direction);
  showChannel(reached);
  channelEdited_ = true;
  applyChannelEdit();
}

void CTestModeDlg::applyChannelEdit() {
  if (!channelEdited_ || ending_) return;
  const Outcome outcome = session_.selectChannel(numberIn(channelSpin_));
  if (outcome == Outcome::Failed) {
    finishTestMode();
    return;
  }
  // A number that cannot be taken is replaced by the channel in force.
  showChannel(session_.testChannel());
}

void CTestModeDlg::stepSignalling(int direction) {
  showSignalling(TestModeSession::stepSignalling(numberIn(signallingSpin_), direction));
  signallingEdited_ = true;
  applySignallingEdit();
}

void CTestModeDlg::applySignallingEdit() {
  if (!signallingEdited_ || ending_) return;
  bool ok = false;
  const int index = signallingSpin_->text().toInt(&ok);
  const Outcome outcome = ok ? session_.selectSignalling(index) : Outcome::Refused;
  if (outcome == Outcome::Failed) {
    finishTestMode();
    return;
  }
  showSignalling(session_.signallingIndex());
}

void CTestModeDlg::toggleTransmit() {
  if (ending_) {
    showChecked(transmit_, session_.transmitting());
    return;
  }
  transmit_->setFocus();
  if (session_.toggleTransmit() == Outcome::Failed) {
    finishTestMode();
    return;
  }
  limitNoticeShown_ = false;
  present();
}

void CTestModeDlg::openAdjustment() {
  if (ending_ || endRequested_ || adjust_) return;
  const QList<QListWidgetItem*> selected = items_->selectedItems();
  if (selected.isEmpty()) return;
  const int index = selected.front()->data(Qt::UserRole).toInt();
  if (TestModeSession::item(index).askFirst && !ui_.confirm(textOf(kTextAskAdjust), textOf(kCaptionWarning)))
    return;
  QWidget* focused = QApplication::focusWidget();
  const Outcome outcome = session_.openAdjustment(index);
  present();
  if (outcome != Outcome::Done) return;
  bool endAll = false;
  if (endRequested_) {
    // Closed while the adjustment was being opened: it ends at once.
    session_.leaveAdjustment(true);
  } else {
    CAdjustDlg dialog(session_, help_, this);
    adjust_ = &dialog;
    dialog.exec();
    endAll = dialog.endsTestMode();
  }
  radioData().recordStep(textOf(TestModeSession::item(index).nameText));
  showChannel(session_.testChannel());
  showSignalling(session_.signallingIndex());
  present();
  if (focused) focused->setFocus();
  if (endAll || endRequested_) finishTestMode();
}

void CTestModeDlg::endTestMode() {
  if (ending_) return;
  endRequested_ = true;
  // An open adjustment ends first (its value taken back); the test mode follows it.
  if (adjust_)
    adjust_->reject();
  else
    session_.whenIdle(this, [this] { finishTestMode(); });
}

void CTestModeDlg::finishTestMode() {
  if (ending_) return;
  if (adjust_) {
    adjust_->reject();
    return;
  }
  ending_ = true;
  session_.forgetRequests(this);
  countdownTimer_.stop();
  // The transmitter goes off before the dialog does, whatever the radio answers.
  session_.setTransmitting(false);
  QDialog::reject();
}

void CTestModeDlg::reject() {
  endTestMode();
}

void CTestModeDlg::setPrintHandler(PrintHandler print) {
  printHandler_ = std::move(print);
  print_->setEnabled(static_cast<bool>(printHandler_));
}

std::vector<AdjustmentLine> CTestModeDlg::adjustmentLines() const {
  std::vector<AdjustmentLine> lines;
  for (int i = 0; i < layout::kAdjustItemCount; ++i)
    lines.push_back({textOf(TestModeSession::item(i).nameText), session_.imageValue(i)});
  return lines;
}

void CTestModeDlg::printAdjustments() {
  if (!printHandler_) return;
  QPointer<QWidget> focus = QApplication::focusWidget();
  printHandler_(this, adjustmentLines());
  activateWindow();
  if (focus && isAncestorOf(focus))
    focus->setFocus();
  else
    print_->setFocus();
}

int CTestModeDlg::focusedHelpContext() const {
  QWidget* focused = QApplication::focusWidget();
  if (focused == items_) {
    const QList<QListWidgetItem*> selected = items_->selectedItems();
    if (!selected.isEmpty())
      return TestModeSession::item(selected.front()->data(Qt::UserRole).toInt()).helpContext;
  }
  for (QWidget* widget = focused; widget && widget != this; widget = widget->parentWidget()) {
    const QVariant context = widget->property("helpContext");
    if (context.isValid()) return context.toInt();
  }
  return kHelpContext;
}

bool CTestModeDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == items_) {
    // The list shows a selection only while it has the focus.
    if (event->type() == QEvent::FocusIn) {
      if (items_->currentRow() < 0) items_->setCurrentRow(0);
      QMetaObject::invokeMethod(
          this, [this] { items_->setCurrentRow(items_->currentRow(), QItemSelectionModel::ClearAndSelect); },
          Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut) {
      items_->clearSelection();
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        session_.whenIdle(this, [this] { openAdjustment(); });
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CTestModeDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (help_) help_(focusedHelpContext());
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (!pressFocusedButton(*event)) focusNextChild();
    return;
  }
  QDialog::keyPressEvent(event);
}

} // namespace vpr
