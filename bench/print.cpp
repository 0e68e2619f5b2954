// The cost of a printout: the PDF of a full 16-channel image with every section (the settings
// page and three channel pages) against a PDF of the same number of pages holding one line of text
// each, which is what Qt's PDF writer costs without our layout (counter "ratio", target <= 2).

#include "bench/BenchSupport.h"
#include "lang/CLanguageTable.h"
#include "print/PagePainter.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
using vpr::bench::fullData;

// Qt's own cost: the same number of pages, one line of text each, in the value font.
void writeOneLinePages(const QString& path, int pages) {
  QPdfWriter writer(path);
  writer.setPageLayout(vpr::PagePainter::defaultPageLayout(vpr::PageOrientation::Portrait));
  QPainter painter(&writer);
  painter.setFont(vpr::PagePainter::fontFor(vpr::FontRole::Value, writer.resolution() / 100.0));
  for (int page = 0; page < pages; ++page) {
    if (page > 0) writer.newPage();
    painter.drawText(QPointF(1000, 1000), QStringLiteral("Channel %1").arg(page + 1));
  }
}

void fullImagePdf(benchmark::State& state) {
  QTemporaryDir folder;
  const QString ours = folder.filePath("ours.pdf");
  const QString plain = folder.filePath("plain.pdf");
  const vpr::PrintSelection selection = vpr::PrintSelection::everything(16);
  Clock::duration oursTime{};
  Clock::duration plainTime{};
  int pages = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    const vpr::PrintLayout layout(fullData(), selection, vpr::PageOrientation::Portrait, "08/12/26 18:30");
    QString error;
    if (!vpr::writePdf(ours, layout, error)) state.SkipWithError("the PDF could not be written");
    oursTime += Clock::now() - start;
    pages = layout.pageCount();
    start = Clock::now();
    writeOneLinePages(plain, pages);
    plainTime += Clock::now() - start;
  }
  const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
  state.counters["pages"] = pages;
  state.counters["ratio"] = seconds(oursTime) / seconds(plainTime);
  state.counters["ours_ms"] = seconds(oursTime) * 1000.0 / double(state.iterations());
  state.counters["qt_ms"] = seconds(plainTime) * 1000.0 / double(state.iterations());
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
