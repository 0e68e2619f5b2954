// The memory map and undo costs. Counter "ratio": opening the Memory Map window (64 x 32 cells
// filled) and refilling it after a change, each against a plain QTableWidget of the same size
// filled with the same strings (target <= 1.5). "undo_ms"/"redo_ms": one undo and one redo in
// the main window with all four views open and repainted (target under one 16 ms frame).

#include "model/MemoryMap.h"
#include "app/CAppSettings.h"
#include "app/CMainFrame.h"
#include "app/CMemoryMapDlg.h"
#include "app/CommandIds.h"
#include "bench/BenchSupport.h"
#include "bench/QtBenchTables.h"
#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "views/CEditGrid.h"
#include "views/ViewFactory.h"
#include "views/ViewKind.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTableWidget>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

using vpr::bench::SilentUserInterface;

vpr::MemoryMap& configuredMap() {
  vpr::RadioData& data = vpr::radioData();
  for (std::size_t i = 0; i < vpr::kImageSize; ++i)
    data.editImage[i] = static_cast<std::uint8_t>(i * 13);
  vpr::MemoryMap::Configuration setup;
  setup.source = data.editImage;
  vpr::memoryMap().configure(setup);
  return vpr::memoryMap();
}

// Every cell text of the window, row by row, to fill a plain table with.
std::vector<QString> cellTexts(const vpr::CEditGrid& grid) {
  std::vector<QString> texts;
  for (int r = 1; r < grid.rows(); ++r)
    for (int c = 0; c < grid.cols(); ++c)
      texts.push_back(grid.cellText(r, c));
  return texts;
}

std::unique_ptr<QTableWidget> plainTable(const vpr::CEditGrid& grid) {
  auto table = std::make_unique<QTableWidget>(grid.rowCount(), grid.columnCount());
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(grid.verticalHeader()->defaultSectionSize());
  for (int c = 0; c < grid.columnCount(); ++c)
    table->setColumnWidth(c, grid.columnWidth(c));
  table->setFont(grid.font());
  table->resize(grid.size());
  return table;
}

void fillPlain(QTableWidget& table, const std::vector<QString>& texts) {
  const int cols = table.columnCount();
  for (int r = 0; r < table.rowCount(); ++r)
    for (int c = 0; c < cols; ++c) {
      if (!table.item(r, c)) table.setItem(r, c, new QTableWidgetItem);
      table.item(r, c)->setText(texts[static_cast<std::size_t>(r * cols + c)]);
    }
}

// Opening: the window built, filled, laid out and painted, against a plain table of the same
// size built, filled and painted.
void memoryMapOpen(benchmark::State& state) {
  vpr::MemoryMap& map = configuredMap();
  // Sizes and strings for the plain table, taken once from a window that stays hidden.
  const vpr::CMemoryMapDlg probe(map);
  const std::vector<QString> texts = cellTexts(*probe.grid());
  Clock::duration ours{};
  Clock::duration baseline{};
  for (auto _ : state) {
    auto start = Clock::now();
    {
      vpr::CMemoryMapDlg dialog(map);
      dialog.show();
      QApplication::processEvents();
      benchmark::DoNotOptimize(dialog.grid()->grab().width());
    }
    ours += Clock::now() - start;
    start = Clock::now();
    {
      auto table = plainTable(*probe.grid());
      fillPlain(*table, texts);
      table->show();
      QApplication::processEvents();
      benchmark::DoNotOptimize(table->grab().width());
    }
    baseline += Clock::now() - start;
  }
  state.counters["ratio"] = seconds(ours) / seconds(baseline);
  state.counters["ours_ms"] = 1000 * seconds(ours) / double(state.iterations());
}
BENCHMARK(memoryMapOpen)->Unit(benchmark::kMillisecond);

// Refilling every cell after a change, against setting the same strings into a plain table.
void memoryMapRefill(benchmark::State& state) {
  vpr::MemoryMap& map = configuredMap();
  vpr::CMemoryMapDlg dialog(map);
  dialog.show();
  QApplication::processEvents();
  const std::vector<QString> texts = cellTexts(*dialog.grid());
  auto table = plainTable(*dialog.grid());
  fillPlain(*table, texts);
  table->show();
  QApplication::processEvents();
  Clock::duration ours{};
  Clock::duration baseline{};
  for (auto _ : state) {
    clearValueCells(*dialog.grid());
    auto start = Clock::now();
    dialog.fillCells();
    ours += Clock::now() - start;
    clearValueCells(*table);
    start = Clock::now();
    fillPlain(*table, texts);
    baseline += Clock::now() - start;
  }
  state.counters["ratio"] = seconds(ours) / seconds(baseline);
  state.counters["ours_us"] = 1e6 * seconds(ours) / double(state.iterations());
}
BENCHMARK(memoryMapRefill)->Unit(benchmark::kMicrosecond);

// One undo and one redo of a typed-frequency step with the four views open and repainted.
void undoRedoWithFourViews(benchmark::State& state) {
  SilentUserInterface ui;
  vpr::setViewUserInterface(&ui);
  vpr::CAppSettings settings;
  vpr::RadioData& data = vpr::radioData();
  data.startUp(std::nullopt);
  data.resetToModel(vpr::ModelCatalogue::modelCodeForRow(2));
  vpr::CMainFrame frame(ui, settings, false);
  frame.resize(1200, 900);
  frame.show();
  for (vpr::ViewKind kind : {vpr::ViewKind::ChannelInfo, vpr::ViewKind::Features, vpr::ViewKind::Keys,
                             vpr::ViewKind::TestFrequencies})
    frame.openView(kind);
  for (int n = 1; n <= 16; ++n) {
    std::string rx = std::to_string(150 + n) + ".125";
    data.setChannelFrequency(n, rx, vpr::FrequencyField::Receive);
    data.recordStep("RX Freq.");
  }
  QApplication::processEvents();
  Clock::duration undo{};
  Clock::duration redo{};
  for (auto _ : state) {
    auto start = Clock::now();
    frame.onCommand(vpr::cmd::EditUndo);
    QApplication::processEvents();
    undo += Clock::now() - start;
    start = Clock::now();
    frame.onCommand(vpr::cmd::EditRedo);
    QApplication::processEvents();
    redo += Clock::now() - start;
  }
  state.counters["undo_ms"] = 1000 * seconds(undo) / double(state.iterations());
  state.counters["redo_ms"] = 1000 * seconds(redo) / double(state.iterations());
  vpr::setViewUserInterface(nullptr);
}
BENCHMARK(undoRedoWithFourViews)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  SilentUserInterface ui;
  vpr::languageTable().loadLanguageFileAt(VPR_SOURCE_DIR "/res/vpr40t.lng", "English", ui);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
