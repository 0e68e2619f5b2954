#pragma once
// The View and Window menus: showing and hiding the tree view bar (and giving it the focus), the
// toolbar and the status bar; cascading, tiling and arranging the child windows, and closing them
// all. The main window owns the bars and the child windows; this file arranges them.

#include "app/CommandTable.h"

#include <Qt>

namespace vpr {

class CMainFrame;

class WindowCommands {
public:
  WindowCommands(CMainFrame& frame, CommandTable& table);

private:
  // Tree View hides a shown bar; the accelerator-only command gives a shown bar the focus. A
  // hidden bar is shown with the current model's tree and takes the focus either way.
  void toggleTreeBar(bool focusWhenShown);
  void toggleStatusBar();
  // Tile Horizontally stacks the child windows one above the other (Qt::Vertical), Tile
  // Vertically puts them side by side (Qt::Horizontal).
  void tileWindows(Qt::Orientation direction);
  // Lines the minimised child windows up along the bottom of the client area.
  void arrangeMinimisedWindows();

  CMainFrame& frame_;
};

} // namespace vpr
