#include "app/COptionsDlg.h"

#include "app/CAppSettings.h"
#include "app/DialogButtons.h"
#include "lang/CLanguageTable.h"
#include "views/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace vpr {

namespace {

constexpr int textCaption = 10065034;
constexpr int textBackup = 10065035;
constexpr int textVerify = 10065036;
constexpr int textLanguage = 19000004;
constexpr int textRestartNote = 19000005;

// The code of the language the program runs in; 0 when the file's column is not a supported one.
int runningLanguage() {
  return CLanguageTable::codeOfLanguageName(languageTable().currentLanguageName());
}

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

  // The languages the file has a column for; the stored choice is picked, or else the one the
  // program runs in (a stored language the file lacks is not offered).
  language_ = new QComboBox(this);
  language_->setObjectName("languageBox");
  for (const auto& language : CLanguageTable::languageCodes()) {
    if (languageTable().hasLanguageColumn(language.name))
      language_->addItem(qtText(language.nameTextId), language.code);
  }
  const int stored = language_->findData(settings_.language());
  language_->setCurrentIndex(stored >= 0 ? stored : std::max(0, language_->findData(runningLanguage())));
  auto* languageLabel = new QLabel(qtText(textLanguage), this);
  languageLabel->setBuddy(language_);
  restartNote_ = new QLabel(qtText(textRestartNote), this);
  restartNote_->setObjectName("restartNote");
  restartNote_->setWordWrap(true);
  const auto showNote = [this] {
    restartNote_->setVisible(language_->currentData().toInt() != runningLanguage());
  };
  connect(language_, &QComboBox::currentIndexChanged, this, showNote);
  showNote();

  QDialogButtonBox* buttons = makeOkCancelHelpButtons(*this, static_cast<bool>(help_));
  connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { help_(kHelpContext); });
  if (help_) addHelpKey(*this, [this] { help_(kHelpContext); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addWidget(backup_);
  layout->addWidget(verify_);
  layout->addSpacing(12);
  auto* languageRow = new QHBoxLayout;
  languageRow->addWidget(languageLabel);
  languageRow->addWidget(language_);
  languageRow->addStretch(1);
  layout->addLayout(languageRow);
  layout->addWidget(restartNote_);
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
  if (language_->currentIndex() >= 0) settings_.setLanguage(language_->currentData().toInt());
  QDialog::accept();
}

} // namespace vpr
