#include "app/CCompareDlg.h"

#include "app/DialogButtons.h"
#include "lang/TextFormat.h"
#include "views/QtText.h"
#include "views/SystemClipboard.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace vpr {

namespace {

constexpr int textCaption = 10065042;
constexpr int textHeading = 10065044;
constexpr int textCopy = 10065043;
constexpr int textClose = 10002003;
constexpr int textHelp = 10002004;

} // namespace

CCompareDlg::CCompareDlg(const std::string& other, const std::vector<ImageDifference>& differences,
                         HelpCallback help, QWidget* parent)
    : QDialog(parent), help_(std::move(help)), text_(toQString(ImageCompare::listText(differences))) {
  setWindowTitle(qtText(textCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  auto* heading = new QLabel(toQString(formatText(textOf(textHeading), {other})), this);
  heading->setObjectName("headingLabel");
  heading->setWordWrap(true);

  list_ = new QPlainTextEdit(this);
  list_->setObjectName("differenceList");
  list_->setAccessibleName(heading->text());
  list_->setReadOnly(true);
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);
  list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list_->setPlainText(text_);
  list_->setMinimumSize(560, 320);

  auto* buttons = new QDialogButtonBox(this);
  copyButton_ = buttons->addButton(qtText(textCopy), QDialogButtonBox::ActionRole);
  copyButton_->setObjectName("copyButton");
  QPushButton* close = buttons->addButton(qtText(textClose), QDialogButtonBox::RejectRole);
  close->setDefault(true);
  QPushButton* helpButton = buttons->addButton(qtText(textHelp), QDialogButtonBox::HelpRole);
  helpButton->setEnabled(static_cast<bool>(help_));
  connect(copyButton_, &QPushButton::clicked, this, [this] { putTextOnClipboard(text_); });
  connect(close, &QPushButton::clicked, this, &CCompareDlg::reject);
  connect(helpButton, &QPushButton::clicked, this, [this] { help_(kHelpContext); });
  if (help_) addHelpKey(*this, [this] { help_(kHelpContext); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(list_);
  layout->addWidget(buttons);
}

} // namespace vpr
