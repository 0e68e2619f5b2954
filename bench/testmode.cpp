// Alignment in the test mode against the virtual radio paced at 9600 baud 8N2 with its 2 ms
// turnaround:
//  - sliderDrag: the adjustment dialog's slider is dragged continuously (one movement per turn
//    of the event loop); reports the values per second that reached the radio, the movements
//    per second the dialog took in and the slider's repaints per second while values were in
//    flight, against the floor of one value per round trip on the line.
//  - valueLatency: the time from one slider movement to the radio's acknowledge, against the
//    line floor (letter, value and answer bytes at 11 bits each, plus the turnaround).
// Item 0 is answered with one byte, item 2 (an inverted item) with three.

#include "app/CAdjustDlg.h"
#include "lang/CLanguageTable.h"
#include "link/TestModeSession.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "views/CQtUserInterface.h"

#include "bench/QtBenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTurnaround = std::chrono::microseconds(2000);

class PaintCounter : public QObject {
public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// A paced radio, its link and an open test mode with item `item` being adjusted.
struct Rig {
  explicit Rig(int item)
      : memory(vpr::RadioData::defaultImage(vpr::ModelCatalogue::modelCodeForRow(0))),
        radio(memory, options()), image(memory) {
    if (!radio.start()) throw std::runtime_error(radio.error());
    link.SetPortPath(1, radio.devicePath());
    link.SetPortNumber(1);
    session = std::make_unique<vpr::TestModeSession>(link, ui, image, false);
    if (session->begin() != 0 || session->openAdjustment(item) != vpr::TestModeSession::Outcome::Done)
      throw std::runtime_error("the test mode did not open");
  }
  static vpr::sim::VirtualRadioOptions options() {
    vpr::sim::VirtualRadioOptions o;
    o.programMode = true;
    o.paced = true;
    o.turnaround = kTurnaround;
    return o;
  }
  std::size_t valuesReceived() const {
    const auto events = radio.testEvents();
    return static_cast<std::size_t>(std::count_if(
        events.begin(), events.end(), [](const std::string& e) { return e.rfind("value ", 0) == 0; }));
  }
  // The line time of one value: letter and value out, the answer back, and the turnaround.
  double floorMs(int item) const {
    const int bytes = 2 + vpr::TestModeSession::item(item).answerBytes;
    return std::chrono::duration<double, std::milli>(radio.byteTime() * bytes + kTurnaround).count();
  }

  vpr::RadioImage memory;
  vpr::sim::VirtualRadio radio;
  vpr::RadioImage image;
  vpr::CRadioComm link;
  vpr::CQtUserInterface ui;
  std::unique_ptr<vpr::TestModeSession> session;
};

void loadLanguage() {
  static bool loaded = false;
  if (loaded) return;
  vpr::CQtUserInterface ui;
  loaded =
      vpr::languageTable().loadLanguageFileAt(std::string(VPR_SOURCE_DIR) + "/res/vpr40t.lng", "English", ui);
}

void sliderDrag(benchmark::State& state) {
  loadLanguage();
  const int item = static_cast<int>(state.range(0));
  Rig rig(item);
  vpr::CAdjustDlg dialog(*rig.session, {}, nullptr);
  dialog.show();
  PaintCounter counter;
  dialog.slider()->installEventFilter(&counter);
  double seconds = 0;
  std::size_t values = 0, moves = 0;
  int paints = 0;
  for (auto _ : state) {
    const std::size_t before = rig.valuesReceived();
    const int paintsBefore = counter.paints;
    int position = dialog.slider()->value();
    int direction = 1;
    std::size_t moved = 0;
    QTimer drag;
    drag.setInterval(0);
    QObject::connect(&drag, &QTimer::timeout, [&] {
      // Back and forth between the ends of the scale.
      if (position + direction > vpr::kAdjustValueMax || position + direction < 0) direction = -direction;
      position += direction;
      dialog.slider()->setSliderPosition(position);
      dialog.slider()->update();
      ++moved;
    });
    QElapsedTimer elapsed;
    elapsed.start();
    drag.start();
    while (elapsed.elapsed() < 2000)
      QApplication::processEvents(QEventLoop::AllEvents, 50);
    drag.stop();
    seconds += static_cast<double>(elapsed.nsecsElapsed()) * 1e-9;
    values += rig.valuesReceived() - before;
    moves += moved;
    paints += counter.paints - paintsBefore;
  }
  state.counters["values_per_s"] = static_cast<double>(values) / seconds;
  state.counters["moves_per_s"] = static_cast<double>(moves) / seconds;
  state.counters["repaints_per_s"] = static_cast<double>(paints) / seconds;
  state.counters["floor_values_per_s"] = 1000.0 / rig.floorMs(item);
  state.counters["ratio_to_floor"] = (static_cast<double>(values) / seconds) / (1000.0 / rig.floorMs(item));
  dialog.reject();
}
BENCHMARK(sliderDrag)->Arg(0)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

void valueLatency(benchmark::State& state) {
  loadLanguage();
  const int item = static_cast<int>(state.range(0));
  Rig rig(item);
  int value = rig.session->currentValue();
  double totalMs = 0, worstMs = 0;
  int count = 0;
  for (auto _ : state) {
    value = (value + 1) % (vpr::kAdjustValueMax + 1);
    const auto start = Clock::now();
    rig.session->setValue(value);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    totalMs += ms;
    worstMs = std::max(worstMs, ms);
    ++count;
  }
  state.counters["mean_ms"] = totalMs / count;
  state.counters["worst_ms"] = worstMs;
  state.counters["floor_ms"] = rig.floorMs(item);
  state.counters["ratio_to_floor"] = (totalMs / count) / rig.floorMs(item);
  rig.session->leaveAdjustment(true);
}
BENCHMARK(valueLatency)->Arg(0)->Arg(2)->Iterations(200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  return runQtBenchmarks(argc, argv);
}
