#pragma once
// What the main window's menus, toolbar and accelerators show: every command with its menu text,
// help context and icon, the items of each menu, the toolbar buttons with their tooltips, and
// the keys. Only presentation: what a command does is in the command file of its subject.

#include <QKeySequence>
#include <QList>

#include <initializer_list>
#include <span>

namespace vpr {

class MenuLayout {
public:
  // Stands between groups of items in the menu and toolbar lists.
  static constexpr int kSeparator = 0;

  struct Command {
    int command;
    int text;        // menu text, 0 for none
    int helpContext; // -1 for none
    const char* icon;
  };
  struct Menu {
    int text;
    std::initializer_list<int> items;
  };
  struct ToolButton {
    int command;
    int tooltip; // 0: the tooltip follows the item's text
  };
  struct Keys {
    int command;
    QList<QKeySequence> keys;
  };

  // Every command of the menus, toolbar and accelerators.
  static std::span<const Command> commands();
  // The command's entry, or none.
  static const Command* find(int command);
  // The menus always on the menu bar before the Window menu (File to View), in order.
  static std::span<const Menu* const> barMenus();
  // The Window menu (on the bar only while a child window is open) and the Help menu after it.
  static const Menu& windowMenu();
  static const Menu& helpMenu();
  static std::span<const ToolButton> toolButtons();
  static std::span<const Keys> keys();
  // The items that show a check mark (the bars that can be shown and hidden).
  static std::span<const int> checkable();
};

} // namespace vpr
