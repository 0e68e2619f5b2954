#include "views/CChInfoView.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "lang/UserInterface.h"
#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "views/AccessibleChoice.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"
#include "views/CToneCombo.h"
#include "views/SystemClipboard.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr GridColumn kColumns[] = {{10030028, 30, kAlignCentre, 1}, {10030007, 80, kAlignRight, 1},
                                   {10030008, 80, kAlignRight, 1},  {10030010, 75, kAlignRight, 1},
                                   {10030009, 75, kAlignRight, 1},  {10030011, 60, kAlignCentre, 1},
                                   {10030012, 60, kAlignCentre, 1}};
constexpr int kColumnCount = 7;
constexpr int kColumnHelp[] = {200704, 200962, 200963, 200964, 200965, 200966, 200967};
constexpr int kViewHelp = 200704;

constexpr int kColRxFreq = 1;
constexpr int kColTxFreq = 2;
constexpr int kColRxTone = 3;
constexpr int kColTxTone = 4;
constexpr int kColOptionA = 5;
constexpr int kColOptionB = 6;

constexpr int kTextViewName = 10027012;
constexpr int kTextChannel = 10030001;
constexpr int kTextToClip = 10004004;
constexpr int kTextToClipWithTitle = 10004005;

QString qText(int id) {
  return QString::fromStdString(textOf(id));
}

// Undo step name of a cell: "<column> of channel <n>".
constexpr int kTextStepOfChannel = 10064010;

std::string stepName(int row, int col) {
  return formatText(textOf(kTextStepOfChannel), {textOf(kColumns[col].headerText), row});
}

} // namespace

CChInfoView::CChInfoView(RadioData& data, UserInterface& ui, QWidget* parent)
    : CGridView(data, ui, kColumnHelp, kViewHelp, parent) {
  toneCombo_ = new CToneCombo(this);
  toneCombo_->hide();
  optionCombo_ = new QComboBox(this);
  optionCombo_->hide();
  chooseOnAccessibleSelection(optionCombo_);
  for (QWidget* editor : {static_cast<QWidget*>(toneCombo_), static_cast<QWidget*>(toneCombo_->lineEdit()),
                          static_cast<QWidget*>(optionCombo_)})
    editor->installEventFilter(this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(helpButton_);
  buttons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 0, Qt::AlignLeft);
  layout->addLayout(buttons);
  // A frame taller than the view keeps the grid and its buttons at the top.
  layout->addStretch(1);

  grid_->setAccessibleName(qText(kTextViewName));
  setUpdatesEnabled(false);
  sizeGrid(data_.channelCount() + 1, kColumns);
  toneCombo_->fillToneList();
  connect(grid_, &CEditGrid::rowColChanged, this, &CChInfoView::updateTitle);
  connect(toneCombo_, &CToneCombo::focusLost, this, &CChInfoView::commitTone);
  connect(toneCombo_, &QComboBox::activated, this, &CChInfoView::pickTone);
  connect(optionCombo_, &QComboBox::activated, this, &CChInfoView::pickOption);
  grid_->setCell(1, 1);
  grid_->setTopRow(1);
  fillAllRows();
  updateTitle();
  setUpdatesEnabled(true);
}

bool CChInfoView::queryClose() {
  commitPendingEdit();
  return true;
}

QString CChInfoView::viewTitle() const {
  return title_;
}

void CChInfoView::updateTitle() {
  title_ = QStringLiteral("%1 [ %2 - %3 ]").arg(qText(kTextViewName), qText(kTextChannel)).arg(grid_->row());
  setWindowTitle(title_);
}

void CChInfoView::reloadFromImage() {
  // The image changed under the view: an open editor no longer belongs to it.
  dropOpenEditor();
  const int rows = data_.channelCount() + 1;
  if (rows != grid_->rows()) {
    grid_->setRowSelection(false);
    sizeGrid(rows, kColumns);
    grid_->updateGeometry();
  }
  fillAllRows();
  updateTitle();
}

QString CChInfoView::fieldText(int row, int col) const {
  return QString::fromStdString(
      DisplayText::channelCell(row, data_.channelSlot(row), ChannelField(col)).text);
}

void CChInfoView::fillRow(int row) {
  const ChannelRecord record = data_.channelSlot(row);
  for (int col = 1; col < kColumnCount; ++col)
    grid_->setCellText(row, col,
                       QString::fromStdString(DisplayText::channelCell(row, record, ChannelField(col)).text));
}

bool CChInfoView::beginEdit(bool) {
  const int row = grid_->row();
  int col = grid_->col();
  if (row < 1 || col < 1) return false;
  if (!data_.isChannelFieldEditable(row, col)) {
    col = data_.channelRecord(row) ? kColTxFreq : kColRxFreq;
    grid_->setCell(row, col);
    grid_->scrollToItem(grid_->currentItem());
  }
  const QString text = fieldText(row, col);
  switch (col) {
  case kColRxFreq:
  case kColTxFreq:
    abandonEntry_ = false;
    return grid_->openTextEditor(freqEdit_, text, true);
  case kColRxTone:
  case kColTxTone:
    return grid_->openComboEditor(toneCombo_, text, true);
  case kColOptionA:
  case kColOptionB:
    optionCombo_->clear();
    for (const ChoiceEntry& entry : choices::kChannelOption)
      optionCombo_->addItem(qText(entry.textId), entry.value);
    return grid_->openListEditor(optionCombo_, text, true);
  default:
    return false;
  }
}

void CChInfoView::eraseKey(int key) {
  if (key == Qt::Key_Delete && grid_->rowSelection()) {
    deleteRows();
    grid_->setFocus();
    return;
  }
  if (beginEdit(true)) {
    freqEdit_->clear();
    toneCombo_->setCurrentIndex(-1);
    toneCombo_->clearEditText();
  }
}

bool CChInfoView::startsEntry(QChar ch) const {
  const int col = grid_->col();
  if (col == kColRxFreq || col == kColTxFreq)
    return CFilterEdit::filterChar(CFilterEdit::FrequencyInput, QString(), 0, 0, ch).has_value();
  if (col == kColRxTone || col == kColTxTone)
    return CToneCombo::filterChar(QString(), 0, 0, ch.toUpper()).has_value();
  return false;
}

bool CChInfoView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && watched == optionCombo_ &&
      focusReallyLeft(static_cast<QFocusEvent*>(event)->reason()))
    closeOptionEditor();
  return CGridView::eventFilter(watched, event);
}

int CChInfoView::cellsAfterEntry(int row, int col) const {
  if (col == kColRxFreq) {
    const auto record = data_.channelRecord(row);
    return record && record->hasTransmit() ? 1 : 6;
  }
  if (col == kColRxTone) return data_.isChannelFieldEditable(row, kColTxTone) ? 1 : 3;
  return 1;
}

void CChInfoView::commitOpenEditor() {
  if (grid_->editorKind() == CEditGrid::EditorKind::Text) commitFrequency();
  if (grid_->editorKind() == CEditGrid::EditorKind::DropCombo) commitTone();
  if (grid_->editorKind() == CEditGrid::EditorKind::DropList) closeOptionEditor();
}

bool CChInfoView::editorHasFocus() const {
  QWidget* editor = grid_->openEditor();
  QWidget* focus = QApplication::focusWidget();
  return editor && focus && (focus == editor || editor->isAncestorOf(focus));
}

std::optional<int> CChInfoView::storeFrequency(int row, int col, const std::string& entry) {
  if (col != kColRxFreq && col != kColTxFreq) return std::nullopt;
  std::string text = entry;
  const FrequencyField which = col == kColRxFreq ? FrequencyField::Receive : FrequencyField::Transmit;
  const EntryResult result = data_.setChannelFrequency(row, text, which);
  data_.recordStep(stepName(row, col));
  if (result == EntryResult::OutOfBand) return RadioData::outOfBandTextId(which);
  return std::nullopt;
}

void CChInfoView::commitTone() {
  if (committing_ || grid_->editorKind() != CEditGrid::EditorKind::DropCombo) return;
  committing_ = true;
  const int row = grid_->editorRow();
  const int col = grid_->editorCol();
  if (col == kColRxTone || col == kColTxTone) {
    data_.setChannelTone(row, col == kColRxTone ? ToneField::Receive : ToneField::Transmit,
                         toneCombo_->currentText().toStdString(), true);
    data_.recordStep(stepName(row, col));
  }
  grid_->closeEditor(true);
  fillRow(row);
  committing_ = false;
}

void CChInfoView::pickTone(int index) {
  if (grid_->editorKind() != CEditGrid::EditorKind::DropCombo || index < 0) return;
  const int row = grid_->editorRow();
  const int col = grid_->editorCol();
  if (col != kColRxTone && col != kColTxTone) return;
  data_.setChannelTone(row, col == kColRxTone ? ToneField::Receive : ToneField::Transmit,
                       toneCombo_->itemText(index).toStdString(), false);
  data_.recordStep(stepName(row, col));
  fillRow(row);
}

void CChInfoView::pickOption(int index) {
  if (grid_->editorKind() != CEditGrid::EditorKind::DropList || index < 0) return;
  const int col = grid_->editorCol();
  if (col != kColOptionA && col != kColOptionB) return;
  data_.setChannelOption(grid_->editorRow(), col == kColOptionA ? 0 : 1,
                         optionCombo_->itemData(index).toInt());
  data_.recordStep(stepName(grid_->editorRow(), col));
  fillRow(grid_->editorRow());
}

void CChInfoView::closeOptionEditor() {
  if (grid_->editorKind() != CEditGrid::EditorKind::DropList) return;
  const int row = grid_->editorRow();
  grid_->closeEditor(false);
  fillRow(row);
}

void CChInfoView::copyRows() {
  if (editorHasFocus()) returnFocusToGrid();
  if (!grid_->hasFocus()) return;
  const auto [first, last] = grid_->selectedRowRange();
  data_.copyChannels(first, last);
}

void CChInfoView::pasteRows() {
  if (editorHasFocus()) returnFocusToGrid();
  if (data_.channelClipboard().isEmpty() || !grid_->hasFocus()) return;
  const int start = grid_->rowSelection() ? grid_->selectedRowRange().first : grid_->row();
  data_.pasteChannels(start);
  data_.recordStep(textOf(kTextStepPaste));
  fillAllRows();
}

void CChInfoView::deleteRows() {
  if (!grid_->rowSelection() || !grid_->hasFocus()) return;
  const auto [first, last] = grid_->selectedRowRange();
  if (!data_.deleteChannels(first, last)) return;
  data_.recordStep(textOf(kTextStepDelete));
  fillAllRows();
}

QString CChInfoView::clipboardText(int first, int last, bool withTitle) const {
  return QString::fromStdString(DisplayText::channelRowsText(data_, first, last, withTitle));
}

void CChInfoView::rowsToClipboard(bool withTitle) {
  if (!grid_->rowSelection() || !grid_->hasFocus()) return;
  const auto [first, last] = grid_->selectedRowRange();
  putTextOnClipboard(clipboardText(first, last, withTitle));
  grid_->setRowSelection(false);
  grid_->collapseSelection();
}

bool CChInfoView::canPaste() const {
  return !data_.channelClipboard().isEmpty();
}

void CChInfoView::addMenuExtras(QMenu& menu) {
  menu.addSeparator();
  menu.addAction(qText(kTextToClip), this, [this] { rowsToClipboard(false); });
  menu.addAction(qText(kTextToClipWithTitle), this, [this] { rowsToClipboard(true); });
}

} // namespace vpr
