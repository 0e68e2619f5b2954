#pragma once
// The channel information view: one grid row per channel of the model, one column per channel
// field, in-cell editors, row copy, paste and delete, and export of rows as tab-separated text.
// Every entry goes into the working image at once through the core's channel operations.

#include "views/CImageView.h"

class QComboBox;
class QMenu;
class QPushButton;

namespace vpr {

class CEditGrid;
class CFilterEdit;
class CToneCombo;
class RadioData;
class UserInterface;

class CChInfoView : public CImageView {
  Q_OBJECT
public:
  CChInfoView(RadioData& data, UserInterface& ui, QWidget* parent = nullptr);

  void reloadFromImage() override;
  // An entry still open in a cell editor is stored before the frame closes.
  bool queryClose() override;
  QString viewTitle() const override;
  int helpContext() const override;

  // The context-menu commands; also Ctrl+C and Ctrl+V.
  void copyRows();
  void pasteRows();
  void deleteRows();
  void rowsToClipboard(bool withTitle);
  // The tab- and line-feed-separated text of the selected rows, as rowsToClipboard puts it.
  QString clipboardText(int first, int last, bool withTitle) const;

  CEditGrid* grid() const { return grid_; }
  CFilterEdit* frequencyEditor() const { return freqEdit_; }
  CToneCombo* toneEditor() const { return toneCombo_; }
  QComboBox* optionEditor() const { return optionCombo_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void fillRow(int row);
  void fillAllRows();
  void updateTitle();
  QString fieldText(int row, int col) const;
  bool beginEdit();
  bool gridKey(QKeyEvent* event);
  bool editorKey(QWidget* editor, QKeyEvent* event);
  void onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int row, int col);
  void commitFrequency();
  void commitTone();
  void pickTone(int index);
  void pickOption(int index);
  void closeOptionEditor();
  void showContextMenu(const QPoint& globalPos);
  bool editorHasFocus() const;
  void returnFocusToGrid();

  RadioData& data_;
  UserInterface& ui_;
  CEditGrid* grid_;
  CFilterEdit* freqEdit_;
  CToneCombo* toneCombo_;
  QComboBox* optionCombo_;
  QPushButton* closeButton_;
  QPushButton* helpButton_;
  bool committing_ = false;
  bool abandonEntry_ = false;
  QString title_;
};

} // namespace vpr
