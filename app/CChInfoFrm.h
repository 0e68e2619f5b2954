#pragma once
// The child frame of the channel information view: it closes at once and is placed at the
// top left corner of the main window's client area.

#include <QMdiSubWindow>

namespace vpr {

class CImageView;

class CChInfoFrm : public QMdiSubWindow {
  Q_OBJECT
public:
  explicit CChInfoFrm(CImageView* view, QWidget* parent = nullptr);

  CImageView* view() const;
};

} // namespace vpr
