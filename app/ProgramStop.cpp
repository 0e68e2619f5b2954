#include "app/ProgramStop.h"

#include "app/CTestModeDlg.h"
#include "link/StopSignals.h"

#include <QApplication>
#include <QSessionManager>

namespace vpr {

namespace {

// How often the stop signals are looked at, and how often an ending test mode is.
constexpr int kPollMs = 100;

} // namespace

ProgramStop::ProgramStop(std::function<void()> unattended, QObject* parent)
    : QObject(parent), unattended_(std::move(unattended)) {
  StopSignals::install();
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &ProgramStop::poll);
  poll_.start();
  // The desktop session ends: no transmitter stays keyed, whatever the session manager does next.
  connect(qApp, &QGuiApplication::commitDataRequest, this, [](QSessionManager&) { endTestMode(); });
  connect(qApp, &QCoreApplication::aboutToQuit, this, [] { endTestMode(); });
}

void ProgramStop::poll() {
  if (stopping_) {
    // The event loops end once the test mode has.
    if (!endTestMode()) QCoreApplication::exit(0);
    return;
  }
  if (StopSignals::requested()) stop();
}

void ProgramStop::stop() {
  if (stopping_) return;
  stopping_ = true;
  if (unattended_) unattended_();
  poll();
}

bool ProgramStop::endTestMode() {
  CTestModeDlg* testMode = CTestModeDlg::running();
  if (!testMode) return false;
  testMode->endTestMode();
  return true;
}

} // namespace vpr
