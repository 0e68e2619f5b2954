#pragma once
// The program's adjustment to the desktop style: dialog buttons and message box buttons carry
// text only. Stock button icons come from the desktop's icon theme; without one Qt falls back to
// pictures of its own (a red life belt on Help, for example) that mean nothing to a user. And the
// focus is always drawn: styles that show it only after a Tab in the window left the control a
// dialog opens on (a list, a button, a table cell) looking unfocused to a keyboard user. It changes
// nothing else of the style and decides nothing about window decorations. The pictures Qt's style
// gives every main window and child window are its own, read as the PNGs they are (standardIcon).

#include <QProxyStyle>

namespace vpr {

class CAppStyle : public QProxyStyle {
  Q_OBJECT
public:
  using QProxyStyle::QProxyStyle;

  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
  QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
  void polish(QWidget* widget) override;
  using QProxyStyle::polish;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace vpr
