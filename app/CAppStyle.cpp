#include "app/CAppStyle.h"

#include "app/Artwork.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <array>

namespace vpr {

int CAppStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
  if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon CAppStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                              const QWidget* widget) const {
  // The pictures of Qt's styles that the menu bar, every toolbar and every child window ask for
  // when they are made: the overflow arrows and the maximise button. Qt reads them from its own
  // resources letting the reader detect the format, which loads every image-format plugin (and
  // the JPEG library) to ask each about the file; the same pictures are read here as the PNGs
  // they are, and only when one is drawn.
  struct StylePicture {
    StandardPixmap standardIcon;
    const char* name;
    const char* rightToLeftName;
    std::array<int, 3> sizes;
  };
  static constexpr std::array<StylePicture, 3> kPictures = {{
      {SP_ToolBarHorizontalExtensionButton, "toolbar-ext-h", "toolbar-ext-h-rtl", {8, 16, 32}},
      {SP_ToolBarVerticalExtensionButton, "toolbar-ext-v", "toolbar-ext-v", {5, 10, 20}},
      {SP_TitleBarMaxButton, "titlebar-max", "titlebar-max", {16, 32, 48}},
  }};
  const auto* picture = std::find_if(kPictures.begin(), kPictures.end(), [&](const StylePicture& entry) {
    return entry.standardIcon == standardIcon;
  });
  if (picture == kPictures.end()) return QProxyStyle::standardIcon(standardIcon, option, widget);
  const bool rightToLeft =
      (option ? option->direction : QGuiApplication::layoutDirection()) == Qt::RightToLeft;
  QStringList paths;
  for (const int size : picture->sizes)
    paths << QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                 .arg(QLatin1String(rightToLeft ? picture->rightToLeftName : picture->name))
                 .arg(size);
  return Artwork::icon(paths);
}

void CAppStyle::polish(QWidget* widget) {
  QProxyStyle::polish(widget);
  if (widget->isWindow()) widget->installEventFilter(this);
}

bool CAppStyle::eventFilter(QObject* watched, QEvent* event) {
  // Each time a window shows or becomes active it is marked as if the focus had been moved by
  // keys (Qt takes the mark away on the way): the style then draws the focus frame of whatever
  // control has the focus from the start, not only after the first Tab.
  if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
    if (auto* window = qobject_cast<QWidget*>(watched)) window->setAttribute(Qt::WA_KeyboardFocusChange);
  return QProxyStyle::eventFilter(watched, event);
}

} // namespace vpr
