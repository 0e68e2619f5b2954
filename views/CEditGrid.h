#pragma once
// The table of the channel and test-frequency views: one header row, one row-number column, and
// one editor at a time placed over the current cell. The grid owns the mechanics (headers, row
// numbers, placing and closing editors, Enter stepping, paging, arrow wrap, row selection); the
// views own what a cell shows and how an entry is stored.
//
// Rows and columns are counted as the user sees them: row 0 is the header row, rows 1..rows()-1
// are the data rows; column 0 is the row-number column, columns 1..cols()-1 hold data.

#include "views/GridColumn.h"

#include <QTableWidget>
#include <functional>
#include <span>
#include <utility>

class QComboBox;
class QLineEdit;

namespace vpr {

class CEditGrid : public QTableWidget {
  Q_OBJECT
public:
  enum class EditorKind { None, Text, DropList, DropCombo };

  explicit CEditGrid(QWidget* parent = nullptr);

  // Table size including the header row and the number column.
  void setGridSize(int rows, int cols);
  int rows() const { return rowCount() + 1; }
  int cols() const { return columnCount(); }

  // Headers, widths, alignment and fonts from the view's column table; then row numbers.
  void setupColumns(std::span<const GridColumn> columns);
  void numberRows();

  // The current cell (0 when there is none).
  int row() const { return currentRow() + 1; }
  int col() const { return currentColumn() < 0 ? 0 : currentColumn(); }
  void setCell(int row, int col);
  int topRow() const;
  void setTopRow(int row);
  // Whole data rows visible at once.
  int rowsPerPage() const;

  QString cellText(int row, int col) const;
  void setCellText(int row, int col, const QString& text);

  // Opens an editor over the current cell; false (and nothing opens) on row or column 0.
  // The text editor takes `text` selected in full and blanks the cell behind it; the list and
  // combo editors select the entry of equal text (the combo shows unlisted text in its edit).
  bool openTextEditor(QLineEdit* editor, const QString& text, bool giveFocus);
  bool openListEditor(QComboBox* editor, const QString& text, bool giveFocus);
  bool openComboEditor(QComboBox* editor, const QString& text, bool giveFocus);
  // Hides the open editor (emptying it when asked); false when none was open.
  bool closeEditor(bool clearText);
  EditorKind editorKind() const { return editorKind_; }
  QWidget* openEditor() const { return editor_; }
  // The cell the open editor belongs to (where its entry is stored).
  int editorRow() const { return editorRow_; }
  int editorCol() const { return editorCol_; }
  // The cell text taken when the text editor opened (what Esc puts back).
  QString savedCellText() const { return savedText_; }

  // Focus to the grid, then n cells further, wrapping into the following rows. Without a move
  // (last row, Shift or Ctrl held) Enter stays disarmed until it is released.
  void step(int n, Qt::KeyboardModifiers modifiers);

  void setRowSelection(bool on);
  bool rowSelection() const { return rowSelection_; }
  // The selected rows in ascending order; the current row alone without row selection.
  std::pair<int, int> selectedRowRange() const;
  // Whether a context menu may open for a click on the row: only with row selection, and only
  // on a selected row, or on the header row when every data row is selected.
  bool menuAllowedAt(int clickedRow) const;
  // Shrinks the selection to the current row.
  void collapseSelection();

  // Focus leaves the grid to the next (or previous) control of the view.
  void tabOut(bool backwards);
  // The bottom-right corner of the current cell in screen coordinates.
  QPoint currentCellCorner() const;

  void setArrowWrap(bool on) { arrowWrap_ = on; }

  // The view's key handling, asked after the grid's own Enter and paging rules;
  // returns true when it consumed the key.
  void setKeyHandler(std::function<bool(QKeyEvent*)> handler) { keyHandler_ = std::move(handler); }

  QSize sizeHint() const override;
  // The width the grid needs to show every column (and a vertical scroll bar when needed).
  int contentWidth() const;
  // The height that shows every row.
  int contentHeight() const;
  // Limits the grid to the width of its columns and, from now on, to the height of all its rows.
  // Done again whenever the style or font changes the size of headers and rows (the first show
  // polishes them). A grid that never asked for it keeps its own height and only follows the
  // width of its columns.
  void fitToContent();
  // Lets the grid be narrower than its columns (down to `minimumWidth`), scrolling sideways
  // then: for a table that can be wider than the screen. Off by default: the grid keeps the
  // width of its columns.
  void allowNarrowing(int minimumWidth);

signals:
  // A mouse button went down over a cell (row 0 = header row, column 0 = number column);
  // row and column are -1 where no cell was hit.
  void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int row, int col);
  // The current cell changed.
  void rowColChanged();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void updateGeometries() override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void keyboardSearch(const QString& search) override;

private:
  // Width (and height, once fitToContent was asked for) to the current headers and rows.
  void refit();
  void commitBeforeScroll();
  bool openEditorWidget(QWidget* editor, EditorKind kind);
  void placeEditor();
  bool pageKey(bool down);
  void selectRowsTo(int row);
  int columnPixels(int width) const;

  EditorKind editorKind_ = EditorKind::None;
  QWidget* editor_ = nullptr;
  QString savedText_;
  int editorRow_ = 0;
  int editorCol_ = 0;
  bool enterArmed_ = true;
  bool arrowWrap_ = true;
  bool fitsRows_ = false; // fitToContent asked for every row to show
  int narrowest_ = -1;    // the least width allowNarrowing gave (none: the columns' width)
  bool rowSelection_ = false;
  int selectAnchor_ = 0;    // first row of a selection made in the number column
  bool numberDrag_ = false; // the left button went down in the number column
  std::function<bool(QKeyEvent*)> keyHandler_;
};

} // namespace vpr
