#pragma once
// The Print Out List dialog: the user ticks the sections to print and the channel range, sees
// the page count, can change the page setup and look at the preview, and prints with OK. The
// same dialog chooses what Export as PDF writes; its OK button then asks for the file.
//
// The range rules are PrintRange's and the page count is the print layout's; printing itself is
// CRPSView's. The dialog only keeps its controls in step with them.

#include "app/HelpCallback.h"
#include "model/PrintRange.h"
#include "model/PrintSelection.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vpr {

class CRPSView;
class CSpinEdit;
class RadioData;

class CPrintListDlg : public QDialog {
  Q_OBJECT
public:
  enum class Purpose { Print, ExportPdf };
  enum Section { Model, Features, Keys, TestFrequencies, Channels, SectionCount };

  static constexpr int kHelpContext = 0x15000;
  static constexpr int kPreviewHelpContext = 0x16000;
  static constexpr int kTextCaption = 10008001;
  static constexpr int kTextExportCaption = 10063004;
  static constexpr int kTextExportButton = 10063008;

  CPrintListDlg(RadioData& data, CRPSView& printing, HelpCallback help, Purpose purpose = Purpose::Print,
                QWidget* parent = nullptr);

  // The selection the controls describe, with the channel entries as finished.
  PrintSelection selection();

  QCheckBox* sectionBox(Section section) const { return sections_[section]; }
  CSpinEdit* startField() const { return start_; }
  CSpinEdit* endField() const { return end_; }
  QLabel* pageCountDisplay() const { return pageCount_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* previewButton() const { return preview_; }
  QPushButton* setupButton() const { return setup_; }
  QPushButton* clearAllButton() const { return clearAll_; }
  QPushButton* selectAllButton() const { return selectAll_; }
  QPushButton* helpButton() const { return helpButton_; }

  // OK: prints (or exports) the selection. Printing closes the dialog; an export that was
  // cancelled or failed leaves it open for another try.
  void accept() override;

protected:
  // Enter on anything but a button moves the focus to the next control.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void updateEnables();
  // The ticked sections with the given channel range.
  PrintSelection selectionWith(const PrintRange& range) const;
  void recount();
  void showRange();
  // A finished entry in the start or end field.
  void commitStart();
  void commitEnd();
  void typed(CSpinEdit* field);
  // A spin button step: the entry so far is finished first, then stepped with wrap-around.
  void spin(CSpinEdit* field, int direction);
  void clearAll();
  void selectAll();
  void printSetup();
  void showPreview();
  void showHelpFor(QWidget* focus);
  bool anySectionChecked() const;

  RadioData& data_;
  CRPSView& printing_;
  HelpCallback help_;
  Purpose purpose_;
  PrintRange range_;
  std::array<QCheckBox*, SectionCount> sections_{};
  CSpinEdit* start_ = nullptr;
  CSpinEdit* end_ = nullptr;
  QLabel* pageCount_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* setup_ = nullptr;
  QPushButton* preview_ = nullptr;
  QPushButton* clearAll_ = nullptr;
  QPushButton* selectAll_ = nullptr;
  QPushButton* helpButton_ = nullptr;
};

} // namespace vpr
