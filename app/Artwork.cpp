#include "app/Artwork.h"

#include <QImageReader>

// The artwork is compiled into the library; its resources are registered before first use.
static void registerArtwork() {
  Q_INIT_RESOURCE(vpr40t);
}

namespace vpr {

QPixmap Artwork::pixmap(const QString& path) {
  static const bool registered = (registerArtwork(), true);
  (void)registered;
  // Every picture is a PNG, which Qt reads itself. Left to detect the format, the reader would
  // first load each image-format plugin (GIF, ICO, JPEG and its library) to ask whether it
  // wants the file; that is start-up time and memory for nothing.
  QImageReader reader(path, QByteArrayLiteral("png"));
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

QIcon Artwork::icon(const char* name) {
  // Both drawings, each at its own size: Qt then draws from the larger one on every screen with
  // more than one pixel per point, 125 % and 150 % too (one drawing alone is blown up there).
  // The reader gives the larger drawing a pixel ratio of 2 from its name, which would make both
  // the same size to the icon; each is added at its size in pixels instead.
  QIcon icon;
  for (const char* suffix : {".png", "@2x.png"}) {
    QPixmap drawing =
        pixmap(QStringLiteral(":/vpr40t/icons/%1%2").arg(QLatin1String(name), QLatin1String(suffix)));
    drawing.setDevicePixelRatio(1);
    icon.addPixmap(drawing);
  }
  return icon;
}

} // namespace vpr
