#pragma once
// The test frequency view: the sixteen receive/transmit pairs the radio's test mode uses, one
// grid row each, with an in-cell frequency editor and row copy, paste and delete. The table is
// never left without a test frequency: the band's defaults come back when the last one goes.

#include "views/CGridView.h"

namespace vpr {

class CTestFreqView : public CGridView {
  Q_OBJECT
public:
  CTestFreqView(RadioData& data, UserInterface& ui, QWidget* parent = nullptr);

  void reloadFromImage() override;
  bool queryClose() override;
  QString viewTitle() const override;

  void copyRows() override;
  void pasteRows() override;
  void deleteRows() override;

private:
  void fillRow(int row) override;
  // Opens the editor on the current cell. Started by Enter, Backspace or Delete, column 2 of a
  // record without a receive frequency opens nothing; started otherwise, the cursor moves to
  // column 1 first.
  bool beginEdit(bool byEnter) override;
  void eraseKey(int key) override;
  bool startsEntry(QChar ch) const override;
  std::optional<int> storeFrequency(int row, int col, const std::string& entry) override;
  void refillAfterEntry(int row) override;
  bool canPaste() const override;
};

} // namespace vpr
