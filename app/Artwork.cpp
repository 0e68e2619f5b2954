#include "app/Artwork.h"

#include "app/PngIconEngine.h"

#include <QImageReader>

#include <vector>

// The artwork is compiled into the library; its resources are registered before first use.
static void registerArtwork() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(vpr40t);
    return true;
  }();
  (void)registered;
}

namespace vpr {

QPixmap Artwork::pixmap(const QString& path) {
  registerArtwork();
  // Every picture is a PNG, which Qt reads itself. Left to detect the format, the reader would
  // first load each image-format plugin (GIF, ICO, JPEG and its library) to ask whether it
  // wants the file; that is start-up time and memory for nothing.
  QImageReader reader(path, QByteArrayLiteral("png"));
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

QIcon Artwork::icon(const char* name) {
  // Both drawings: Qt then draws from the larger one on every screen with more than one pixel
  // per point, 125 % and 150 % too (one drawing alone is blown up there).
  const QString stem = QStringLiteral(":/vpr40t/icons/") + QLatin1String(name);
  return icon({stem + QStringLiteral(".png"), stem + QStringLiteral("@2x.png")});
}

QIcon Artwork::icon(const QStringList& paths) {
  registerArtwork();
  std::vector<PngIconEngine::Drawing> drawings;
  for (const QString& path : paths) {
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (size.isValid()) drawings.push_back({path, size});
  }
  if (drawings.empty()) return {};
  return QIcon(new PngIconEngine(std::move(drawings)));
}

} // namespace vpr
