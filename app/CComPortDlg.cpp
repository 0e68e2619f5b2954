#include "app/CComPortDlg.h"

#include "app/DialogButtons.h"

#include "link/CRadioComm.h"
#include "views/QtText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <utility>

namespace vpr {

namespace {

constexpr int textCaption = 10019001;
constexpr int textGroup = 10019002;
constexpr int rowsPerColumn = 5;
// Widest device path shown beside a port button, in pixels.
constexpr int maxPathWidth = 130;
// Pause before each port is opened, so that a device just closed has settled.
constexpr unsigned settleMs = 50;

} // namespace

CComPortDlg::CComPortDlg(CComPort& port, HelpCallback help, QWidget* parent)
    : QDialog(parent), port_(port), help_(std::move(help)) {
  setWindowTitle(qtText(textCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  auto* group = new QGroupBox(qtText(textGroup), this);
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(6);
  auto* exclusive = new QButtonGroup(this);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  for (int n = 1; n <= kPortCount; ++n) {
    const int row = (n - 1) % rowsPerColumn;
    const int column = (n - 1) / rowsPerColumn;
    auto* button = new QRadioButton(QStringLiteral("COM%1").arg(n), group);
    button->setObjectName(QStringLiteral("COM%1").arg(n));
    button->setEnabled(false);
    exclusive->addButton(button, n);
    buttons_[n - 1] = button;
    // A long device path (set in the settings) is shortened in the middle; the tooltip has it whole.
    const QString device = QString::fromStdString(port_.PortPath(n));
    auto* path = new QLabel(group);
    path->setObjectName(QStringLiteral("path%1").arg(n));
    path->setFont(small);
    path->setText(QFontMetrics(small).elidedText(device, Qt::ElideMiddle, maxPathWidth));
    path->setToolTip(device);
    path->setEnabled(false);
    path->setBuddy(button);
    paths_[n - 1] = path;
    grid->addWidget(button, row, column * 3);
    grid->addWidget(path, row, column * 3 + 1);
    if (column + 1 < kPortCount / rowsPerColumn) grid->setColumnMinimumWidth(column * 3 + 2, 18);
  }

  QDialogButtonBox* buttons = makeOkCancelHelpButtons(*this, static_cast<bool>(help_));
  connect(buttons, &QDialogButtonBox::accepted, this, &CComPortDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CComPortDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
    if (help_) help_(kHelpContext);
  });
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, [this] {
    if (help_) help_(kHelpContext);
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 12);
  layout->addWidget(group);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<int> CComPortDlg::run(QWidget* parent, const HelpCallback& help) {
  return run(parent, g_radioComm, help);
}

std::optional<int> CComPortDlg::run(QWidget* parent, CComPort& port, const HelpCallback& help) {
  CComPortDlg dialog(port, help, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return port.PortNumber();
}

void CComPortDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!scanPending_) return;
  // The scan takes a second or more: run it once the dialog is on the screen.
  scanPending_ = false;
  QMetaObject::invokeMethod(this, &CComPortDlg::scan, Qt::QueuedConnection);
}

void CComPortDlg::scan() {
  scanning_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const std::uint8_t remembered = port_.PortNumber();
  port_.SetOpen(false);
  for (int n = 1; n <= kPortCount; ++n) {
    QRadioButton* button = buttons_[n - 1];
    port_.SetPortNumber(static_cast<std::uint8_t>(n));
    CComPort::BusyWait(settleMs);
    if (port_.SetOpen(true)) {
      const bool usable = port_.IsRs232Port();
      button->setEnabled(usable);
      paths_[n - 1]->setEnabled(usable);
      if (usable && n == remembered) button->setChecked(true);
      port_.SetOpen(false);
    }
    // Let the buttons light up as the ports are found; the user's input waits for the end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  port_.SetPortNumber(remembered);
  QApplication::restoreOverrideCursor();
  scanning_ = false;
  scanDone_ = true;
  emit scanFinished();
}

void CComPortDlg::accept() {
  if (scanning_) return;
  for (int n = 1; n <= kPortCount; ++n)
    if (buttons_[n - 1]->isChecked()) port_.SetPortNumber(static_cast<std::uint8_t>(n));
  QDialog::accept();
}

// The dialog stays while the scan runs (Escape and the close box come here too).
void CComPortDlg::reject() {
  if (!scanning_) QDialog::reject();
}

} // namespace vpr
