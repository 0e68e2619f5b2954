#pragma once
// The desktop program's printing: the printer with its page setup, Print through the platform's
// print dialog, Print Preview, and the PDF export, each for a given selection of sections.
//
// What goes on the pages is PrintLayout's; PagePainter draws it. This class only connects them
// to the printer, the preview window and the file dialog, and reports failures through the
// user-interface seam.

#include "model/PrintLayout.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace vpr {

class RadioData;
class UserInterface;

class CRPSView : public QObject {
  Q_OBJECT
public:
  static constexpr int kTextNotPrinted = 10063007;
  static constexpr int kTextPdfNotWritten = 10063001;
  static constexpr int kTextSavePdf = 10063005;
  static constexpr int kTextPdfFilter = 10063006;

  // How the platform's print dialog is offered.
  enum class DialogOptions {
    Full,    // page range, current page and print to file as the platform offers them
    Minimal, // no page numbers, no selection, no print to file (the test mode's Print)
  };

  CRPSView(RadioData& data, UserInterface& ui, QObject* parent = nullptr);
  ~CRPSView() override;

  // The printer with its page setup, made on first use: the platform's printing (its plugin and
  // the print server's list of printers) is loaded when the user first prints, not at start-up.
  QPrinter& printer() const;
  // The orientation of the printer's current page setup.
  PageOrientation orientation() const;
  // Runs the platform's page setup on the printer; true when the user accepted it.
  bool pageSetup(QWidget* parent);

  // The pages of a selection as they would print now on the printer's page setup.
  PrintLayout layout(const PrintSelection& selection,
                     const std::vector<AdjustmentLine>& adjustments = {}) const;

  // Print: the platform's print dialog, then the pages (the chosen page range of them) on the
  // chosen printer. Returns whether the pages were printed; a failure has been reported.
  bool printImage(QWidget* parent, const PrintSelection& selection,
                  const std::vector<AdjustmentLine>& adjustments = {},
                  DialogOptions options = DialogOptions::Full);
  // The test mode's Print: the model block and the adjustment page with the given lines, through
  // the print dialog without page numbers, selection or print to file.
  bool printAdjustments(QWidget* parent, const std::vector<AdjustmentLine>& adjustments);
  // Print Preview, modal over parent. The preview can print and save a PDF as well.
  void previewImage(QWidget* parent, const PrintSelection& selection);
  // Print Preview in a window of its own that leaves the main window usable; the window closes
  // itself and is deleted when the user closes it.
  QPrintPreviewDialog* openPreview(QWidget* parent, const PrintSelection& selection);
  // Asks for a file name and writes the pages as a PDF file there. Returns whether written;
  // a failure has been reported, a cancelled file dialog reports nothing.
  bool exportPdf(const PrintSelection& selection);

private:
  QPrintPreviewDialog* makePreview(QWidget* parent, const PrintSelection& selection);

  RadioData& data_;
  UserInterface& ui_;
  mutable std::unique_ptr<QPrinter> printer_;
};

} // namespace vpr
