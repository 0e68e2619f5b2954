#include "app/CRPSView.h"

#include "lang/TextFormat.h"
#include "lang/UserInterface.h"
#include "model/CurrentFile.h"
#include "model/RadioData.h"
#include "print/PagePainter.h"
#include "views/QtText.h"

#include <QAction>
#include <QComboBox>
#include <QGraphicsView>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>

#include <filesystem>

namespace vpr {

namespace {

constexpr int kTextPage = 10009005;

// A layout whose print date is taken once, when the preview or the print run begins, and whose
// orientation follows the printer's page setup at the time the pages are drawn.
struct PrintRun {
  const RadioData& data;
  PrintSelection selection;
  std::vector<AdjustmentLine> adjustments;
  std::string printedAt = PagePainter::printedNow();

  PrintLayout on(const QPrinter& printer) const {
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    return PrintLayout(data, selection, landscape ? PageOrientation::Landscape : PageOrientation::Portrait,
                       printedAt, adjustments);
  }
};

} // namespace

CRPSView::CRPSView(RadioData& data, UserInterface& ui, QObject* parent)
    : QObject(parent), data_(data), ui_(ui) {}

CRPSView::~CRPSView() = default;

QPrinter& CRPSView::printer() const {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

PageOrientation CRPSView::orientation() const {
  return printer().pageLayout().orientation() == QPageLayout::Landscape ? PageOrientation::Landscape
                                                                        : PageOrientation::Portrait;
}

bool CRPSView::pageSetup(QWidget* parent) {
  QPageSetupDialog dialog(&printer(), parent);
  return dialog.exec() == QDialog::Accepted;
}

PrintLayout CRPSView::layout(const PrintSelection& selection,
                             const std::vector<AdjustmentLine>& adjustments) const {
  return PrintRun{data_, selection, adjustments}.on(printer());
}

bool CRPSView::printImage(QWidget* parent, const PrintSelection& selection,
                          const std::vector<AdjustmentLine>& adjustments, DialogOptions options) {
  const PrintRun run{data_, selection, adjustments};
  QPrinter& target = printer();
  QPrintDialog dialog(&target, parent);
  if (options == DialogOptions::Minimal) {
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  }
  target.setPrintRange(QPrinter::AllPages);
  const PrintLayout pages = run.on(target);
  dialog.setMinMax(1, pages.pageCount());
  if (dialog.exec() != QDialog::Accepted) return false;
  if (PagePainter::paintAll(target, run.on(target), target.fromPage(), target.toPage())) return true;
  MessageRequest request;
  request.kind = MessageKind::Error;
  request.text = textOf(kTextNotPrinted);
  ui_.showMessage(request);
  return false;
}

bool CRPSView::printAdjustments(QWidget* parent, const std::vector<AdjustmentLine>& adjustments) {
  return printImage(parent, PrintSelection::testMode(data_.channelCount()), adjustments,
                    DialogOptions::Minimal);
}

QPrintPreviewDialog* CRPSView::makePreview(QWidget* parent, const PrintSelection& selection) {
  auto* preview = new QPrintPreviewDialog(&printer(), parent);
  preview->setWindowTitle(qtText(10003106).remove('&'));
  auto run = std::make_shared<PrintRun>(PrintRun{data_, selection, {}});
  connect(preview, &QPrintPreviewDialog::paintRequested, preview,
          [run](QPrinter* printer) { PagePainter::paintAll(*printer, run->on(*printer)); });
  // The preview's own page field and page area carry no name a screen reader could announce.
  for (QLineEdit* field : preview->findChildren<QLineEdit*>())
    if (!qobject_cast<QComboBox*>(field->parentWidget())) field->setAccessibleName(qtText(kTextPage));
  if (auto* pages = preview->findChild<QGraphicsView*>()) pages->setAccessibleName(preview->windowTitle());
  if (auto* tools = preview->findChild<QToolBar*>()) {
    tools->addSeparator();
    QAction* save = tools->addAction(qtText(kTextSavePdf));
    save->setObjectName("savePdf");
    connect(save, &QAction::triggered, this, [this, selection] { exportPdf(selection); });
    // A tool bar keeps its buttons out of the focus chain; without a mouse they must be reachable.
    // (Its overflow button only shows what a narrow window hides, and stays as it is.)
    for (QToolButton* button : tools->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
      if (button->objectName() != QLatin1String("qt_toolbar_ext_button"))
        button->setFocusPolicy(Qt::TabFocus);
  }
  return preview;
}

void CRPSView::previewImage(QWidget* parent, const PrintSelection& selection) {
  QPrintPreviewDialog* preview = makePreview(parent, selection);
  preview->exec();
  delete preview;
}

QPrintPreviewDialog* CRPSView::openPreview(QWidget* parent, const PrintSelection& selection) {
  QPrintPreviewDialog* preview = makePreview(parent, selection);
  preview->setAttribute(Qt::WA_DeleteOnClose);
  preview->setWindowModality(Qt::NonModal);
  preview->show();
  return preview;
}

bool CRPSView::exportPdf(const PrintSelection& selection) {
  FileRequest request;
  request.folder = currentFile().folder();
  request.fileName = std::filesystem::path(currentFile().fileName()).replace_extension(".pdf").string();
  request.filterName = textOf(kTextPdfFilter);
  request.extension = "pdf";
  const std::optional<std::string> path = ui_.chooseFileToSave(request);
  if (!path) return false;
  QString error;
  if (writePdf(QString::fromStdString(*path), layout(selection), error)) return true;
  MessageRequest message;
  message.kind = MessageKind::Error;
  message.text = formatText(textOf(kTextPdfNotWritten), {*path, error.toStdString()});
  ui_.showMessage(message);
  return false;
}

} // namespace vpr
