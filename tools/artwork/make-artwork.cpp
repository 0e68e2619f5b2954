// Draws the program's artwork (application icon, toolbar and tree icons, splash pictures) into
// res/. The PNGs are committed; run this again only to change the artwork:
//   g++ -std=c++20 -fPIC tools/artwork/make-artwork.cpp -o /tmp/make-artwork \
//       $(pkg-config --cflags --libs Qt6Gui) && QT_QPA_PLATFORM=offscreen /tmp/make-artwork res
// The Windows icon res/windows/vpr40t.ico holds the vpr40t-*.png sizes (icoutils):
//   icotool -c -o res/windows/vpr40t.ico res/icons/vpr40t-{16,24,32,48,64,128}.png -r res/icons/vpr40t-256.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>

namespace {

using Draw = std::function<void(QPainter&)>;

const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kAccent(0x1f, 0x6f, 0xb5);
const QColor kAccentLight(0x5d, 0xa3, 0xe0);
const QColor kPaper(0xfb, 0xfc, 0xfd);
const QColor kGreen(0x2e, 0x9d, 0x5b);
const QColor kOrange(0xe0, 0x7b, 0x1f);

// Renders a drawing made on a 24 x 24 grid at the given pixel size.
QImage render(int size, const Draw& draw) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 24.0, size / 24.0);
  draw(p);
  return image;
}

void save(const QString& folder, const QString& name, const Draw& draw) {
  render(24, draw).save(folder + "/" + name + ".png");
  render(48, draw).save(folder + "/" + name + "@2x.png");
}

QPen pen(const QColor& colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with a folded corner.
void paper(QPainter& p) {
  QPainterPath path;
  path.moveTo(5.5, 2.5);
  path.lineTo(14.5, 2.5);
  path.lineTo(19.5, 7.5);
  path.lineTo(19.5, 21.5);
  path.lineTo(5.5, 21.5);
  path.closeSubpath();
  p.setPen(pen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(14.5, 2.5), QPointF(14.5, 7.5), QPointF(19.5, 7.5)}));
}

void drawNew(QPainter& p) {
  paper(p);
  p.setPen(pen(kGreen, 2.0));
  p.drawLine(QPointF(12.5, 11), QPointF(12.5, 18));
  p.drawLine(QPointF(9, 14.5), QPointF(16, 14.5));
}

void drawOpen(QPainter& p) {
  p.setPen(pen(kInk, 1.2));
  p.setBrush(QColor(0xf2, 0xc9, 0x6b));
  QPainterPath back;
  back.moveTo(2.5, 5.5);
  back.lineTo(9, 5.5);
  back.lineTo(11, 7.5);
  back.lineTo(19.5, 7.5);
  back.lineTo(19.5, 19.5);
  back.lineTo(2.5, 19.5);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(0xf8, 0xdc, 0x8f));
  QPainterPath front;
  front.moveTo(2.5, 19.5);
  front.lineTo(6, 10.5);
  front.lineTo(22.5, 10.5);
  front.lineTo(19.5, 19.5);
  front.closeSubpath();
  p.drawPath(front);
}

void drawSave(QPainter& p) {
  p.setPen(pen(kInk, 1.2));
  p.setBrush(kAccent);
  QPainterPath body;
  body.moveTo(3.5, 3.5);
  body.lineTo(17.5, 3.5);
  body.lineTo(20.5, 6.5);
  body.lineTo(20.5, 20.5);
  body.lineTo(3.5, 20.5);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(kPaper);
  p.drawRect(QRectF(7, 3.5, 10, 6));
  p.setBrush(QColor(0xdd, 0xe6, 0xef));
  p.drawRect(QRectF(6.5, 13, 11, 7.5));
  p.setPen(pen(kAccent, 1.0));
  p.drawLine(QPointF(8.5, 15.5), QPointF(15.5, 15.5));
  p.drawLine(QPointF(8.5, 18), QPointF(15.5, 18));
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRect(QRectF(13.5, 4.5, 2, 4));
}

void drawPrint(QPainter& p) {
  p.setPen(pen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawRect(QRectF(7, 2.5, 10, 7));
  p.setBrush(QColor(0x8a, 0x99, 0xa8));
  p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
  p.setBrush(kPaper);
  p.drawRect(QRectF(6.5, 13.5, 11, 8));
  p.setPen(pen(kInk, 0.9));
  p.drawLine(QPointF(8.5, 16.5), QPointF(15.5, 16.5));
  p.drawLine(QPointF(8.5, 19), QPointF(13.5, 19));
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(18.5, 11), 1, 1);
}

// A small hand-held radio, on the 24 grid, with its left edge at x.
void radio(QPainter& p, double x, const QColor& body) {
  p.setPen(pen(kInk, 1.2));
  p.setBrush(kInk);
  p.drawRoundedRect(QRectF(x + 1.5, 1.5, 2, 7), 1, 1);
  p.setBrush(body);
  p.drawRoundedRect(QRectF(x, 7.5, 10, 15), 2, 2);
  p.setBrush(QColor(0xb9, 0xe3, 0xc6));
  p.drawRect(QRectF(x + 2, 9.5, 6, 4));
  p.setPen(pen(QColor(0xdd, 0xe6, 0xef), 1.0));
  for (double y = 16; y <= 20; y += 2)
    p.drawLine(QPointF(x + 2.5, y), QPointF(x + 7.5, y));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
  p.setPen(pen(colour, 2.2));
  p.drawLine(from, to);
  const double dx = to.x() - from.x();
  const double sign = dx > 0 ? 1 : -1;
  p.drawPolyline(QPolygonF(
      {QPointF(to.x() - 3.5 * sign, to.y() - 3.5), to, QPointF(to.x() - 3.5 * sign, to.y() + 3.5)}));
}

void drawRead(QPainter& p) {
  radio(p, 1.5, QColor(0x4a, 0x5a, 0x6b));
  arrow(p, QPointF(13.5, 15), QPointF(22, 15), kGreen);
}

void drawWrite(QPainter& p) {
  radio(p, 12.5, QColor(0x4a, 0x5a, 0x6b));
  arrow(p, QPointF(1.5, 15), QPointF(10, 15), kOrange);
}

// A hooked arrow turning back to the left (undo); mirrored it points forward (redo).
void drawUndo(QPainter& p) {
  QPainterPath path;
  path.moveTo(6, 10);
  path.lineTo(15, 10);
  path.cubicTo(22, 10, 22, 20, 15, 20);
  path.lineTo(9, 20);
  p.setPen(pen(kAccent, 2.2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.drawPolyline(QPolygonF({QPointF(9.5, 6), QPointF(5.5, 10), QPointF(9.5, 14)}));
}

void drawRedo(QPainter& p) {
  p.translate(24, 0);
  p.scale(-1, 1);
  drawUndo(p);
}

void drawAbout(QPainter& p) {
  p.setPen(pen(kAccent, 1.4));
  p.setBrush(QColor(0xe8, 0xf1, 0xfa));
  p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QPointF(12, 7.3), 1.6, 1.6);
  p.drawRoundedRect(QRectF(10.6, 10.2, 2.8, 8.3), 1, 1);
}

// Application icon: a hand-held radio with radio waves.
void drawApp(QPainter& p) {
  QLinearGradient bg(0, 0, 0, 24);
  bg.setColorAt(0, kAccentLight);
  bg.setColorAt(1, kAccent);
  p.setPen(Qt::NoPen);
  p.setBrush(bg);
  p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 5, 5);
  p.setPen(pen(QColor(255, 255, 255, 200), 1.1));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(11.5, 1.5, 9, 9), -30 * 16, 100 * 16);
  p.drawArc(QRectF(9.5, -0.5, 13, 13), -30 * 16, 100 * 16);
  p.setPen(pen(QColor(0x1b, 0x26, 0x33), 1.0));
  p.setBrush(QColor(0x1b, 0x26, 0x33));
  p.drawRoundedRect(QRectF(7.5, 3, 1.8, 6), 0.9, 0.9);
  p.setBrush(QColor(0x33, 0x40, 0x4f));
  p.drawRoundedRect(QRectF(6, 8, 9, 13.5), 1.8, 1.8);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xb9, 0xe3, 0xc6));
  p.drawRect(QRectF(7.5, 10, 6, 3.5));
  p.setPen(pen(QColor(0xc8, 0xd3, 0xde), 0.9));
  for (double y = 15.5; y <= 19.5; y += 2)
    p.drawLine(QPointF(8, y), QPointF(13, y));
}

// Tree icons: the radio (root), an editing area, and a spare page.
void drawTreeRadio(QPainter& p) {
  radio(p, 7, QColor(0x4a, 0x5a, 0x6b));
}

void drawTreeArea(QPainter& p) {
  p.setPen(pen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
  p.setPen(pen(kAccent, 1.6));
  for (double y = 8; y <= 16; y += 4) {
    p.drawLine(QPointF(7, y), QPointF(9, y));
    p.drawLine(QPointF(11, y), QPointF(17, y));
  }
}

void drawTreePage(QPainter& p) {
  paper(p);
}

// The splash picture: a calm blue-grey backdrop with radio waves, a hand-held radio at the
// left, and open space in the middle and at the lower right for the product texts.
QImage splash(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient bg(0, 0, 0, height);
  bg.setColorAt(0, QColor(0xf7, 0xfa, 0xfd));
  bg.setColorAt(1, QColor(0xdc, 0xe7, 0xf2));
  p.fillRect(image.rect(), bg);

  // Waves spreading from the antenna tip.
  const QPointF tip(50, 62);
  for (int i = 1; i <= 9; ++i) {
    const double r = 38.0 * i;
    QColor c = kAccentLight;
    c.setAlpha(std::max(12, 70 - 7 * i));
    p.setPen(QPen(c, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(tip.x() - r, tip.y() - r, 2 * r, 2 * r), -35 * 16, 85 * 16);
  }

  // Top and bottom bands.
  QLinearGradient band(0, 0, width, 0);
  band.setColorAt(0, kAccent);
  band.setColorAt(1, kAccentLight);
  p.fillRect(QRectF(0, 0, width, 8), band);
  p.fillRect(QRectF(0, height - 4, width, 4), band);

  // The radio.
  p.save();
  p.translate(30, 60);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawRoundedRect(QRectF(6, 44, 76, 170), 14, 14);
  p.setBrush(QColor(0x1b, 0x26, 0x33));
  p.drawRoundedRect(QRectF(14, 0, 13, 50), 6, 6);
  p.drawRoundedRect(QRectF(50, 26, 12, 14), 3, 3);
  QLinearGradient body(0, 0, 80, 0);
  body.setColorAt(0, QColor(0x46, 0x55, 0x66));
  body.setColorAt(1, QColor(0x2b, 0x36, 0x43));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(0, 38, 76, 168), 14, 14);
  p.setBrush(QColor(0x1b, 0x26, 0x33));
  p.drawRoundedRect(QRectF(9, 52, 58, 34), 5, 5);
  QLinearGradient lcd(0, 56, 0, 82);
  lcd.setColorAt(0, QColor(0xcf, 0xf0, 0xd8));
  lcd.setColorAt(1, QColor(0xa5, 0xd9, 0xb4));
  p.setBrush(lcd);
  p.drawRoundedRect(QRectF(13, 56, 50, 26), 3, 3);
  p.setPen(QPen(QColor(0x2b, 0x4a, 0x36), 2.2, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 4; ++i)
    p.drawLine(QPointF(20 + 11 * i, 64), QPointF(26 + 11 * i, 64));
  p.drawLine(QPointF(20, 73), QPointF(44, 73));
  p.setPen(QPen(QColor(0x5b, 0x6b, 0x7c), 3, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 7; ++i)
    p.drawLine(QPointF(16, 104 + 12 * i), QPointF(60, 104 + 12 * i));
  p.setPen(Qt::NoPen);
  p.setBrush(kOrange);
  p.drawRoundedRect(QRectF(-4, 96, 6, 34), 2, 2);
  p.restore();

  // Thin rule above the lower-right texts.
  p.setPen(QPen(QColor(0x9f, 0xb4, 0xc9), 1));
  p.drawLine(QPointF(width * 0.45, height - 76.5), QPointF(width - 26, height - 76.5));
  p.end();
  return image;
}

} // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString res = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("res");
  const QString icons = res + "/icons";
  QDir().mkpath(icons);
  save(icons, "new", drawNew);
  save(icons, "open", drawOpen);
  save(icons, "save", drawSave);
  save(icons, "print", drawPrint);
  save(icons, "read", drawRead);
  save(icons, "write", drawWrite);
  save(icons, "about", drawAbout);
  save(icons, "undo", drawUndo);
  save(icons, "redo", drawRedo);
  save(icons, "tree-radio", drawTreeRadio);
  save(icons, "tree-area", drawTreeArea);
  save(icons, "tree-page", drawTreePage);
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    render(size, drawApp).save(QString("%1/vpr40t-%2.png").arg(icons).arg(size));

  const QImage picture = splash(580, 320);
  picture.save(res + "/splash.png");
  // The picture for screens of fewer than 16 bits per pixel: the same art in 256 colours.
  picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither)
      .save(res + "/splash256.png");
  return 0;
}
