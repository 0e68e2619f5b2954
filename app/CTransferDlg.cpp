#include "app/CTransferDlg.h"

#include "link/RadioTransfer.h"
#include "views/QtText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace vpr {

namespace {

constexpr int textCancel = 10002002;
constexpr int textHelp = 10002004;

} // namespace

// Hands the transfer's messages, file requests and pumping to the caller's user interface and
// keeps its progress reports for this dialog.
class CTransferDlg::ProgressForwarder : public UserInterface {
public:
  ProgressForwarder(UserInterface& base, CTransferDlg& dialog) : base_(base), dialog_(dialog) {}

  MessageAnswer showMessage(const MessageRequest& request) override { return base_.showMessage(request); }
  std::optional<std::string> chooseFileToOpen(const FileRequest& request) override {
    return base_.chooseFileToOpen(request);
  }
  std::optional<std::string> chooseFileToSave(const FileRequest& request) override {
    return base_.chooseFileToSave(request);
  }
  void pumpOneMessage() override { base_.pumpOneMessage(); }
  void reportProgress(int done, int total, const std::string& label) override {
    dialog_.showProgress(done, total, label);
  }

private:
  UserInterface& base_;
  CTransferDlg& dialog_;
};

CTransferDlg::CTransferDlg(const Kind& kind, UserInterface& ui, HelpCallback help, QWidget* parent)
    : QDialog(parent), kind_(kind), ui_(ui), help_(std::move(help)) {
  setWindowTitle(qtText(kind_.idleCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  bar_ = new QProgressBar(this);
  bar_->setTextVisible(false);
  bar_->setMinimumWidth(340);
  label_ = new QLabel(this);
  label_->setObjectName("progressLabel");
  // A screen reader announces the bar by what the dialog does, and its value.
  bar_->setAccessibleName(qtText(kind_.idleCaption));

  auto* buttons = new QDialogButtonBox(this);
  startButton_ = buttons->addButton(qtText(kind_.startButton), QDialogButtonBox::AcceptRole);
  startButton_->setObjectName("startButton");
  startButton_->setDefault(true);
  cancelButton_ = buttons->addButton(qtText(textCancel), QDialogButtonBox::RejectRole);
  cancelButton_->setObjectName("cancelButton");
  helpButton_ = buttons->addButton(qtText(textHelp), QDialogButtonBox::HelpRole);
  helpButton_->setObjectName("helpButton");
  helpButton_->setEnabled(static_cast<bool>(help_));
  connect(startButton_, &QPushButton::clicked, this, &CTransferDlg::start);
  connect(cancelButton_, &QPushButton::clicked, this, &CTransferDlg::reject);
  connect(helpButton_, &QPushButton::clicked, this, [this] { help_(kind_.helpContext); });

  content_ = new QVBoxLayout;
  content_->setSpacing(6);
  content_->addWidget(label_);
  content_->addWidget(bar_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addLayout(content_);
  layout->addSpacing(16);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  showProgress(0, kind_.blockCount, transferProgressLabel(0, kind_.blockCount));
}

void CTransferDlg::showProgress(int done, int total, const std::string& label) {
  if (done == 0) bar_->setRange(0, total);
  bar_->setValue(done);
  label_->setText(toQString(label));
}

void CTransferDlg::start() {
  if (busy_) return;
  busy_ = true;
  startButton_->setEnabled(false);
  cancelButton_->setEnabled(false);
  helpButton_->setEnabled(false);
  setWindowTitle(qtText(kind_.busyCaption));
  repaint();

  ProgressForwarder forwarder(ui_, *this);
  result_ = transfer(forwarder);

  // The dialog ends with the transfer: it stays locked until then, the success message included.
  if (result_ == 0) {
    ui_.showMessage({MessageKind::Product, successText(), textOf(kind_.successCaption), MessageButtons::Ok,
                     MessageIcon::Information, MessageAnswer::Ok});
  } else {
    setWindowTitle(qtText(kind_.idleCaption));
  }
  busy_ = false;
  done(result_ == 0 ? QDialog::Accepted : QDialog::Rejected);
  // The message and this dialog close one right after the other, and a window manager may hand
  // the focus back to the dialog already gone, leaving it nowhere: the window below takes it, so
  // that the keyboard goes on working there.
  if (QWidget* below = parentWidget()) below->window()->activateWindow();
}

std::string CTransferDlg::successText() const {
  return textOf(kind_.successText);
}

void CTransferDlg::reject() {
  // Escape, the Cancel button and the close box do nothing while the radio is being talked to.
  if (!busy_) QDialog::reject();
}

void CTransferDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && help_ && !busy_) {
    help_(kind_.helpContext);
    return;
  }
  QDialog::keyPressEvent(event);
}

} // namespace vpr
