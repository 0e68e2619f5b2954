#pragma once
// An icon made of PNG drawings of known sizes that reads a drawing only when it is first drawn,
// and then only the one the screen needs: at 100 % the drawing of twice the size is never read.
// Icons of the toolbar, the menus and the style's overflow arrows are made before the main window
// shows, most of them drawn only later or never.

#include <QIcon>
#include <QIconEngine>
#include <QList>
#include <QSize>
#include <QString>

#include <vector>

namespace vpr {

class PngIconEngine : public QIconEngine {
public:
  struct Drawing {
    QString path; // a resource path
    QSize size;   // its size in pixels
  };
  // DRAWINGS from the smallest to the largest; at least one.
  explicit PngIconEngine(std::vector<Drawing> drawings);

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
  QIconEngine* clone() const override;
  QString key() const override;
  bool isNull() override;

private:
  struct Loaded {
    Drawing drawing;
    QIcon icon; // null until read
  };
  // The icon of the smallest drawing with at least PIXELS in both directions (or the largest),
  // read now if it was not yet.
  const QIcon& drawingFor(const QSize& pixels);

  std::vector<Loaded> drawings_;
};

} // namespace vpr
