#include "app/CSplashWnd.h"

#include "app/Artwork.h"
#include "views/QtText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <utility>

namespace vpr {

namespace {

CSplashWnd*& instance() {
  static CSplashWnd* splash = nullptr;
  return splash;
}

QFont splashFont(int pixelHeight) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setWeight(QFont::Medium);
  return font;
}

enum class Anchor { Centre, Right };

// Draws a text whose reference point is the middle (Centre) or the right end (Right) of its
// baseline box bottom, as the splash layout places them.
void drawAt(QPainter& p, const QFont& font, const QString& text, Anchor anchor, int x, int bottom) {
  p.setFont(font);
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(text);
  const int left = anchor == Anchor::Centre ? x - width / 2 : x - width;
  p.drawText(QPoint(left, bottom - metrics.descent()), text);
}

} // namespace

QString CSplashWnd::pictureFor(int colourDepth) {
  return colourDepth >= 16 ? QStringLiteral(":/vpr40t/splash.png") : QStringLiteral(":/vpr40t/splash256.png");
}

CSplashWnd* CSplashWnd::current() {
  return instance();
}

CSplashWnd* CSplashWnd::showSplash(QWidget* mainWindow, int colourDepth) {
  if (instance()) return nullptr;
  QPixmap picture = Artwork::pixmap(pictureFor(colourDepth));
  if (picture.isNull()) return nullptr;
  auto* splash = new CSplashWnd(mainWindow, std::move(picture));
  splash->show();
  splash->repaint();
  return splash;
}

CSplashWnd::CSplashWnd(QWidget* owner, QPixmap picture)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), owner_(owner) {
  instance() = this;
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setCursor(Qt::ArrowCursor);
  compose(std::move(picture));
  setFixedSize(composed_.size() / composed_.devicePixelRatio());
  // Centre over the main window when it is visible, else over the screen. The window's own
  // rectangle, not its frame: a window manager still sizing the frame can leave Qt's frame
  // rectangle empty for a while.
  QRect area;
  if (owner && owner->isVisible())
    area = owner->geometry();
  else if (const QScreen* screen = QGuiApplication::primaryScreen())
    area = screen->availableGeometry();
  if (area.isValid()) move(area.center() - rect().center());
  qApp->installEventFilter(this);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &CSplashWnd::dismiss);
  timer_.start(kLifetimeMs);
}

CSplashWnd::~CSplashWnd() {
  qApp->removeEventFilter(this);
  if (instance() == this) instance() = nullptr;
}

void CSplashWnd::compose(QPixmap picture) {
  // The texts are drawn into the picture itself: it is not shared, so no copy is made.
  composed_ = std::move(picture);
  const int w = composed_.width();
  const int h = composed_.height();
  QPainter p(&composed_);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(Qt::black);
  const QFont titleFont = splashFont(20);
  const QFont lineFont = splashFont(15);
  const QFont smallFont = splashFont(14);
  const QFont footerFont = splashFont(14);
  drawAt(p, titleFont, qtText(10001001), Anchor::Centre, w / 2, h / 2 - 10);
  drawAt(p, lineFont, qtText(10001002), Anchor::Centre, w / 2, h / 2 + 9);
  drawAt(p, lineFont, qtText(10001003), Anchor::Centre, w / 2, h / 2 + 24);
  drawAt(p, smallFont, qtText(10001004), Anchor::Right, w - 26, h - 57);
  drawAt(p, smallFont, qtText(10001005), Anchor::Right, w - 26, h - 45);
  drawAt(p, smallFont, qtText(10001006), Anchor::Right, w - 26, h - 33);
  drawAt(p, footerFont, qtText(10001008), Anchor::Right, w - 26, h - 8);
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, composed_);
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
  case QEvent::ShortcutOverride:
    // Claim the key before accelerators see it; the key press that follows closes the window.
    event->accept();
    return true;
  case QEvent::KeyPress:
    dismiss();
    return true;
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonDblClick:
  case QEvent::NonClientAreaMouseButtonPress: {
    const auto button = static_cast<QMouseEvent*>(event)->button();
    if (button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton) {
      dismiss();
      return true;
    }
    break;
  }
  default:
    break;
  }
  return QWidget::eventFilter(watched, event);
}

void CSplashWnd::dismiss() {
  if (instance() != this) return;
  instance() = nullptr;
  qApp->removeEventFilter(this);
  timer_.stop();
  close();
  if (owner_ && owner_->isVisible()) {
    owner_->activateWindow();
    owner_->update();
  }
}

} // namespace vpr
