#include "app/CRestoreDlg.h"

#include "app/DialogButtons.h"
#include "lang/TextFormat.h"
#include "views/QtText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace vpr {

namespace {

constexpr int textCaption = 10065030;
constexpr int textModel = 10009001;
constexpr int textBand = 10009002;
constexpr int textDateTime = 10065037;
constexpr int textDamaged = 10065038;
constexpr int textFolder = 10065039;
constexpr int textTaken = 10065051;

// Why the backup was taken, as the list shows it; nothing for a file that does not say.
QString reasonText(BackupReason reason) {
  switch (reason) {
  case BackupReason::AfterRead:
    return qtText(10065052);
  case BackupReason::BeforeWrite:
    return qtText(10065053);
  case BackupReason::Unknown:
    break;
  }
  return {};
}

} // namespace

CRestoreDlg::CRestoreDlg(const std::string& folder, HelpCallback help, QWidget* parent)
    : QDialog(parent), entries_(RadioBackups::list(folder)), help_(std::move(help)) {
  setWindowTitle(qtText(textCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  auto* where = new QLabel(toQString(formatText(textOf(textFolder), {folder})), this);
  where->setObjectName("folderLabel");
  where->setWordWrap(true);

  list_ = new QTreeWidget(this);
  list_->setObjectName("backupList");
  list_->setAccessibleName(windowTitle());
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({qtText(textModel), qtText(textBand), qtText(textDateTime), qtText(textTaken)});
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const BackupEntry& entry = entries_[i];
    const QString model = entry.damaged ? qtText(textDamaged) : toQString(entry.model);
    auto* item = new QTreeWidgetItem(
        list_, {model, toQString(entry.band), toQString(entry.dateTime), reasonText(entry.reason)});
    item->setData(0, Qt::UserRole, static_cast<int>(i));
    item->setToolTip(0, toQString(entry.path));
    if (entry.damaged) item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
  }
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->setMinimumSize(520, 260);
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));

  QDialogButtonBox* buttons = makeOkCancelHelpButtons(*this, static_cast<bool>(help_));
  openButton_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &CRestoreDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CRestoreDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { help_(kHelpContext); });
  if (help_) addHelpKey(*this, [this] { help_(kHelpContext); });
  connect(list_, &QTreeWidget::currentItemChanged, this, &CRestoreDlg::updateOpenButton);
  connect(list_, &QTreeWidget::itemActivated, this, &CRestoreDlg::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(where);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  updateOpenButton();
}

std::optional<std::string> CRestoreDlg::run(QWidget* parent, const std::string& folder,
                                            const HelpCallback& help) {
  CRestoreDlg dialog(folder, help, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosenPath();
}

const BackupEntry* CRestoreDlg::currentEntry() const {
  const QTreeWidgetItem* item = list_->currentItem();
  if (!item) return nullptr;
  const BackupEntry& entry = entries_[static_cast<std::size_t>(item->data(0, Qt::UserRole).toInt())];
  return entry.damaged ? nullptr : &entry;
}

void CRestoreDlg::updateOpenButton() {
  openButton_->setEnabled(currentEntry() != nullptr);
}

void CRestoreDlg::accept() {
  const BackupEntry* entry = currentEntry();
  if (!entry) return;
  chosen_ = entry->path;
  QDialog::accept();
}

} // namespace vpr
