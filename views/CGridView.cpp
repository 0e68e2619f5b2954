#include "views/CGridView.h"

#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "views/CEditGrid.h"
#include "views/CFilterEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <tuple>

namespace vpr {

namespace {

constexpr int kTextCopy = 10004001;
constexpr int kTextPaste = 10004002;
constexpr int kTextDelete = 10004003;

QString qText(int id) {
  return QString::fromStdString(textOf(id));
}

bool isEnterKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CGridView::CGridView(RadioData& data, UserInterface& ui, std::span<const int> columnHelp, int viewHelp,
                     QWidget* parent)
    : CImageView(parent), data_(data), ui_(ui), grid_(new CEditGrid(this)), columnHelp_(columnHelp),
      viewHelp_(viewHelp) {
  freqEdit_ = new CFilterEdit(this);
  freqEdit_->setInputMode(CFilterEdit::FrequencyInput);
  freqEdit_->setMaxLength(10);
  freqEdit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  freqEdit_->hide();
  freqEdit_->installEventFilter(this);

  std::tie(closeButton_, helpButton_) = createFrameButtons(viewHelp);

  grid_->setKeyHandler([this](QKeyEvent* event) { return gridKey(event); });
  connect(grid_, &CEditGrid::mouseDown, this, &CGridView::onMouseDown);
  connect(freqEdit_, &CFilterEdit::focusLost, this, &CGridView::commitFrequency);
  setFocusProxy(grid_);
}

int CGridView::helpContext() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == grid_ || grid_->isAncestorOf(focus))) {
    const int col = grid_->col();
    if (col >= 0 && col < static_cast<int>(columnHelp_.size())) return columnHelp_[col];
  }
  return viewHelp_;
}

void CGridView::commitPendingEdit() {
  if (grid_->editorKind() != CEditGrid::EditorKind::None) returnFocusToGrid();
}

void CGridView::sizeGrid(int rows, std::span<const GridColumn> columns) {
  grid_->setGridSize(rows, static_cast<int>(columns.size()));
  grid_->setupColumns(columns);
  grid_->numberRows();
  grid_->fitToContent();
}

void CGridView::dropOpenEditor() {
  if (grid_->editorKind() == CEditGrid::EditorKind::None) return;
  committing_ = true;
  grid_->closeEditor(true);
  committing_ = false;
}

void CGridView::fillAllRows() {
  // One repaint for the whole table instead of one per cell.
  // (When the view has locked updates already, its own unlock repaints.)
  const bool lock = grid_->updatesEnabled();
  if (lock) grid_->setUpdatesEnabled(false);
  for (int row = 1; row < grid_->rows(); ++row)
    fillRow(row);
  if (lock) grid_->setUpdatesEnabled(true);
}

int CGridView::cellsAfterEntry(int, int) const {
  return 1;
}

void CGridView::addMenuExtras(QMenu&) {}

bool CGridView::gridKey(QKeyEvent* event) {
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
    eraseKey(key);
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
  if (!startsEntry(typed.front())) return false;
  if (beginEdit(false)) {
    if (QWidget* editor = grid_->openEditor()) {
      QKeyEvent copy(QEvent::KeyPress, key, mods, typed);
      QCoreApplication::sendEvent(editor, &copy);
    }
  }
  return true;
}

void CGridView::keyPressEvent(QKeyEvent* event) {
  // A key the open cell editor did not use stops here: nothing around the grid (the scrolling
  // pane, the frame) moves under the editor.
  if (grid_->editorKind() != CEditGrid::EditorKind::None && !grid_->hasFocus()) {
    event->accept();
    return;
  }
  CImageView::keyPressEvent(event);
}

bool CGridView::eventFilter(QObject* watched, QEvent* event) {
  // Only the cell editors are watched.
  if (event->type() == QEvent::KeyPress &&
      editorKey(qobject_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event)))
    return true;
  return CImageView::eventFilter(watched, event);
}

bool CGridView::editorKey(QWidget* editor, QKeyEvent* event) {
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
  grid_->step(cellsAfterEntry(row, col), mods);
  return true;
}

void CGridView::returnFocusToGrid() {
  grid_->setFocus(Qt::OtherFocusReason);
  // Without an active window Qt sends no focus-out; commit the way leaving the cell does.
  commitOpenEditor();
}

void CGridView::commitOpenEditor() {
  commitFrequency();
}

void CGridView::onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int row, int col) {
  if (button == Qt::LeftButton && col >= 1 && row >= 0) {
    grid_->setRowSelection(false);
    grid_->setCell(row >= 1 ? row : grid_->row(), col);
    beginEdit(false);
  } else if (button == Qt::RightButton && row >= 0 && grid_->hasFocus() && grid_->menuAllowedAt(row)) {
    showContextMenu(QCursor::pos());
  }
}

void CGridView::commitFrequency() {
  if (committing_ || grid_->editorKind() != CEditGrid::EditorKind::Text) return;
  committing_ = true;
  const int row = grid_->editorRow();
  const int col = grid_->editorCol();
  const QString text = freqEdit_->text();
  std::optional<int> warning;
  // An accessibility client sets the editor's text as a whole, which leaves it unmodified:
  // a text other than the cell's counts as an entry all the same.
  const bool entered = freqEdit_->isModified() || text != grid_->savedCellText() || text.isEmpty();
  if (!abandonEntry_ && entered) warning = storeFrequency(row, col, text.toStdString());
  abandonEntry_ = false;
  grid_->closeEditor(true);
  refillAfterEntry(row);
  committing_ = false;
  if (warning) ui_.warning(textOf(*warning));
}

void CGridView::showContextMenu(const QPoint& globalPos) {
  QMenu menu(this);
  menu.addAction(qText(kTextCopy), this, &CGridView::copyRows);
  QAction* paste = menu.addAction(qText(kTextPaste), this, &CGridView::pasteRows);
  paste->setEnabled(canPaste());
  menu.addAction(qText(kTextDelete), this, &CGridView::deleteRows);
  addMenuExtras(menu);
  menu.exec(globalPos);
}

} // namespace vpr
