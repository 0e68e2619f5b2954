#pragma once
// The Memory Map window: the whole working image as a hexadecimal table (with the same bytes as
// characters beside it when chosen), edited in place one byte at a time. Edits go into the memory
// map's own working copy; Close puts them into the image only when a byte differs, Escape drops
// them. The window holds no rule of its own about the table: cell texts, addresses and entries
// come from MemoryMap, and it knows nothing of what the bytes mean.

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace vpr {

class CEditGrid;
class CFilterEdit;
class MemoryMap;

class CMemoryMapDlg : public QDialog {
  Q_OBJECT
public:
  // Opens the map's working copy; the map must be configured.
  explicit CMemoryMapDlg(MemoryMap& map, QWidget* parent = nullptr);

  // Runs the window modally. True when Close put a change into the image. A map that was never
  // configured opens nothing.
  static bool run(QWidget* parent, MemoryMap& map);

  CEditGrid* grid() const { return grid_; }
  CFilterEdit* cellEditor() const { return editor_; }
  CFilterEdit* addressEdit() const { return addressEdit_; }
  QLabel* addressStatic() const { return addressStatic_; }
  QCheckBox* charactersBox() const { return charsBox_; }
  QPushButton* closeButton() const { return closeButton_; }

  // Fills every cell from the working copy.
  void fillCells();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void buildColumns();
  void fillCell(int row, int col);
  void showAddress();
  void moveTo(int row, int col);
  bool gridKey(QKeyEvent* event);
  bool editorKey(QKeyEvent* event);
  void moveRight();
  void moveLeft();
  // Opens the in-place editor; `empty` starts it without text (Backspace, Delete).
  bool beginEdit(bool empty);
  void commitEditor();
  void jumpToAddress();
  void toggleCharacters(bool show);
  void closeAndCommit();

  MemoryMap& map_;
  CEditGrid* grid_;
  CFilterEdit* editor_;
  CFilterEdit* addressEdit_;
  QLabel* addressStatic_;
  QCheckBox* charsBox_;
  QPushButton* closeButton_;
  bool positioned_ = false;
  bool committing_ = false;
  bool startedEmpty_ = false; // the editor was opened without text (Backspace, Delete)
  bool abandon_ = false;      // Escape: the editor closes without storing
};

} // namespace vpr
