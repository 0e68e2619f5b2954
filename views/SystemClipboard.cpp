#include "views/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vpr {

bool putTextOnClipboard(const QString& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto* data = new QMimeData;
    data->setText(text);
    clipboard->setMimeData(data);
    if (clipboard->text() == text) return true;
  }
  return false;
}

} // namespace vpr
