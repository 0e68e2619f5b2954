#include "views/CTestFreqView.h"

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "model/DisplayText.h"
#include "model/RadioData.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace vpr {

namespace {

constexpr GridColumn kColumns[] = {{DisplayText::kTestFrequencyHeaderIds[0], 60, kAlignCentre, 1},
                                   {DisplayText::kTestFrequencyHeaderIds[1], 100, kAlignRight, 1},
                                   {DisplayText::kTestFrequencyHeaderIds[2], 100, kAlignRight, 1}};
constexpr int kColumnCount = 3;
constexpr int kColumnHelp[kColumnCount] = {212992, 213249, 213250};
constexpr int kViewHelp = 212992;
constexpr int kColRx = 1;
constexpr int kColTx = 2;

constexpr int kTextViewName = 10027010;
constexpr int kTextCloseMessage = 10026021;
constexpr int kTextHelp = 10002004;
constexpr int kTextClose = 10002003;
constexpr int kTextCopy = 10004001;
constexpr int kTextPaste = 10004002;
constexpr int kTextDelete = 10004003;

QString qText(int id) {
  return QString::fromStdString(textOf(id));
}

bool isEnterKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

FrequencyField fieldOf(int col) {
  return col == kColRx ? FrequencyField::Receive : FrequencyField::Transmit;
}

} // namespace

CTestFreqView::CTestFreqView(RadioData& data, UserInterface& ui, QWidget* parent)
    : CImageView(parent), data_(data), ui_(ui), grid_(new CEditGrid(this)) {
  freqEdit_ = new CFilterEdit(grid_->viewport());
  freqEdit_->setInputMode(CFilterEdit::FrequencyInput);
  freqEdit_->setMaxLength(10);
  freqEdit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  freqEdit_->hide();
  freqEdit_->installEventFilter(this);

  closeButton_ = new QPushButton(qText(kTextClose), this);
  helpButton_ = new QPushButton(qText(kTextHelp), this);
  closeButton_->setAutoDefault(false);
  helpButton_->setAutoDefault(false);
  connect(closeButton_, &QPushButton::clicked, this, &CTestFreqView::closeFrame);
  connect(helpButton_, &QPushButton::clicked, this, [this] { emit helpRequested(kViewHelp); });

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
  grid_->setGridSize(layout::kTestFreqCount + 1, kColumnCount);
  grid_->setupColumns(kColumns);
  grid_->numberRows();
  grid_->setMaximumHeight(grid_->contentHeight());
  grid_->setKeyHandler([this](QKeyEvent* event) { return gridKey(event); });
  connect(grid_, &CEditGrid::mouseDown, this, &CTestFreqView::onMouseDown);
  connect(freqEdit_, &CFilterEdit::focusLost, this, &CTestFreqView::commitFrequency);
  fillAllRows();
  setUpdatesEnabled(true);
  setFocusProxy(grid_);
}

QString CTestFreqView::viewTitle() const {
  return qText(kTextViewName);
}

int CTestFreqView::helpContext() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == grid_ || grid_->isAncestorOf(focus))) {
    const int col = grid_->col();
    if (col >= 0 && col < kColumnCount) return kColumnHelp[col];
  }
  return kViewHelp;
}

bool CTestFreqView::queryClose() {
  // An entry still open in the editor is stored before the frame closes.
  if (grid_->editorKind() != CEditGrid::EditorKind::None) returnFocusToGrid();
  MessageRequest request;
  request.kind = MessageKind::Product;
  request.text = textOf(kTextCloseMessage);
  request.caption = textOf(kTextViewName);
  request.icon = MessageIcon::Information;
  ui_.showMessage(request);
  return true;
}

void CTestFreqView::reloadFromImage() {
  if (grid_->editorKind() != CEditGrid::EditorKind::None) {
    committing_ = true;
    grid_->closeEditor(true);
    committing_ = false;
  }
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

void CTestFreqView::fillAllRows() {
  // One repaint for the whole table instead of one per cell.
  // (When the view has locked updates already, its own unlock repaints.)
  const bool lock = grid_->updatesEnabled();
  if (lock) grid_->setUpdatesEnabled(false);
  for (int row = 1; row < grid_->rows(); ++row)
    fillRow(row);
  if (lock) grid_->setUpdatesEnabled(true);
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

bool CTestFreqView::gridKey(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (isEnterKey(key)) {
    if (!beginEdit(true)) grid_->step(1, mods);
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
  case Qt::Key_Backspace:
    if (grid_->rowSelection()) {
      deleteRows();
    } else if (beginEdit(true)) {
      freqEdit_->clear();
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
  if (!CFilterEdit::filterChar(CFilterEdit::FrequencyInput, QString(), 0, 0, typed.front())) return false;
  if (beginEdit(false)) {
    QKeyEvent copy(QEvent::KeyPress, key, mods, typed);
    QCoreApplication::sendEvent(freqEdit_, &copy);
  }
  return true;
}

bool CTestFreqView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == freqEdit_ && event->type() == QEvent::KeyPress && editorKey(static_cast<QKeyEvent*>(event)))
    return true;
  return CImageView::eventFilter(watched, event);
}

bool CTestFreqView::editorKey(QKeyEvent* event) {
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
    abandonEntry_ = true;
    freqEdit_->setText(grid_->savedCellText());
    returnFocusToGrid();
    return true;
  }
  if (key == Qt::Key_F1) {
    returnFocusToGrid();
    return true;
  }
  if (!isEnterKey(key)) return false;
  returnFocusToGrid();
  grid_->step(1, mods);
  return true;
}

void CTestFreqView::returnFocusToGrid() {
  grid_->setFocus(Qt::OtherFocusReason);
  // Without an active window Qt sends no focus-out; commit the way leaving the cell does.
  commitFrequency();
}

void CTestFreqView::onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int row, int col) {
  if (button == Qt::LeftButton && col >= 1 && row >= 0) {
    grid_->setRowSelection(false);
    grid_->setCell(row >= 1 ? row : grid_->row(), col);
    beginEdit(false);
  } else if (button == Qt::RightButton && row >= 0 && grid_->hasFocus() && grid_->menuAllowedAt(row)) {
    showContextMenu(QCursor::pos());
  }
}

void CTestFreqView::commitFrequency() {
  if (committing_ || grid_->editorKind() != CEditGrid::EditorKind::Text) return;
  committing_ = true;
  const int row = grid_->editorRow();
  const int col = grid_->editorCol();
  const QString text = freqEdit_->text();
  std::optional<int> warning;
  if (!abandonEntry_ && (col == kColRx || col == kColTx) && (freqEdit_->isModified() || text.isEmpty())) {
    std::string entry = text.toStdString();
    if (data_.setTestFrequency(row, entry, fieldOf(col)) == EntryResult::OutOfBand)
      warning = RadioData::outOfBandTextId(fieldOf(col));
    // The table is never left without a test frequency.
    data_.ensureTestFrequencies();
  }
  abandonEntry_ = false;
  grid_->closeEditor(true);
  fillAllRows();
  committing_ = false;
  if (warning) ui_.warning(textOf(*warning));
}

void CTestFreqView::copyRows() {
  if (grid_->editorKind() != CEditGrid::EditorKind::None) returnFocusToGrid();
  if (!grid_->hasFocus()) return;
  const auto [first, last] = grid_->selectedRowRange();
  data_.copyTestFrequencies(first, last);
  fillAllRows();
}

void CTestFreqView::pasteRows() {
  if (grid_->editorKind() != CEditGrid::EditorKind::None) returnFocusToGrid();
  if (data_.testFreqClipboard().isEmpty()) return;
  const int start = grid_->rowSelection() ? grid_->selectedRowRange().first : grid_->row();
  data_.pasteTestFrequencies(start);
  data_.ensureTestFrequencies();
  fillAllRows();
}

void CTestFreqView::deleteRows() {
  if (!grid_->rowSelection() || !grid_->hasFocus()) return;
  const auto [first, last] = grid_->selectedRowRange();
  data_.deleteTestFrequencies(first, last);
  fillAllRows();
}

void CTestFreqView::showContextMenu(const QPoint& globalPos) {
  QMenu menu(this);
  menu.addAction(qText(kTextCopy), this, &CTestFreqView::copyRows);
  QAction* paste = menu.addAction(qText(kTextPaste), this, &CTestFreqView::pasteRows);
  paste->setEnabled(!data_.testFreqClipboard().isEmpty());
  menu.addAction(qText(kTextDelete), this, &CTestFreqView::deleteRows);
  menu.exec(globalPos);
}

} // namespace vpr
