#pragma once
// The test frequency view: the sixteen receive/transmit pairs the radio's test mode uses, one
// grid row each, with an in-cell frequency editor and row copy, paste and delete. The table is
// never left without a test frequency: the band's defaults come back when the last one goes.

#include "views/CImageView.h"

class QPushButton;

namespace vpr {

class CEditGrid;
class CFilterEdit;
class RadioData;
class UserInterface;

class CTestFreqView : public CImageView {
  Q_OBJECT
public:
  CTestFreqView(RadioData& data, UserInterface& ui, QWidget* parent = nullptr);

  void reloadFromImage() override;
  bool queryClose() override;
  QString viewTitle() const override;
  int helpContext() const override;

  // The context-menu commands; also Ctrl+C and Ctrl+V.
  void copyRows();
  void pasteRows();
  void deleteRows();

  CEditGrid* grid() const { return grid_; }
  CFilterEdit* frequencyEditor() const { return freqEdit_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void fillRow(int row);
  void fillAllRows();
  // Opens the editor on the current cell. Started by Enter, Backspace or Delete, column 2 of a
  // record without a receive frequency opens nothing; started otherwise, the cursor moves to
  // column 1 first.
  bool beginEdit(bool byEnter);
  bool gridKey(QKeyEvent* event);
  bool editorKey(QKeyEvent* event);
  void onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int row, int col);
  void commitFrequency();
  void returnFocusToGrid();
  void showContextMenu(const QPoint& globalPos);

  RadioData& data_;
  UserInterface& ui_;
  CEditGrid* grid_;
  CFilterEdit* freqEdit_;
  QPushButton* closeButton_;
  QPushButton* helpButton_;
  bool committing_ = false;
  bool abandonEntry_ = false;
};

} // namespace vpr
