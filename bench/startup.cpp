// Start-up of the desktop program against a bare Qt Widgets window, each started as its own
// process on the offscreen platform: the time from process start until the main window is
// exposed, and the peak resident memory of the process. Printed as ratios (program / bare) at
// the end (medians of runs taken in turns); the target is 1.5 or less for both.

#include "app/CMainFrame.h"
#include "app/CRPSApp.h"
#include "lang/CLanguageTable.h"
#include "views/CQtUserInterface.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kChildFlag = "--startup-child";

void waitUntilExposed(QWidget& window) {
  while (!window.windowHandle() || !window.windowHandle()->isExposed())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The child: shows one kind of main window, reports on the pipe once it is exposed, and exits.
int runChild(const std::string& kind, int reportFd, int argc, char** argv) {
  vpr::languageTable().applyCommandLine(argc, argv);
  QApplication application(argc, argv);
  const QString scratch = QDir::tempPath() + QStringLiteral("/vpr40t-bench-%1").arg(getpid());
  QDir().mkpath(scratch);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch);
  if (kind == "bare" || kind == "text") {
    // "text" is a reference only: a bare window that also shows a menu and one line of text,
    // which makes Qt load its font database as every real program must.
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    if (kind == "text") {
      window.menuBar()->addMenu(QStringLiteral("&File"));
      window.setCentralWidget(new QLabel(QStringLiteral("text")));
    }
    window.showMaximized();
    waitUntilExposed(window);
    (void)!write(reportFd, "1", 1);
  } else {
    vpr::CQtUserInterface ui;
    vpr::CRPSApp::Options options;
    options.documentsFolder = scratch;
    options.programFolder = QStringLiteral(VPR_SOURCE_DIR "/res");
    vpr::CRPSApp app(ui, {}, options);
    if (!app.startup()) return 1;
    waitUntilExposed(*app.mainFrame());
    (void)!write(reportFd, "1", 1);
  }
  QDir(scratch).removeRecursively();
  return 0;
}

struct Sample {
  double seconds = 0;
  long peakKiB = 0;
};

// Starts a child of the given kind and measures it.
Sample startChild(const std::string& kind) {
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    self[n > 0 ? n : 0] = '\0';
    execl(self, self, kChildFlag, kind.c_str(), fd.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  char byte = 0;
  const ssize_t got = read(fds[0], &byte, 1);
  const auto shown = std::chrono::steady_clock::now();
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (got != 1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the %s child failed\n", kind.c_str());
    std::exit(1);
  }
  return {std::chrono::duration<double>(shown - start).count(), usage.ru_maxrss};
}

// Samples of both kinds, taken in turns so that a change in the machine's load affects both.
std::vector<Sample> bareSamples;
std::vector<Sample> textSamples;
std::vector<Sample> programSamples;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Field> double medianOf(const std::vector<Sample>& samples, Field field) {
  std::vector<double> values;
  for (const Sample& sample : samples)
    values.push_back(static_cast<double>(sample.*field));
  return median(values);
}

// One iteration starts a bare window and then the program; the iteration time is the program's.
void startupAgainstBareWindow(benchmark::State& state) {
  for (auto _ : state) {
    const Sample bare = startChild("bare");
    const Sample text = startChild("text");
    const Sample program = startChild("program");
    bareSamples.push_back(bare);
    textSamples.push_back(text);
    programSamples.push_back(program);
    state.SetIterationTime(program.seconds);
  }
  state.counters["bare_ms"] = medianOf(bareSamples, &Sample::seconds) * 1000;
  state.counters["text_ms"] = medianOf(textSamples, &Sample::seconds) * 1000;
  state.counters["program_ms"] = medianOf(programSamples, &Sample::seconds) * 1000;
  state.counters["bare_peak_KiB"] = medianOf(bareSamples, &Sample::peakKiB);
  state.counters["program_peak_KiB"] = medianOf(programSamples, &Sample::peakKiB);
}

BENCHMARK(startupAgainstBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

} // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], kChildFlag) == 0)
    return runChild(argv[2], std::atoi(argv[3]), argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!bareSamples.empty()) {
    const double timeRatio =
        medianOf(programSamples, &Sample::seconds) / medianOf(bareSamples, &Sample::seconds);
    const double memoryRatio =
        medianOf(programSamples, &Sample::peakKiB) / medianOf(bareSamples, &Sample::peakKiB);
    std::printf("start-up time ratio (program / bare window, medians): %.2f (target <= 1.5)\n", timeRatio);
    std::printf("peak memory ratio  (program / bare window, medians): %.2f (target <= 1.5)\n", memoryRatio);
    std::printf("for reference, start-up time ratio against a window with a menu and a line of text: %.2f\n",
                medianOf(programSamples, &Sample::seconds) / medianOf(textSamples, &Sample::seconds));
  }
  return 0;
}
