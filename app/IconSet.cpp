#include "app/IconSet.h"

#include <QImageReader>

namespace vpr {

QIcon iconFromSet(const char* name) {
  QIcon icon;
  for (const char* suffix : {".png", "@2x.png"}) {
    const QString path =
        QStringLiteral(":/vpr40t/icons/%1%2").arg(QLatin1String(name), QLatin1String(suffix));
    // The reader takes the size from the file's header without decoding the picture.
    icon.addFile(path, QImageReader(path).size());
  }
  return icon;
}

} // namespace vpr
