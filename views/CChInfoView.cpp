#include "views/CChInfoView.h"

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"
#include "views/CToneCombo.h"
#include "views/SystemClipboard.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
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
constexpr int kColumnHelp[kColumnCount] = {200704, 200962, 200963, 200964, 200965, 200966, 200967};
constexpr int kViewHelp = 200704;

constexpr int kColRxFreq = 1;
constexpr int kColTxFreq = 2;
constexpr int kColRxTone = 3;
constexpr int kColTxTone = 4;
constexpr int kColOptionA = 5;
constexpr int kColOptionB = 6;

constexpr int kTextViewName = 10027012;
constexpr int kTextChannel = 10030001;
constexpr int kTextHelp = 10002004;
constexpr int kTextClose = 10002003;
constexpr int kTextCopy = 10004001;
constexpr int kTextPaste = 10004002;
constexpr int kTextDelete = 10004003;
constexpr int kTextToClip = 10004004;
constexpr int kTextToClipWithTitle = 10004005;

QString qText(int id) {
  return QString::fromStdString(textOf(id));
}

bool isEnterKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CChInfoView::CChInfoView(RadioData& data, UserInterface& ui, QWidget* parent)
    : CImageView(parent), data_(data), ui_(ui), grid_(new CEditGrid(this)) {
  freqEdit_ = new CFilterEdit(grid_->viewport());
  freqEdit_->setInputMode(CFilterEdit::FrequencyInput);
  freqEdit_->setMaxLength(10);
  freqEdit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  freqEdit_->hide();
  toneCombo_ = new CToneCombo(grid_->viewport());
  toneCombo_->hide();
  optionCombo_ = new QComboBox(grid_->viewport());
  optionCombo_->hide();
  for (QWidget* editor : {static_cast<QWidget*>(freqEdit_), static_cast<QWidget*>(toneCombo_),
                          static_cast<QWidget*>(toneCombo_->lineEdit()), static_cast<QWidget*>(optionCombo_)})
    editor->installEventFilter(this);

  closeButton_ = new QPushButton(qText(kTextClose), this);
  helpButton_ = new QPushButton(qText(kTextHelp), this);
  closeButton_->setAutoDefault(false);
  helpButton_->setAutoDefault(false);
  connect(closeButton_, &QPushButton::clicked, this, &CChInfoView::closeFrame);
  connect(helpButton_, &QPushButton::clicked, this, [this] { emit helpRequested(kViewHelp); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(helpButton_);
  buttons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1, Qt::AlignLeft);
  layout->addLayout(buttons);

  setUpdatesEnabled(false);
  grid_->setGridSize(data_.channelCount() + 1, kColumnCount);
  grid_->setupColumns(kColumns);
  grid_->numberRows();
  grid_->setMaximumHeight(grid_->contentHeight());
  toneCombo_->fillToneList();
  grid_->setKeyHandler([this](QKeyEvent* event) { return gridKey(event); });
  connect(grid_, &CEditGrid::mouseDown, this, &CChInfoView::onMouseDown);
  connect(grid_, &CEditGrid::rowColChanged, this, &CChInfoView::updateTitle);
  connect(freqEdit_, &CFilterEdit::focusLost, this, &CChInfoView::commitFrequency);
  connect(toneCombo_, &CToneCombo::focusLost, this, &CChInfoView::commitTone);
  connect(toneCombo_, &QComboBox::activated, this, &CChInfoView::pickTone);
  connect(optionCombo_, &QComboBox::activated, this, &CChInfoView::pickOption);
  grid_->setCell(1, 1);
  grid_->setTopRow(1);
  fillAllRows();
  updateTitle();
  setUpdatesEnabled(true);
  setFocusProxy(grid_);
}

bool CChInfoView::queryClose() {
  if (grid_->editorKind() != CEditGrid::EditorKind::None) returnFocusToGrid();
  return true;
}

QString CChInfoView::viewTitle() const {
  return title_;
}

int CChInfoView::helpContext() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == grid_ || grid_->isAncestorOf(focus))) {
    const int col = grid_->col();
    if (col >= 0 && col < kColumnCount) return kColumnHelp[col];
  }
  return kViewHelp;
}

void CChInfoView::updateTitle() {
  title_ = QStringLiteral("%1 [ %2 - %3 ]").arg(qText(kTextViewName), qText(kTextChannel)).arg(grid_->row());
  setWindowTitle(title_);
}

void CChInfoView::reloadFromImage() {
  // The image changed under the view: an open editor no longer belongs to it.
  if (grid_->editorKind() != CEditGrid::EditorKind::None) {
    committing_ = true;
    grid_->closeEditor(true);
    committing_ = false;
  }
  const int rows = data_.channelCount() + 1;
  if (rows != grid_->rows()) {
    grid_->setRowSelection(false);
    grid_->setGridSize(rows, kColumnCount);
    grid_->setupColumns(kColumns);
    grid_->numberRows();
    grid_->setMaximumHeight(grid_->contentHeight());
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

void CChInfoView::fillAllRows() {
  // One repaint for the whole table instead of one per cell.
  // (When the view has locked updates already, its own unlock repaints.)
  const bool lock = grid_->updatesEnabled();
  if (lock) grid_->setUpdatesEnabled(false);
  for (int row = 1; row < grid_->rows(); ++row)
    fillRow(row);
  if (lock) grid_->setUpdatesEnabled(true);
}

bool CChInfoView::beginEdit() {
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

bool CChInfoView::gridKey(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (isEnterKey(key)) {
    if (!beginEdit()) grid_->step(1, mods);
    return true;
  }
  if (event->matches(QKeySequence::Copy)) {
    copyRows();
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    pasteRows();
    return true;
  }
  switch (key) {
  case Qt::Key_Up:
  case Qt::Key_Down:
    if (mods & Qt::ShiftModifier) {
      if (!grid_->rowSelection()) {
        grid_->setCell(grid_->row(), 1);
        grid_->setRowSelection(true);
      }
    } else {
      grid_->setRowSelection(false);
    }
    return false;
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Home:
  case Qt::Key_End:
    grid_->setRowSelection(false);
    return false;
  case Qt::Key_Delete:
    if (grid_->rowSelection()) {
      deleteRows();
      grid_->setFocus();
      return true;
    }
    [[fallthrough]];
  case Qt::Key_Backspace:
    if (beginEdit()) {
      freqEdit_->clear();
      toneCombo_->setCurrentIndex(-1);
      toneCombo_->clearEditText();
    }
    return true;
  case Qt::Key_Menu:
    if (grid_->menuAllowedAt(grid_->row())) showContextMenu(grid_->currentCellCorner());
    return true;
  case Qt::Key_F1:
    emit helpRequested(helpContext());
    return true;
  case Qt::Key_Tab:
    return (mods & Qt::ControlModifier) != 0;
  default:
    break;
  }
  const QString typed = event->text();
  if (typed.isEmpty() || (mods & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))) return false;
  const QChar ch = typed.front();
  const int col = grid_->col();
  bool passes = false;
  if (col == kColRxFreq || col == kColTxFreq)
    passes = CFilterEdit::filterChar(CFilterEdit::FrequencyInput, QString(), 0, 0, ch).has_value();
  else if (col == kColRxTone || col == kColTxTone)
    passes = CToneCombo::filterChar(QString(), 0, 0, ch.toUpper()).has_value();
  if (!passes) return false;
  if (beginEdit()) {
    if (QWidget* editor = grid_->openEditor()) {
      QKeyEvent copy(QEvent::KeyPress, key, mods, typed);
      QCoreApplication::sendEvent(editor, &copy);
    }
  }
  return true;
}

bool CChInfoView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    QWidget* editor = watched == toneCombo_->lineEdit() ? toneCombo_ : qobject_cast<QWidget*>(watched);
    if (editorKey(editor, static_cast<QKeyEvent*>(event))) return true;
  } else if (event->type() == QEvent::FocusOut && watched == optionCombo_) {
    if (focusReallyLeft(static_cast<QFocusEvent*>(event)->reason())) closeOptionEditor();
  }
  return CImageView::eventFilter(watched, event);
}

bool CChInfoView::editorKey(QWidget* editor, QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    grid_->tabOut(key == Qt::Key_Backtab || (mods & Qt::ShiftModifier));
    return true;
  }
  if (event->matches(QKeySequence::Copy)) {
    copyRows();
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    pasteRows();
    return true;
  }
  if (key == Qt::Key_Escape) {
    if (editor == freqEdit_) {
      abandonEntry_ = true;
      freqEdit_->setText(grid_->savedCellText());
    }
    returnFocusToGrid();
    return true;
  }
  if (key == Qt::Key_F1) {
    returnFocusToGrid();
    return true;
  }
  if (!isEnterKey(key)) return false;
  const int row = grid_->row();
  const int col = grid_->col();
  returnFocusToGrid();
  int cells = 1;
  if (col == kColRxFreq) {
    const auto record = data_.channelRecord(row);
    cells = record && record->hasTransmit() ? 1 : 6;
  } else if (col == kColRxTone) {
    cells = data_.isChannelFieldEditable(row, kColTxTone) ? 1 : 3;
  }
  grid_->step(cells, mods);
  return true;
}

void CChInfoView::returnFocusToGrid() {
  grid_->setFocus(Qt::OtherFocusReason);
  // Without an active window Qt sends no focus-out; commit the way leaving the cell does.
  if (grid_->editorKind() == CEditGrid::EditorKind::Text) commitFrequency();
  if (grid_->editorKind() == CEditGrid::EditorKind::DropCombo) commitTone();
  if (grid_->editorKind() == CEditGrid::EditorKind::DropList) closeOptionEditor();
}

bool CChInfoView::editorHasFocus() const {
  QWidget* editor = grid_->openEditor();
  QWidget* focus = QApplication::focusWidget();
  return editor && focus && (focus == editor || editor->isAncestorOf(focus));
}

void CChInfoView::onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int row, int col) {
  if (button == Qt::LeftButton && col >= 1 && row >= 0) {
    grid_->setRowSelection(false);
    grid_->setCell(row >= 1 ? row : grid_->row(), col);
    beginEdit();
  } else if (button == Qt::RightButton && row >= 0 && grid_->hasFocus() && grid_->menuAllowedAt(row)) {
    showContextMenu(QCursor::pos());
  }
}

void CChInfoView::commitFrequency() {
  if (committing_ || grid_->editorKind() != CEditGrid::EditorKind::Text) return;
  committing_ = true;
  const int row = grid_->editorRow();
  const int col = grid_->editorCol();
  const QString text = freqEdit_->text();
  std::optional<int> warning;
  if (!abandonEntry_ && (col == kColRxFreq || col == kColTxFreq) &&
      (freqEdit_->isModified() || text.isEmpty())) {
    std::string entry = text.toStdString();
    const FrequencyField which = col == kColRxFreq ? FrequencyField::Receive : FrequencyField::Transmit;
    if (data_.setChannelFrequency(row, entry, which) == EntryResult::OutOfBand)
      warning = RadioData::outOfBandTextId(which);
  }
  abandonEntry_ = false;
  grid_->closeEditor(true);
  fillRow(row);
  committing_ = false;
  if (warning) ui_.warning(textOf(*warning));
}

void CChInfoView::commitTone() {
  if (committing_ || grid_->editorKind() != CEditGrid::EditorKind::DropCombo) return;
  committing_ = true;
  const int row = grid_->editorRow();
  const int col = grid_->editorCol();
  if (col == kColRxTone || col == kColTxTone)
    data_.setChannelTone(row, col == kColRxTone ? ToneField::Receive : ToneField::Transmit,
                         toneCombo_->currentText().toStdString(), true);
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
  fillRow(row);
}

void CChInfoView::pickOption(int index) {
  if (grid_->editorKind() != CEditGrid::EditorKind::DropList || index < 0) return;
  const int col = grid_->editorCol();
  if (col != kColOptionA && col != kColOptionB) return;
  data_.setChannelOption(grid_->editorRow(), col == kColOptionA ? 0 : 1,
                         optionCombo_->itemData(index).toInt());
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
  fillAllRows();
}

void CChInfoView::deleteRows() {
  if (!grid_->rowSelection() || !grid_->hasFocus()) return;
  const auto [first, last] = grid_->selectedRowRange();
  if (data_.deleteChannels(first, last)) fillAllRows();
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

void CChInfoView::showContextMenu(const QPoint& globalPos) {
  QMenu menu(this);
  menu.addAction(qText(kTextCopy), this, &CChInfoView::copyRows);
  QAction* paste = menu.addAction(qText(kTextPaste), this, &CChInfoView::pasteRows);
  paste->setEnabled(!data_.channelClipboard().isEmpty());
  menu.addAction(qText(kTextDelete), this, &CChInfoView::deleteRows);
  menu.addSeparator();
  menu.addAction(qText(kTextToClip), this, [this] { rowsToClipboard(false); });
  menu.addAction(qText(kTextToClipWithTitle), this, [this] { rowsToClipboard(true); });
  menu.exec(globalPos);
}

} // namespace vpr
