#include "print/PagePainter.h"

#include <QDateTime>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace vpr {

namespace {

// Room kept around the frame when the paper is too small for it, in 0.01 inch.
constexpr double kMinimumMargin = 20.0;
// Text is laid out in boxes this wide (in 0.01 inch) beside its anchor.
constexpr double kTextBoxWidth = 1200.0;

QStringList familiesFor(const char* face) {
  if (QString::fromLatin1(face) == QLatin1String("Courier New"))
    return {"Courier New", "Liberation Mono", "Cousine", "DejaVu Sans Mono", "FreeMono", "monospace"};
  return {"Arial", "Liberation Sans", "Arimo", "DejaVu Sans", "FreeSans", "sans-serif"};
}

} // namespace

QFont PagePainter::fontFor(FontRole role, double scale) {
  const FontSpec spec = PrintLayout::font(role);
  QFont font;
  font.setFamilies(familiesFor(spec.face));
  font.setStyleHint(QString::fromLatin1(spec.face) == QLatin1String("Courier New") ? QFont::TypeWriter
                                                                                   : QFont::SansSerif);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(spec.height * scale))));
  font.setItalic(spec.italic);
  font.setBold(spec.bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

double PagePainter::scaleFor(const PageFrame& frame, const QRectF& paper, double dpi) {
  const double natural = dpi / 100.0;
  const double fitWidth = paper.width() / (frame.width() + 2 * kMinimumMargin);
  const double fitHeight = paper.height() / (frame.height() + 2 * kMinimumMargin);
  const bool fits = frame.width() * natural <= paper.width() && frame.height() * natural <= paper.height();
  return fits ? natural : std::min({natural, fitWidth, fitHeight});
}

QPointF PagePainter::map(const PageFrame& frame, const QRectF& paper, double dpi, int x, int y) {
  const double scale = scaleFor(frame, paper, dpi);
  const double centreX = (frame.left + frame.right) / 2.0;
  const double centreY = (frame.top + frame.bottom) / 2.0;
  return {paper.center().x() + (x - centreX) * scale, paper.center().y() - (y - centreY) * scale};
}

void PagePainter::paintPage(QPainter& painter, const PageContent& page, const QRectF& paper, double dpi) {
  const double scale = scaleFor(page.frame, paper, dpi);
  painter.save();
  painter.setPen(QPen(Qt::black, 0, Qt::SolidLine));
  for (const PlacedRule& rule : page.rules) {
    painter.drawLine(map(page.frame, paper, dpi, rule.x1, rule.y),
                     map(page.frame, paper, dpi, rule.x2, rule.y));
  }
  const double boxWidth = kTextBoxWidth * scale;
  for (const PlacedText& text : page.texts) {
    const QFont font = fontFor(text.role, scale);
    painter.setFont(font);
    const QPointF anchor = map(page.frame, paper, dpi, text.x, text.y);
    const double boxHeight = 2.0 * font.pixelSize();
    QRectF box(anchor.x(), anchor.y(), boxWidth, boxHeight);
    Qt::Alignment align = Qt::AlignLeft;
    if (text.align == TextAlign::Right) {
      box.moveRight(anchor.x());
      align = Qt::AlignRight;
    } else if (text.align == TextAlign::Centre) {
      box.moveLeft(anchor.x() - boxWidth / 2.0);
      align = Qt::AlignHCenter;
    }
    painter.drawText(box, static_cast<int>(align | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine),
                     QString::fromStdString(text.text));
  }
  painter.restore();
}

bool PagePainter::paintAll(QPagedPaintDevice& device, const PrintLayout& layout, int fromPage, int toPage) {
  const int first = std::max(fromPage, 1);
  const int last = toPage <= 0 ? layout.pageCount() : std::min(toPage, layout.pageCount());
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double dpi = device.logicalDpiY();
  const QPageLayout pageLayout = device.pageLayout();
  const int resolution = static_cast<int>(std::lround(dpi));
  // The painter's origin is the top-left of the paintable area; the sheet lies around it.
  const QRect full = pageLayout.fullRectPixels(resolution);
  const QRect paintable = pageLayout.paintRectPixels(resolution);
  const QRectF paper = QRectF(full).translated(-paintable.topLeft());
  for (int number = first; number <= last; ++number) {
    if (number > first && !device.newPage()) return false;
    paintPage(painter, layout.page(number - 1), paper, dpi);
  }
  return painter.end();
}

QPageLayout PagePainter::defaultPageLayout(PageOrientation orientation) {
  const bool letter = QLocale().measurementSystem() != QLocale::MetricSystem;
  return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                     orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                               : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0));
}

std::string PagePainter::printedNow() {
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale;
  return (locale.toString(now.date(), QLocale::ShortFormat) + ' ' +
          locale.toString(now.time(), QLocale::ShortFormat))
      .toStdString();
}

bool writePdf(QIODevice& device, const PrintLayout& layout, QString& error) {
  QPdfWriter writer(&device);
  writer.setCreator(QStringLiteral("VPR-40T"));
  writer.setTitle(QString::fromStdString(PrintLayout::title()));
  writer.setPageLayout(PagePainter::defaultPageLayout(layout.orientation()));
  if (PagePainter::paintAll(writer, layout)) return true;
  error = device.errorString();
  return false;
}

bool writePdf(const QString& path, const PrintLayout& layout, QString& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = file.errorString();
    return false;
  }
  if (!writePdf(static_cast<QIODevice&>(file), layout, error)) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    error = file.errorString();
    return false;
  }
  return true;
}

} // namespace vpr
