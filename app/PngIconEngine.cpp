#include "app/PngIconEngine.h"

#include "app/Artwork.h"

#include <QPainter>
#include <QPixmap>

namespace vpr {

PngIconEngine::PngIconEngine(std::vector<Drawing> drawings) {
  for (Drawing& drawing : drawings)
    drawings_.push_back({std::move(drawing), QIcon()});
}

const QIcon& PngIconEngine::drawingFor(const QSize& pixels) {
  Loaded* chosen = &drawings_.back();
  for (Loaded& loaded : drawings_) {
    if (loaded.drawing.size.width() >= pixels.width() && loaded.drawing.size.height() >= pixels.height()) {
      chosen = &loaded;
      break;
    }
  }
  if (chosen->icon.isNull()) {
    // A drawing named NAME@2x gets a pixel ratio of 2 from the reader; it is one drawing of its
    // size in pixels here, which the icon scales to the size asked for.
    QPixmap picture = Artwork::pixmap(chosen->drawing.path);
    picture.setDevicePixelRatio(1);
    chosen->icon = QIcon(picture);
  }
  return chosen->icon;
}

void PngIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
  const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
  drawingFor(rect.size() * ratio).paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap PngIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
  return drawingFor(size).pixmap(size, 1.0, mode, state);
}

QSize PngIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
  // A drawing is scaled down to the size asked for, never enlarged beyond the largest.
  const QSize largest = drawings_.back().drawing.size;
  if (largest.width() <= size.width() && largest.height() <= size.height()) return largest;
  return largest.scaled(size, Qt::KeepAspectRatio);
}

QList<QSize> PngIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
  QList<QSize> sizes;
  if (mode != QIcon::Normal || state != QIcon::Off) return sizes;
  for (const Loaded& loaded : drawings_)
    sizes << loaded.drawing.size;
  return sizes;
}

QIconEngine* PngIconEngine::clone() const {
  return new PngIconEngine(*this);
}

QString PngIconEngine::key() const {
  return QStringLiteral("PngIconEngine");
}

bool PngIconEngine::isNull() {
  return false; // it has a drawing
}

} // namespace vpr
