#include "app/CModelInfoDlg.h"

#include "app/DialogButtons.h"

#include "views/QtText.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <utility>

namespace vpr {

namespace {

void fill(QComboBox* box, const std::vector<ListEntry>& entries, int selected) {
  const QSignalBlocker blocker(box);
  box->clear();
  for (const ListEntry& entry : entries)
    box->addItem(toQString(entry.text), entry.value);
  box->setCurrentIndex(selected);
}

} // namespace

CModelInfoDlg::CModelInfoDlg(RadioData& data, UserInterface& ui, ModelSelection::Hooks hooks,
                             HelpCallback help, QWidget* parent)
    : QDialog(parent), selection_(data), ui_(ui), hooks_(std::move(hooks)), help_(std::move(help)) {
  setWindowTitle(qtText(ModelSelection::kTextCaption));
  if (!QApplication::windowIcon().isNull()) setWindowIcon(QApplication::windowIcon());

  models_ = new QComboBox(this);
  models_->setObjectName("modelList");
  bands_ = new QComboBox(this);
  bands_->setObjectName("bandList");
  models_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  models_->setMinimumContentsLength(22);
  bands_->setMinimumContentsLength(22);
  fill(models_, selection_.modelList(), selection_.selectedModelIndex());
  fill(bands_, selection_.bandList(), selection_.selectedBandIndex());

  connect(models_, &QComboBox::currentIndexChanged, this, [this](int index) {
    selection_.pickModel(index);
    refillBands();
  });
  connect(bands_, &QComboBox::currentIndexChanged, this, [this](int index) { selection_.pickBand(index); });

  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
  form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  form->setHorizontalSpacing(16);
  form->setVerticalSpacing(10);
  form->addRow(qtText(ModelSelection::kTextModelLabel), models_);
  form->addRow(qtText(ModelSelection::kTextBandLabel), bands_);

  QDialogButtonBox* buttons = makeOkCancelHelpButtons(*this, static_cast<bool>(help_));
  connect(buttons, &QDialogButtonBox::accepted, this, &CModelInfoDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { showHelpFor(nullptr); });

  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, [this] { showHelpFor(focusWidget()); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->addLayout(form);
  layout->addSpacing(14);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CModelInfoDlg::run(QWidget* parent, UserInterface& ui, const ModelSelection::Hooks& hooks,
                        const HelpCallback& help) {
  CModelInfoDlg dialog(radioData(), ui, hooks, help, parent);
  return dialog.exec() == QDialog::Accepted;
}

void CModelInfoDlg::refillBands() {
  fill(bands_, selection_.bandList(), selection_.selectedBandIndex());
}

void CModelInfoDlg::accept() {
  // A Cancel in the confirmation leaves the dialog open with the choice as it is.
  if (selection_.accept(ui_, hooks_) == ModelSelection::Outcome::Applied) QDialog::accept();
}

void CModelInfoDlg::showHelpFor(QWidget* focus) {
  if (!help_) return;
  if (focus == models_)
    help_(ModelSelection::kHelpModelList);
  else if (focus == bands_)
    help_(ModelSelection::kHelpBandList);
  else
    help_(ModelSelection::kHelpDialog);
}

} // namespace vpr
