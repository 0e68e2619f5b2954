#include "app/XClients.h"

#include <QProcess>
#include <QWidget>

namespace vpr::test {
namespace {

// Runs the client to its end within a limit generous for a busy machine.
bool run(QProcess& client, const QString& program, const QStringList& arguments) {
  client.start(program, arguments);
  return client.waitForFinished(15000) && client.exitStatus() == QProcess::NormalExit &&
         client.exitCode() == 0;
}

} // namespace

bool xdotool(const QStringList& arguments) {
  QProcess tool;
  return run(tool, QStringLiteral("xdotool"), arguments);
}

bool realKeys(const QStringList& names) {
  return xdotool(QStringList{"key", "--delay", "40"} + names);
}

bool realClick(const QWidget* widget, QPoint local) {
  const QPoint global = widget->mapToGlobal(local);
  return xdotool({"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

QString xprop(const QStringList& arguments) {
  QProcess tool;
  return run(tool, QStringLiteral("xprop"), arguments) ? QString::fromLocal8Bit(tool.readAllStandardOutput())
                                                       : QString();
}

} // namespace vpr::test
