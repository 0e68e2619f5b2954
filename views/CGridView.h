#pragma once
// What the two grid views (channel information, test frequencies) share: the grid with its
// in-cell frequency editor, the Close and Help buttons, the keys of the grid and of an open
// editor, the mouse, the context menu of copy, paste and delete, and the way an entry still
// open in an editor is stored. Each view adds its columns, its records and its other editors.

#include "views/CImageView.h"
#include "views/GridColumn.h"

#include <optional>
#include <span>
#include <string>

class QKeyEvent;
class QMenu;
class QPushButton;

namespace vpr {

class CEditGrid;
class CFilterEdit;
class RadioData;
class UserInterface;

class CGridView : public CImageView {
  Q_OBJECT
public:
  int helpContext() const override;
  void commitPendingEdit() override;

  // The context-menu commands; also Ctrl+C and Ctrl+V.
  virtual void copyRows() = 0;
  virtual void pasteRows() = 0;
  virtual void deleteRows() = 0;

  CEditGrid* grid() const { return grid_; }
  CFilterEdit* frequencyEditor() const { return freqEdit_; }

protected:
  // Undo step names of the clipboard commands.
  static constexpr int kTextStepPaste = 10064012;
  static constexpr int kTextStepDelete = 10064013;

  // columnHelp holds the help context of each column; viewHelp is the view's own.
  CGridView(RadioData& data, UserInterface& ui, std::span<const int> columnHelp, int viewHelp,
            QWidget* parent);

  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  // Gives the grid its rows and columns, numbers the rows and fits its height to them.
  void sizeGrid(int rows, std::span<const GridColumn> columns);
  // Closes an open editor without storing its entry (the image changed under the view).
  void dropOpenEditor();
  void fillAllRows();
  virtual void fillRow(int row) = 0;

  // Opens the editor on the current cell; byEnter tells that Enter, Backspace or Delete started it.
  virtual bool beginEdit(bool byEnter) = 0;
  // Delete or Backspace on the grid.
  virtual void eraseKey(int key) = 0;
  // Whether a typed character opens the editor of the current cell (and goes into it).
  virtual bool startsEntry(QChar ch) const = 0;
  // The number of cells Enter moves on after an entry in (row, col) was stored.
  virtual int cellsAfterEntry(int row, int col) const;
  // Stores the text of the frequency editor into (row, col); returns the warning to show.
  virtual std::optional<int> storeFrequency(int row, int col, const std::string& entry) = 0;
  // Shows the rows again after a frequency entry in the given row was stored.
  virtual void refillAfterEntry(int row) { fillRow(row); }
  // Whether the record clipboard holds anything to paste.
  virtual bool canPaste() const = 0;
  // Entries a view adds below copy, paste and delete.
  virtual void addMenuExtras(QMenu& menu);
  // Stores the entry of whichever editor is open; the grid already holds the focus.
  virtual void commitOpenEditor();

  void commitFrequency();
  void returnFocusToGrid();

  RadioData& data_;
  UserInterface& ui_;
  CEditGrid* grid_;
  CFilterEdit* freqEdit_;
  QPushButton* closeButton_;
  QPushButton* helpButton_;
  bool committing_ = false;
  bool abandonEntry_ = false;

private:
  bool gridKey(QKeyEvent* event);
  bool editorKey(QWidget* editor, QKeyEvent* event);
  void onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int row, int col);
  void showContextMenu(const QPoint& globalPos);

  std::span<const int> columnHelp_;
  int viewHelp_;
};

} // namespace vpr
