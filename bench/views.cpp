// The editing views' costs: refilling every row of the channel and test-frequency grids from the
// image (counter "ratio": our refill against filling the same table with the same strings and no
// logic of ours), and opening each view (construction, first layout and paint).

#include "bench/BenchSupport.h"
#include "bench/QtBenchTables.h"
#include "model/DisplayText.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "views/CChInfoView.h"
#include "views/CEditGrid.h"
#include "views/CFeatureView.h"
#include "views/CKeyView.h"
#include "views/CTestFreqView.h"

#include "bench/QtBenchMain.h"
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using vpr::bench::fullData;
using vpr::bench::SilentUserInterface;

// The same table filled with the same strings, precomputed: what any grid costs without us.
void fillPlainTable(QTableWidget& table, const std::vector<QString>& texts, int cols) {
  for (int r = 0; r < table.rowCount(); ++r)
    for (int c = 1; c < cols; ++c)
      table.item(r, c)->setText(texts[r * cols + c]);
}

std::unique_ptr<QTableWidget> plainTableLike(const vpr::CEditGrid& grid, std::vector<QString>& texts) {
  auto table = std::make_unique<QTableWidget>(grid.rowCount(), grid.columnCount());
  texts.clear();
  for (int r = 0; r < grid.rowCount(); ++r)
    for (int c = 0; c < grid.columnCount(); ++c) {
      table->setItem(r, c, new QTableWidgetItem);
      texts.push_back(grid.cellText(r + 1, c));
    }
  // The same geometry, so that the same cells are visible and repainted.
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(grid.verticalHeader()->defaultSectionSize());
  for (int c = 0; c < grid.columnCount(); ++c)
    table->setColumnWidth(c, grid.columnWidth(c));
  table->setFont(grid.font());
  table->resize(grid.size());
  table->show();
  return table;
}

template <class View> void refill(benchmark::State& state, View& view) {
  view.show();
  QApplication::processEvents();
  std::vector<QString> texts;
  auto plain = plainTableLike(*view.grid(), texts);
  Clock::duration ours{};
  Clock::duration baseline{};
  for (auto _ : state) {
    clearValueCells(*view.grid());
    auto start = Clock::now();
    view.reloadFromImage();
    ours += Clock::now() - start;
    clearValueCells(*plain);
    start = Clock::now();
    fillPlainTable(*plain, texts, plain->columnCount());
    baseline += Clock::now() - start;
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.counters["ratio"] =
      std::chrono::duration<double>(ours).count() / std::chrono::duration<double>(baseline).count();
  state.counters["ours_us"] = benchmark::Counter(std::chrono::duration<double, std::micro>(ours).count() /
                                                 double(state.iterations()));
}

void channelGridRefill(benchmark::State& state) {
  SilentUserInterface ui;
  vpr::CChInfoView view(fullData(), ui);
  refill(state, view);
}
BENCHMARK(channelGridRefill)->Unit(benchmark::kMicrosecond);

void testFrequencyGridRefill(benchmark::State& state) {
  SilentUserInterface ui;
  vpr::CTestFreqView view(fullData(), ui);
  refill(state, view);
}
BENCHMARK(testFrequencyGridRefill)->Unit(benchmark::kMicrosecond);

// Opening a view: construction, filling, first layout and paint.
template <class Make> void openView(benchmark::State& state, Make make) {
  for (auto _ : state) {
    std::unique_ptr<vpr::CImageView> view = make();
    view->show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(view->grab().width());
  }
}

void openChannelView(benchmark::State& state) {
  SilentUserInterface ui;
  openView(state, [&] { return std::make_unique<vpr::CChInfoView>(fullData(), ui); });
}
BENCHMARK(openChannelView)->Unit(benchmark::kMillisecond);

void openTestFrequencyView(benchmark::State& state) {
  SilentUserInterface ui;
  openView(state, [&] { return std::make_unique<vpr::CTestFreqView>(fullData(), ui); });
}
BENCHMARK(openTestFrequencyView)->Unit(benchmark::kMillisecond);

void openFeatureView(benchmark::State& state) {
  openView(state, [] { return std::make_unique<vpr::CFeatureView>(fullData()); });
}
BENCHMARK(openFeatureView)->Unit(benchmark::kMillisecond);

void openKeyView(benchmark::State& state) {
  openView(state, [] { return std::make_unique<vpr::CKeyView>(fullData()); });
}
BENCHMARK(openKeyView)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  return runQtBenchmarks(argc, argv);
}
