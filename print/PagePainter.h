#pragma once
// Draws the pages of a print layout with QPainter on a printer, a PDF writer or an image.
//
// The layout places everything in 0.01 inch with y running upwards; here every point is mapped
// onto the device's downward y by itself (y' = origin - y * scale), and each text is drawn
// unmirrored at its mapped anchor. The painter never carries a mirroring transform, which would
// turn the glyphs upside down. The frame is centred on the paper and scaled down only when the
// paper is too small for it.
//
// Needs only Qt GUI, so the command-line tool can use it without widgets or a display.

#include "model/PrintLayout.h"

#include <QFont>
#include <QRectF>
#include <QString>

class QIODevice;
class QPainter;
class QPagedPaintDevice;
class QPageLayout;

namespace vpr {

class PagePainter {
public:
  // The font of a role for a device on which one 0.01 inch is `scale` pixels: the layout's face
  // first, then a metric-compatible face, then whatever the system matches to the kind of face,
  // so that a missing face never leaves empty boxes.
  static QFont fontFor(FontRole role, double scale);
  // Where the layout's point (x, y) lands on a page `paper` (device pixels, y downwards) of a
  // device with the given resolution.
  static QPointF map(const PageFrame& frame, const QRectF& paper, double dpi, int x, int y);
  // Pixels per 0.01 inch for the frame on that paper.
  static double scaleFor(const PageFrame& frame, const QRectF& paper, double dpi);

  // Draws one page; paper is the whole sheet in the painter's device coordinates.
  static void paintPage(QPainter& painter, const PageContent& page, const QRectF& paper, double dpi);
  // Draws the pages fromPage..toPage (1-based; 0 for the first or last page) of the layout on a
  // paged device, a new sheet for each page after the first. Returns false when the device
  // cannot be painted on.
  static bool paintAll(QPagedPaintDevice& device, const PrintLayout& layout, int fromPage = 0,
                       int toPage = 0);

  // The page layout for a printout of this orientation on the locale's usual paper.
  static QPageLayout defaultPageLayout(PageOrientation orientation);
  // The print date and time as the locale writes them in short form, taken now.
  static std::string printedNow();
};

// Writes the layout as a PDF file at path, safely: into a temporary file beside it that
// replaces the file only when complete. On failure returns false with the system's reason in
// error, and an existing file at path is left as it was.
bool writePdf(const QString& path, const PrintLayout& layout, QString& error);
// Writes the layout as a PDF document into an open device (standard output, a buffer).
bool writePdf(QIODevice& device, const PrintLayout& layout, QString& error);

} // namespace vpr
