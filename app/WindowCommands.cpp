#include "app/WindowCommands.h"

#include "app/CMainFrame.h"
#include "app/CTreeViewBar.h"
#include "app/CommandIds.h"
#include "model/RadioData.h"

#include <QMdiSubWindow>
#include <QStatusBar>

namespace vpr {

WindowCommands::WindowCommands(CMainFrame& frame, CommandTable& table) : frame_(frame) {
  table.add(cmd::TreeView, [this] { toggleTreeBar(false); });
  table.add(cmd::FocusTreeView, [this] { toggleTreeBar(true); });
  table.add(cmd::ToolBar, [this] { frame_.toolBar()->setVisible(frame_.toolBar()->isHidden()); });
  table.add(cmd::StatusBar, [this] { toggleStatusBar(); });
  table.add(cmd::WindowCascade, [this] { frame_.mdiArea()->cascadeSubWindows(); });
  table.add(cmd::WindowTileHorizontal, [this] { tileWindows(Qt::Vertical); });
  table.add(cmd::WindowTileVertical, [this] { tileWindows(Qt::Horizontal); });
  table.add(cmd::WindowArrange, [this] { arrangeMinimisedWindows(); });
  table.add(cmd::CloseAllWindows, [this] { frame_.closeAllWindows(); });
}

void WindowCommands::toggleTreeBar(bool focusWhenShown) {
  CTreeViewBar* bar = frame_.treeBar();
  if (!bar->isHidden()) {
    if (focusWhenShown)
      bar->tree()->setFocus();
    else
      bar->hide();
    return;
  }
  bar->show();
  bar->refreshTree(QString::fromStdString(radioData().modelNameText()));
  bar->tree()->setFocus();
  frame_.action(cmd::TreeView)->setChecked(true);
}

void WindowCommands::toggleStatusBar() {
  QStatusBar* bar = frame_.statusBar();
  bar->setVisible(bar->isHidden());
  frame_.action(cmd::StatusBar)->setChecked(!bar->isHidden());
}

void WindowCommands::tileWindows(Qt::Orientation direction) {
  QMdiArea* mdi = frame_.mdiArea();
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : mdi->subWindowList())
    if (!window->isMinimized()) windows.append(window);
  if (windows.isEmpty()) return;
  const QRect area = mdi->viewport()->rect();
  const auto count = static_cast<int>(windows.size());
  for (int i = 0; i < count; ++i) {
    QRect cell;
    if (direction == Qt::Vertical)
      cell = QRect(0, area.height() * i / count, area.width(), area.height() / count);
    else
      cell = QRect(area.width() * i / count, 0, area.width() / count, area.height());
    windows[i]->showNormal();
    windows[i]->setGeometry(cell);
  }
}

void WindowCommands::arrangeMinimisedWindows() {
  QMdiArea* mdi = frame_.mdiArea();
  int x = 0;
  const int bottom = mdi->viewport()->height();
  for (QMdiSubWindow* window : mdi->subWindowList()) {
    if (!window->isMinimized()) continue;
    window->move(x, bottom - window->height());
    x += window->width();
  }
}

} // namespace vpr
