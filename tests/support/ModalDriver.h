#pragma once
// Drives modal windows in widget tests: exec() blocks the test, so the answer is scheduled
// beforehand and given as soon as a window of the expected type is the active modal one.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vpr::test {

// Once a visible modal T other than skip is active, runs action on it. Gives up after ten
// seconds, so that a window that never shows fails the test's own checks instead of hanging.
template <class T> void whenModal(std::function<void(T*)> action, const QWidget* skip = nullptr) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  int tries = 0;
  QObject::connect(timer, &QTimer::timeout, [timer, tries, action, skip]() mutable {
    auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
    if (window && window != skip && window->isVisible()) {
      timer->stop();
      timer->deleteLater();
      action(window);
    } else if (++tries > 1000) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
}

} // namespace vpr::test
