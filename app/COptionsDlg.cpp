#include "app/COptionsDlg.h"

#include "app/CAppSettings.h"
#include "app/DialogButtons.h"
#include "views/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>
#include <utility>

namespace vpr {

namespace {

constexpr int textCaption = 10065034;
constexpr int textBackup = 10065035;
constexpr int textVerify = 10065036;

} // namespace

COptionsDlg::COptionsDlg(CAppSettings& settings, HelpCallback help, QWidget* parent)
    : QDialog(parent), settings_(settings), help_(std::move(help)) {
  setWindowTitle(qtText(textCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  backup_ = new QCheckBox(qtText(textBackup), this);
  backup_->setObjectName("backupBox");
  backup_->setChecked(settings_.backupRadio());
  verify_ = new QCheckBox(qtText(textVerify), this);
  verify_->setObjectName("verifyBox");
  verify_->setChecked(settings_.verifyWrite());

  QDialogButtonBox* buttons = makeOkCancelHelpButtons(*this, static_cast<bool>(help_));
  connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { help_(kHelpContext); });
  if (help_) addHelpKey(*this, [this] { help_(kHelpContext); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addWidget(backup_);
  layout->addWidget(verify_);
  layout->addSpacing(16);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool COptionsDlg::run(QWidget* parent, CAppSettings& settings, const HelpCallback& help) {
  COptionsDlg dialog(settings, help, parent);
  return dialog.exec() == QDialog::Accepted;
}

void COptionsDlg::accept() {
  settings_.setBackupRadio(backup_->isChecked());
  settings_.setVerifyWrite(verify_->isChecked());
  QDialog::accept();
}

} // namespace vpr
