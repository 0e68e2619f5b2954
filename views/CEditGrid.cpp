#include "views/CEditGrid.h"

#include "lang/CLanguageTable.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

namespace vpr {

namespace {

constexpr char kLcdFontFace[] = "RPS Symbols LCD Fonts 40T";

Qt::Alignment alignmentOf(int code) {
  return code == kAlignRight ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter;
}

bool isEnter(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CEditGrid::CEditGrid(QWidget* parent) : QTableWidget(parent) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->viewport()->installEventFilter(this);
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

  // Rows tall enough for a drop-down combo of the grid's font to sit inside a cell.
  QComboBox probe;
  probe.setFont(font());
  probe.setEditable(true);
  verticalHeader()->setDefaultSectionSize(
      std::max(fontMetrics().height() + 8, probe.sizeHint().height() + 2));

  connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, &CEditGrid::commitBeforeScroll);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &CEditGrid::commitBeforeScroll);
  connect(this, &QTableWidget::currentCellChanged, this, [this] { emit rowColChanged(); });
}

void CEditGrid::setGridSize(int rows, int cols) {
  const int oldRows = rowCount();
  const int oldCols = columnCount();
  setRowCount(std::max(0, rows - 1));
  setColumnCount(std::max(0, cols));
  const QBrush fixedBrush = palette().brush(QPalette::Button);
  for (int r = 0; r < rowCount(); ++r) {
    for (int c = 0; c < columnCount(); ++c) {
      if (r < oldRows && c < oldCols && item(r, c)) continue;
      auto* cell = new QTableWidgetItem;
      if (c == 0) {
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(fixedBrush);
        cell->setTextAlignment(Qt::AlignCenter);
      } else {
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      }
      setItem(r, c, cell);
    }
  }
}

int CEditGrid::columnPixels(int width) const {
  // The widths were chosen for a font whose digits are 7 pixels wide; follow the real font.
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  return std::max(width, width * digit / 7);
}

void CEditGrid::setupColumns(std::span<const GridColumn> columns) {
  QFont courier(QStringLiteral("Courier"));
  courier.setStyleHint(QFont::TypeWriter);
  QFont lcd(QString::fromLatin1(kLcdFontFace));
  const bool haveLcd = QFontDatabase::families().contains(QString::fromLatin1(kLcdFontFace));
  if (haveLcd) lcd.setPointSizeF(9.75);
  for (int c = 0; c < columnCount() && c < int(columns.size()) && columns[c].width != 0; ++c) {
    const GridColumn& column = columns[c];
    auto* header = new QTableWidgetItem(QString::fromStdString(textOf(column.headerText)));
    header->setTextAlignment(Qt::AlignCenter);
    setHorizontalHeaderItem(c, header);
    const int headerWidth = horizontalHeader()->fontMetrics().horizontalAdvance(header->text()) + 16;
    setColumnWidth(c, std::max(columnPixels(column.width), headerWidth));
    for (int r = 0; r < rowCount(); ++r) {
      QTableWidgetItem* cell = item(r, c);
      if (c > 0) cell->setTextAlignment(alignmentOf(column.alignment));
      if (column.fontKind == 0) cell->setFont(courier);
      if (column.fontKind == 2) cell->setFont(haveLcd ? lcd : courier);
    }
  }
  updateGeometry();
}

void CEditGrid::numberRows() {
  for (int r = 0; r < rowCount(); ++r)
    item(r, 0)->setText(QString::number(r + 1));
  if (rowCount() > 0 && columnCount() > 1) setCell(1, 1);
}

void CEditGrid::setCell(int row, int col) {
  if (row < 1 || row >= rows() || col < 1 || col >= cols()) return;
  setCurrentCell(row - 1, col,
                 rowSelection_ ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
}

int CEditGrid::topRow() const {
  const int r = rowAt(0);
  return r < 0 ? 1 : r + 1;
}

void CEditGrid::setTopRow(int row) {
  verticalScrollBar()->setValue(row - 1);
}

int CEditGrid::rowsPerPage() const {
  const int height = verticalHeader()->defaultSectionSize();
  return height > 0 ? std::max(1, viewport()->height() / height) : 1;
}

QString CEditGrid::cellText(int row, int col) const {
  const QTableWidgetItem* cell = item(row - 1, col);
  return cell ? cell->text() : QString();
}

void CEditGrid::setCellText(int row, int col, const QString& text) {
  if (QTableWidgetItem* cell = item(row - 1, col)) cell->setText(text);
}

bool CEditGrid::openEditorWidget(QWidget* editor, EditorKind kind) {
  if (row() < 1 || col() < 1) return false;
  scrollTo(currentIndex());
  // The editor is a sibling of the grid, laid over the cell: an accessibility client sees a
  // table's cells but never widgets inside its viewport, so an editor there could not be reached.
  if (QWidget* host = parentWidget(); host && editor->parentWidget() != host) editor->setParent(host);
  // Named and described by its column: platforms whose combo boxes announce their value as
  // their name still read the column.
  if (const QTableWidgetItem* header = horizontalHeaderItem(col())) {
    editor->setAccessibleName(header->text());
    editor->setAccessibleDescription(header->text());
  }
  editorKind_ = kind;
  editor_ = editor;
  editorRow_ = row();
  editorCol_ = col();
  placeEditor();
  editor->setEnabled(true);
  editor->show();
  editor->raise();
  return true;
}

void CEditGrid::placeEditor() {
  if (!editor_) return;
  QRect cell = visualRect(currentIndex());
  if (editor_->parentWidget() != viewport())
    cell.moveTopLeft(viewport()->mapTo(editor_->parentWidget(), cell.topLeft()));
  editor_->setGeometry(editorKind_ == EditorKind::Text ? cell.adjusted(1, 1, -1, -1)
                                                       : cell.adjusted(0, 0, 0, -1));
}

bool CEditGrid::openTextEditor(QLineEdit* editor, const QString& text, bool giveFocus) {
  if (!openEditorWidget(editor, EditorKind::Text)) return false;
  editor->setFont(font());
  editor->setText(text);
  editor->setModified(false);
  if (giveFocus) editor->setFocus(Qt::OtherFocusReason);
  editor->selectAll();
  savedText_ = cellText(row(), col());
  setCellText(row(), col(), QString());
  return true;
}

bool CEditGrid::openListEditor(QComboBox* editor, const QString& text, bool giveFocus) {
  if (!openEditorWidget(editor, EditorKind::DropList)) return false;
  editor->setFont(font());
  editor->setCurrentIndex(editor->findText(text, Qt::MatchExactly));
  if (giveFocus) editor->setFocus(Qt::OtherFocusReason);
  return true;
}

bool CEditGrid::openComboEditor(QComboBox* editor, const QString& text, bool giveFocus) {
  if (!openEditorWidget(editor, EditorKind::DropCombo)) return false;
  editor->setFont(font());
  const int index = editor->findText(text, Qt::MatchExactly);
  editor->setCurrentIndex(index);
  if (index < 0) editor->setEditText(text);
  if (giveFocus) editor->setFocus(Qt::OtherFocusReason);
  if (editor->lineEdit()) editor->lineEdit()->selectAll();
  return true;
}

bool CEditGrid::closeEditor(bool clearText) {
  if (editorKind_ == EditorKind::None) return false;
  QWidget* editor = editor_;
  editorKind_ = EditorKind::None;
  editor_ = nullptr;
  if (clearText) {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) edit->clear();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      combo->setCurrentIndex(-1);
      if (combo->isEditable()) combo->clearEditText();
    }
  }
  editor->hide();
  editor->setEnabled(false);
  return true;
}

void CEditGrid::step(int n, Qt::KeyboardModifiers modifiers) {
  setFocus(Qt::OtherFocusReason);
  bool moved = false;
  if (!(modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) && cols() > 1) {
    const int r = row();
    const int c = col();
    if (c + n < cols()) {
      setCell(r, c + n);
      moved = true;
    } else {
      const int k = n + c - cols();
      const int target = r + k / (cols() - 1) + 1;
      if (target < rows()) {
        setCell(target, k % (cols() - 1) + 1);
        scrollTo(currentIndex());
        moved = true;
      }
    }
  }
  if (!moved) enterArmed_ = false;
}

void CEditGrid::setRowSelection(bool on) {
  if (on == rowSelection_) return;
  rowSelection_ = on;
  if (on) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    selectAnchor_ = row();
    if (currentRow() >= 0) selectRow(currentRow());
  } else {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    clearSelection();
    if (currentIndex().isValid()) selectionModel()->select(currentIndex(), QItemSelectionModel::Select);
  }
}

std::pair<int, int> CEditGrid::selectedRowRange() const {
  if (!rowSelection_) return {row(), row()};
  int first = rows();
  int last = 0;
  for (const QItemSelectionRange& range : selectionModel()->selection()) {
    first = std::min(first, range.top() + 1);
    last = std::max(last, range.bottom() + 1);
  }
  if (last == 0) return {row(), row()};
  return {first, last};
}

bool CEditGrid::menuAllowedAt(int clickedRow) const {
  if (!rowSelection_) return false;
  const auto [first, last] = selectedRowRange();
  if (clickedRow == 0) return first == 1 && last == rows() - 1;
  return clickedRow >= first && clickedRow <= last;
}

void CEditGrid::collapseSelection() {
  if (currentRow() < 0) return;
  clearSelection();
  if (rowSelection_)
    selectRow(currentRow());
  else
    selectionModel()->select(currentIndex(), QItemSelectionModel::Select);
}

void CEditGrid::selectRowsTo(int row) {
  const int first = std::min(selectAnchor_, row);
  const int last = std::max(selectAnchor_, row);
  const QItemSelection selection(model()->index(first - 1, 0), model()->index(last - 1, columnCount() - 1));
  selectionModel()->setCurrentIndex(model()->index(row - 1, std::max(1, col())),
                                    QItemSelectionModel::NoUpdate);
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void CEditGrid::tabOut(bool backwards) {
  setFocus(Qt::TabFocusReason);
  focusNextPrevChild(!backwards);
}

QPoint CEditGrid::currentCellCorner() const {
  return viewport()->mapToGlobal(visualRect(currentIndex()).bottomRight());
}

int CEditGrid::contentWidth() const {
  int width = 2 * frameWidth();
  for (int c = 0; c < columnCount(); ++c)
    width += columnWidth(c);
  // Room for the vertical scroll bar whenever it shows, so that it never covers the last column;
  // it shows when the rows need more height than the grid has (a tiled or small frame).
  const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
  if (policy == Qt::ScrollBarAlwaysOn || (policy == Qt::ScrollBarAsNeeded && contentHeight() > height()))
    width += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return width;
}

int CEditGrid::contentHeight() const {
  return 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
         rowCount() * verticalHeader()->defaultSectionSize();
}

QSize CEditGrid::sizeHint() const {
  return {contentWidth(), contentHeight()};
}

void CEditGrid::fitToContent() {
  fitsRows_ = true;
  refit();
}

void CEditGrid::refit() {
  if (fitsRows_) {
    const int height = contentHeight();
    if (maximumHeight() != height) setMaximumHeight(height);
  }
  const int width = contentWidth();
  const int least = narrowest_ < 0 ? width : std::min(narrowest_, width);
  if (minimumWidth() != least) setMinimumWidth(least);
  if (maximumWidth() != width) setMaximumWidth(width);
}

void CEditGrid::allowNarrowing(int minimumWidth) {
  narrowest_ = minimumWidth;
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  connect(horizontalScrollBar(), &QScrollBar::sliderPressed, this, &CEditGrid::commitBeforeScroll,
          Qt::UniqueConnection);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, &CEditGrid::commitBeforeScroll,
          Qt::UniqueConnection);
  refit();
}

void CEditGrid::commitBeforeScroll() {
  // Scrolling commits an open editor first, so no editor is ever left over another cell.
  if (editorKind_ != EditorKind::None) setFocus(Qt::OtherFocusReason);
}

void CEditGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  placeEditor();
  refit();
}

void CEditGrid::moveEvent(QMoveEvent* event) {
  QTableWidget::moveEvent(event);
  placeEditor();
}

void CEditGrid::updateGeometries() {
  QTableWidget::updateGeometries();
  // The vertical scroll bar comes and goes with the room the rows have; the columns stay whole.
  refit();
}

void CEditGrid::showEvent(QShowEvent* event) {
  QTableWidget::showEvent(event);
  refit();
}

void CEditGrid::changeEvent(QEvent* event) {
  QTableWidget::changeEvent(event);
  if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) refit();
}

bool CEditGrid::pageKey(bool down) {
  const int P = rowsPerPage();
  const int R = rows();
  const int F = 1;
  int r = row();
  const int t = topRow();
  if (t > r) {
    setCell(t, col());
    r = t;
  }
  if (down) {
    const int wanted = t + P;
    if (wanted < R) setTopRow(wanted);
    if (r >= wanted + P) {
      setCell(wanted, col());
    } else if (r >= wanted) {
      // stays
    } else if (topRow() == wanted) {
      setCell(std::min(r + P, R - 1), col());
    } else {
      setCell(topRow() > r ? topRow() : R - 1, col());
    }
  } else {
    const int wanted = std::max(t - P, F);
    setTopRow(wanted);
    if ((wanted < r && r < wanted + P) || r >= wanted + 2 * P) {
      setCell(wanted, col());
    } else if (topRow() == wanted && wanted != t) {
      setCell(std::max(r - P, F), col());
    } else {
      setCell(topRow() < r ? topRow() : F, col());
    }
  }
  return true;
}

void CEditGrid::keyPressEvent(QKeyEvent* event) {
  if (editorKind_ != EditorKind::None && !hasFocus()) {
    // A key the open editor did not use: the grid must not move under the editor.
    event->accept();
    return;
  }
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (isEnter(key)) {
    if (!enterArmed_) {
      event->accept();
      return;
    }
    if ((row() == rows() - 1 && col() == cols() - 1) || (mods & (Qt::ControlModifier | Qt::ShiftModifier)))
      enterArmed_ = false;
  }
  if ((key == Qt::Key_PageUp || key == Qt::Key_PageDown) && !(mods & Qt::ControlModifier)) {
    setRowSelection(false);
    pageKey(key == Qt::Key_PageDown);
    event->accept();
    return;
  }
  if (keyHandler_ && keyHandler_(event)) {
    event->accept();
    return;
  }
  if (arrowWrap_ && !(mods & Qt::ShiftModifier)) {
    if (key == Qt::Key_Right && col() == cols() - 1 && row() < rows() - 1) {
      setCell(row() + 1, 1);
      scrollTo(currentIndex());
      event->accept();
      return;
    }
    if (key == Qt::Key_Left && col() == 1 && row() > 1) {
      setCell(row() - 1, cols() - 1);
      scrollTo(currentIndex());
      event->accept();
      return;
    }
  }
  if (isEnter(key) || key == Qt::Key_Delete || key == Qt::Key_Backspace) {
    event->accept();
    return;
  }
  QTableWidget::keyPressEvent(event);
}

void CEditGrid::keyReleaseEvent(QKeyEvent* event) {
  if (isEnter(event->key()) && !event->isAutoRepeat()) enterArmed_ = true;
  QTableWidget::keyReleaseEvent(event);
}

void CEditGrid::focusInEvent(QFocusEvent* event) {
  enterArmed_ = true;
  QTableWidget::focusInEvent(event);
}

QModelIndex CEditGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex target = QTableWidget::moveCursor(action, modifiers);
  // The number column never holds the cursor.
  if (target.isValid() && target.column() == 0 && columnCount() > 1) return model()->index(target.row(), 1);
  return target;
}

void CEditGrid::keyboardSearch(const QString&) {}

void CEditGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const int r = rowAt(pos.y()) < 0 ? -1 : rowAt(pos.y()) + 1;
  const int c = columnAt(pos.x());
  if (event->button() == Qt::MiddleButton) {
    setFocus(Qt::MouseFocusReason);
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton && c == 0 && r > 0) {
    // The number column selects whole rows; Shift extends from the first row picked.
    setFocus(Qt::MouseFocusReason);
    setRowSelection(true);
    if (!(event->modifiers() & Qt::ShiftModifier)) selectAnchor_ = r;
    selectRowsTo(r);
    numberDrag_ = true;
  }
  event->accept();
  emit mouseDown(event->button(), event->modifiers(), r, c);
}

void CEditGrid::mouseMoveEvent(QMouseEvent* event) {
  if (numberDrag_ && (event->buttons() & Qt::LeftButton)) {
    const int r = rowAt(event->position().toPoint().y());
    if (r >= 0) selectRowsTo(r + 1);
  }
  event->accept();
}

void CEditGrid::mouseReleaseEvent(QMouseEvent* event) {
  numberDrag_ = false;
  event->accept();
}

void CEditGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}

void CEditGrid::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (rowCount() <= rowsPerPage()) return;
  commitBeforeScroll();
  const int delta = event->angleDelta().y();
  const int top = topRow();
  const int wanted =
      (event->modifiers() & Qt::ControlModifier) ? top - (delta / 120) * rowsPerPage() : top - delta / 40;
  setTopRow(std::clamp(wanted, 1, rows() - 1));
}

void CEditGrid::scrollContentsBy(int dx, int dy) {
  QTableWidget::scrollContentsBy(dx, dy);
  placeEditor();
}

bool CEditGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    emit mouseDown(mouse->button(), mouse->modifiers(), 0,
                   horizontalHeader()->logicalIndexAt(mouse->position().toPoint()));
    return true;
  }
  return QTableWidget::eventFilter(watched, event);
}

} // namespace vpr
