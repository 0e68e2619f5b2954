#pragma once
// The child frame of the optional features, key assignment and test frequency views. A close
// request is not carried out at once: the frame first lets its view finish (its view is asked
// through queryClose on the next turn of the event loop) and closes afterwards. While Close All
// Window runs, or without a view, it closes at once.

#include <QMdiSubWindow>

namespace vpr {

class CImageView;

class CChildFrame : public QMdiSubWindow {
  Q_OBJECT
public:
  explicit CChildFrame(CImageView* view, QWidget* parent = nullptr);

  CImageView* view() const;
  // Set while Close All Window runs: every frame closes without asking its view.
  static void setClosingAll(bool closing);
  static bool closingAll();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void deferredClose();

  bool closePosted_ = false;
  bool closeGranted_ = false;
};

} // namespace vpr
