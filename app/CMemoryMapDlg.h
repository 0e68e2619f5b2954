#pragma once
// The Memory Map window: the whole working image as a hexadecimal table (with the same bytes as
// characters beside it when chosen), edited in place one byte at a time. Edits go into the memory
// map's own working copy; Close puts them into the image only when a byte differs, Escape drops
// them. The window holds no rule of its own about the table: cell texts, addresses and entries
// come from MemoryMap, and it knows nothing of what the bytes mean. Help (its button or F1)
// opens the manual's memory map page.

#include "app/HelpCallback.h"

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
  static constexpr int kHelpContext = 0x54000;

  // Opens the map's working copy; the map must be configured. Without a help callback the Help
  // button is disabled and F1 does nothing.
  explicit CMemoryMapDlg(MemoryMap& map, HelpCallback help = {}, QWidget* parent = nullptr);

  // Runs the window modally. True when Close put a change into the image. A map that was never
  // configured opens nothing.
  static bool run(QWidget* parent, MemoryMap& map, const HelpCallback& help);

  CEditGrid* grid() const { return grid_; }
  CFilterEdit* cellEditor() const { return editor_; }
  CFilterEdit* addressEdit() const { return addressEdit_; }
  QLabel* addressStatic() const { return addressStatic_; }
  QCheckBox* charactersBox() const { return charsBox_; }
  QPushButton* closeButton() const { return closeButton_; }
  QPushButton* helpButton() const { return helpButton_; }

  // Fills every cell from the working copy.
  void fillCells();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

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
  QPushButton* helpButton_;
  HelpCallback help_;
  bool positioned_ = false;
  bool committing_ = false;
  bool startedEmpty_ = false; // the editor was opened without text (Backspace, Delete)
  bool abandon_ = false;      // Escape: the editor closes without storing
};

} // namespace vpr
