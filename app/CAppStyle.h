#pragma once
// The program's adjustments to the desktop style: dialog buttons carry text only (no stock
// icons, which on a desktop without an icon theme fall back to Qt's own red and green
// pictures), and every dialog and message box is decorated as a dialog - a title, a close
// button, no minimise and no maximise button. It changes nothing else of the style.

#include <QProxyStyle>

namespace vpr {

class CAppStyle : public QProxyStyle {
  Q_OBJECT
public:
  using QProxyStyle::QProxyStyle;

  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
  void polish(QWidget* widget) override;
  using QProxyStyle::polish;

  // The window flags of a dialog: its window type with a title, a system menu and a close button.
  static Qt::WindowFlags dialogFlags(Qt::WindowFlags flags);
};

} // namespace vpr
