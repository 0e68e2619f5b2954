// The cost of a printout: the PDF of a full 16-channel image with every section (the settings
// page and three channel pages) drawn by our page painter, against the same pages through Qt's
// own rich-text route, an HTML table per page laid out by QTextDocument and printed to PDF. Both
// start from the image and end with the file, with the same texts in the same fonts (counter
// "ratio" = ours / Qt's, target <= 1).

#include "bench/BenchSupport.h"
#include "lang/CLanguageTable.h"
#include "print/PagePainter.h"

#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <map>

namespace {

using Clock = std::chrono::steady_clock;
using vpr::bench::fullData;

constexpr const char* kPrintedAt = "08/12/26 18:30";

// A cell holding one placed text in its role's font (the layout's heights are 0.01 inch).
QString cellOf(const vpr::PlacedText& text) {
  const vpr::FontSpec spec = vpr::PrintLayout::font(text.role);
  const QFont font = vpr::PagePainter::fontFor(text.role, 1.0);
  const QString align = text.align == vpr::TextAlign::Right    ? QStringLiteral("right")
                        : text.align == vpr::TextAlign::Centre ? QStringLiteral("center")
                                                               : QStringLiteral("left");
  return QStringLiteral(
             "<td align=\"%1\"><span style=\"font-family:'%2'; font-size:%3pt;%4%5\">%6</span></td>")
      .arg(align, font.families().join(QStringLiteral("','")), QString::number(spec.height * 0.72),
           spec.italic ? QStringLiteral(" font-style:italic;") : QString(),
           spec.bold ? QStringLiteral(" font-weight:bold;") : QString(),
           QString::fromStdString(text.text).toHtmlEscaped());
}

// Every page as a table: a row for each line (the texts at one height side by side, top line
// first), a rule as a row of its own, and a page break after each table but the last.
QString richTextOf(const vpr::PrintLayout& layout) {
  QString html = QStringLiteral("<html><body>");
  for (int index = 0; index < layout.pageCount(); ++index) {
    const vpr::PageContent page = layout.page(index);
    std::map<int, QString, std::greater<>> rows;
    for (const vpr::PlacedText& text : page.texts)
      rows[text.y] += cellOf(text);
    for (const vpr::PlacedRule& rule : page.rules)
      rows[rule.y] += QStringLiteral("<td colspan=\"6\"><hr/></td>");
    const bool last = index + 1 == layout.pageCount();
    html += last ? QStringLiteral("<table>") : QStringLiteral("<table style=\"page-break-after:always\">");
    for (const auto& [y, cells] : rows)
      html += QStringLiteral("<tr>") + cells + QStringLiteral("</tr>");
    html += QStringLiteral("</table>");
  }
  return html + QStringLiteral("</body></html>");
}

// A PDF writer that counts its sheets, to show that both routes print the same pages.
class CountingPdfWriter : public QPdfWriter {
public:
  using QPdfWriter::QPdfWriter;
  bool newPage() override {
    ++sheets;
    return QPdfWriter::newPage();
  }
  int sheets = 1;
};

// Qt's route: the rich text printed to a PDF on the same paper (QTextDocument::print lays it
// out on the printer's page at the printer's resolution). Returns the sheets printed.
int writeRichTextPdf(const QString& path, const vpr::PrintLayout& layout) {
  CountingPdfWriter writer(path);
  writer.setPageLayout(vpr::PagePainter::defaultPageLayout(layout.orientation()));
  QTextDocument document;
  document.setHtml(richTextOf(layout));
  document.print(&writer);
  return writer.sheets;
}

void fullImagePdf(benchmark::State& state) {
  QTemporaryDir folder;
  const QString ours = folder.filePath("ours.pdf");
  const QString richText = folder.filePath("richtext.pdf");
  const vpr::PrintSelection selection = vpr::PrintSelection::everything(16);
  Clock::duration oursTime{};
  Clock::duration qtTime{};
  int pages = 0;
  int qtPages = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    const vpr::PrintLayout layout(fullData(), selection, vpr::PageOrientation::Portrait, kPrintedAt);
    QString error;
    if (!vpr::writePdf(ours, layout, error)) state.SkipWithError("the PDF could not be written");
    oursTime += Clock::now() - start;
    pages = layout.pageCount();

    start = Clock::now();
    const vpr::PrintLayout sameLayout(fullData(), selection, vpr::PageOrientation::Portrait, kPrintedAt);
    qtPages = writeRichTextPdf(richText, sameLayout);
    qtTime += Clock::now() - start;
  }
  const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
  state.counters["pages"] = pages;
  state.counters["qt_pages"] = qtPages;
  state.counters["ratio"] = seconds(oursTime) / seconds(qtTime);
  state.counters["ours_ms"] = seconds(oursTime) * 1000.0 / double(state.iterations());
  state.counters["qt_ms"] = seconds(qtTime) * 1000.0 / double(state.iterations());
}
BENCHMARK(fullImagePdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  vpr::bench::SilentUserInterface ui;
  vpr::languageTable().loadLanguageFile("English", ui, VPR_SOURCE_DIR "/res");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
