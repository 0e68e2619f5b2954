#pragma once
// The borderless picture window shown while the main window comes up. It closes after five
// seconds, or at the first key or mouse press anywhere in the program, which it consumes.

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace vpr {

class CSplashWnd : public QWidget {
  Q_OBJECT
public:
  static constexpr int kLifetimeMs = 5000;

  // Creates and shows the splash window over the main window unless one is open already or
  // the picture cannot be loaded. colourDepth chooses the full-colour or the 256-colour picture.
  static CSplashWnd* showSplash(QWidget* mainWindow, int colourDepth);
  // The open splash window, if any.
  static CSplashWnd* current();
  // The picture file for a screen colour depth (bits per pixel).
  static QString pictureFor(int colourDepth);

  ~CSplashWnd() override;

  // The picture with the product texts drawn over it, as the window shows it.
  QPixmap composed() const { return composed_; }

protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  CSplashWnd(QWidget* owner, QPixmap picture);
  void compose(QPixmap picture);
  void dismiss();

  QPixmap composed_;
  QTimer timer_;
  QPointer<QWidget> owner_;
};

} // namespace vpr
