#include "views/CTestFreqView.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "lang/UserInterface.h"
#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr GridColumn kColumns[] = {{DisplayText::kTestFrequencyHeaderIds[0], 60, kAlignCentre, 1},
                                   {DisplayText::kTestFrequencyHeaderIds[1], 100, kAlignRight, 1},
                                   {DisplayText::kTestFrequencyHeaderIds[2], 100, kAlignRight, 1}};
constexpr int kColumnHelp[] = {212992, 213249, 213250};
constexpr int kViewHelp = 212992;
constexpr int kColRx = 1;
constexpr int kColTx = 2;

constexpr int kTextViewName = 10027010;
constexpr int kTextCloseMessage = 10026021;

QString qText(int id) {
  return QString::fromStdString(textOf(id));
}

// Undo step name of a cell: "<column> of test frequency <k>".
constexpr int kTextStepOfTestFrequency = 10064011;

std::string stepName(int row, int col) {
  return formatText(textOf(kTextStepOfTestFrequency), {textOf(kColumns[col].headerText), row});
}

FrequencyField fieldOf(int col) {
  return col == kColRx ? FrequencyField::Receive : FrequencyField::Transmit;
}

} // namespace

CTestFreqView::CTestFreqView(RadioData& data, UserInterface& ui, QWidget* parent)
    : CGridView(data, ui, kColumnHelp, kViewHelp, parent) {
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(closeButton_);
  buttons->addWidget(helpButton_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(grid_, 0, Qt::AlignTop);
  layout->addLayout(buttons);
  layout->addStretch();

  setUpdatesEnabled(false);
  setWindowTitle(qText(kTextViewName));
  grid_->setAccessibleName(qText(kTextViewName));
  sizeGrid(layout::kTestFreqCount + 1, kColumns);
  fillAllRows();
  setUpdatesEnabled(true);
}

QString CTestFreqView::viewTitle() const {
  return qText(kTextViewName);
}

bool CTestFreqView::queryClose() {
  // An entry still open in the editor is stored before the frame closes.
  commitPendingEdit();
  MessageRequest request;
  request.kind = MessageKind::Product;
  request.text = textOf(kTextCloseMessage);
  request.caption = textOf(kTextViewName);
  request.icon = MessageIcon::Information;
  ui_.showMessage(request);
  return true;
}

void CTestFreqView::reloadFromImage() {
  dropOpenEditor();
  fillAllRows();
}

void CTestFreqView::fillRow(int row) {
  const TestFreqRecord record = data_.testFrequency(row);
  grid_->setCellText(
      row, kColRx,
      QString::fromStdString(DisplayText::testFrequencyCell(record, FrequencyField::Receive).text));
  grid_->setCellText(
      row, kColTx,
      QString::fromStdString(DisplayText::testFrequencyCell(record, FrequencyField::Transmit).text));
}

bool CTestFreqView::beginEdit(bool byEnter) {
  const int row = grid_->row();
  const int col = grid_->col();
  if (row < 1 || col < 1) return false;
  if (col == kColTx && !data_.testFrequency(row).isProgrammed()) {
    if (byEnter) return false;
    grid_->setCell(row, kColRx);
  }
  abandonEntry_ = false;
  return grid_->openTextEditor(freqEdit_, grid_->cellText(row, grid_->col()), true);
}

void CTestFreqView::eraseKey(int) {
  if (grid_->rowSelection()) {
    deleteRows();
  } else if (beginEdit(true)) {
    freqEdit_->clear();
  }
}

bool CTestFreqView::startsEntry(QChar ch) const {
  return CFilterEdit::filterChar(CFilterEdit::FrequencyInput, QString(), 0, 0, ch).has_value();
}

std::optional<int> CTestFreqView::storeFrequency(int row, int col, const std::string& entry) {
  if (col != kColRx && col != kColTx) return std::nullopt;
  std::string text = entry;
  std::optional<int> warning;
  if (data_.setTestFrequency(row, text, fieldOf(col)) == EntryResult::OutOfBand)
    warning = RadioData::outOfBandTextId(fieldOf(col));
  // The table is never left without a test frequency.
  data_.ensureTestFrequencies();
  data_.recordStep(stepName(row, col));
  return warning;
}

void CTestFreqView::refillAfterEntry(int) {
  fillAllRows();
}

bool CTestFreqView::canPaste() const {
  return !data_.testFreqClipboard().isEmpty();
}

void CTestFreqView::copyRows() {
  commitPendingEdit();
  if (!grid_->hasFocus()) return;
  const auto [first, last] = grid_->selectedRowRange();
  data_.copyTestFrequencies(first, last);
  fillAllRows();
}

void CTestFreqView::pasteRows() {
  commitPendingEdit();
  if (data_.testFreqClipboard().isEmpty()) return;
  const int start = grid_->rowSelection() ? grid_->selectedRowRange().first : grid_->row();
  data_.pasteTestFrequencies(start);
  data_.ensureTestFrequencies();
  data_.recordStep(textOf(kTextStepPaste));
  fillAllRows();
}

void CTestFreqView::deleteRows() {
  if (!grid_->rowSelection() || !grid_->hasFocus()) return;
  const auto [first, last] = grid_->selectedRowRange();
  data_.deleteTestFrequencies(first, last);
  data_.recordStep(textOf(kTextStepDelete));
  fillAllRows();
}

} // namespace vpr
