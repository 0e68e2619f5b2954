#pragma once
// The scrolling pane between a child frame and its editing view. The view keeps the size its
// layout asks for; when the frame is smaller (tiled, or the main window small), scroll bars
// appear instead of the view's controls being squeezed over each other. A larger frame lets the
// view grow. It only places the view; it knows nothing of what the view shows.

#include <QScrollArea>

namespace vpr {

class CImageView;

class CViewScroller : public QScrollArea {
  Q_OBJECT
public:
  explicit CViewScroller(CImageView* view, QWidget* parent = nullptr);

  CImageView* view() const;
  // The view's own size plus the frame: a frame opens showing the whole view.
  QSize sizeHint() const override;
};

} // namespace vpr
