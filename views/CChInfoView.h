#pragma once
// The channel information view: one grid row per channel of the model, one column per channel
// field, in-cell editors, row copy, paste and delete, and export of rows as tab-separated text.
// Every entry goes into the working image at once through the core's channel operations.

#include "views/CGridView.h"

class QComboBox;

namespace vpr {

class CToneCombo;

class CChInfoView : public CGridView {
  Q_OBJECT
public:
  CChInfoView(RadioData& data, UserInterface& ui, QWidget* parent = nullptr);

  void reloadFromImage() override;
  // An entry still open in a cell editor is stored before the frame closes.
  bool queryClose() override;
  QString viewTitle() const override;

  void copyRows() override;
  void pasteRows() override;
  void deleteRows() override;
  void rowsToClipboard(bool withTitle);
  // The tab- and line-feed-separated text of the selected rows, as rowsToClipboard puts it.
  QString clipboardText(int first, int last, bool withTitle) const;

  CToneCombo* toneEditor() const { return toneCombo_; }
  QComboBox* optionEditor() const { return optionCombo_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void fillRow(int row) override;
  bool beginEdit(bool byEnter) override;
  void eraseKey(int key) override;
  bool startsEntry(QChar ch) const override;
  int cellsAfterEntry(int row, int col) const override;
  std::optional<int> storeFrequency(int row, int col, const std::string& entry) override;
  bool canPaste() const override;
  void addMenuExtras(QMenu& menu) override;
  void commitOpenEditor() override;

  void updateTitle();
  QString fieldText(int row, int col) const;
  void commitTone();
  void pickTone(int index);
  void pickOption(int index);
  void closeOptionEditor();
  bool editorHasFocus() const;

  CToneCombo* toneCombo_;
  QComboBox* optionCombo_;
  QString title_;
};

} // namespace vpr
