#pragma once
// The program's pictures (icons, splash) from its compiled-in resources.

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace vpr {

class Artwork {
public:
  // The picture at a resource path (":/vpr40t/..."); a null pixmap when it cannot be read.
  static QPixmap pixmap(const QString& path);
  // The icon named NAME: ":/vpr40t/icons/NAME.png" and its drawing of twice the size, NAME@2x.png.
  static QIcon icon(const char* name);
  // An icon of the PNG drawings at PATHS, from the smallest to the largest. Only their sizes are
  // read now; each drawing is read when a screen first needs it.
  static QIcon icon(const QStringList& paths);
};

} // namespace vpr
