// The routing of commands: every command the menus, toolbar and keys offer reaches a handler, and
// a command that works on the image sees the entry still open in a view.

#include "app/CommandTable.h"
#include "app/MainFrameFixture.h"
#include "app/MenuLayout.h"

#include <string>

namespace vpr {
namespace {

TEST(CommandTableTest, AnOpenEntryIsStoredBeforeTheCommandsThatAskForIt) {
  std::string log;
  CommandTable table([&] { log += "store "; });
  table.add(
      1, [&] { log += "one "; }, CommandTable::OpenEntry::StoredFirst);
  table.add(2, [&] { log += "two "; });
  EXPECT_TRUE(table.run(1));
  EXPECT_TRUE(table.run(2));
  EXPECT_FALSE(table.run(3));
  EXPECT_EQ(log, "store one two ");
}

using MainFrameCommandsTest = test::MainFrameFixture;

TEST_F(MainFrameCommandsTest, EveryItemOfTheMenusToolbarAndKeysIsACommandWithAHandler) {
  std::vector<int> offered;
  for (const MenuLayout::Menu* menu : MenuLayout::barMenus())
    offered.insert(offered.end(), menu->items);
  offered.insert(offered.end(), MenuLayout::windowMenu().items);
  offered.insert(offered.end(), MenuLayout::helpMenu().items);
  for (const MenuLayout::ToolButton& button : MenuLayout::toolButtons())
    offered.push_back(button.command);
  for (const MenuLayout::Keys& keys : MenuLayout::keys())
    offered.push_back(keys.command);
  for (int command : offered) {
    if (command == MenuLayout::kSeparator) continue;
    EXPECT_NE(MenuLayout::find(command), nullptr) << command;
    EXPECT_NE(frame->action(command), nullptr) << command;
    EXPECT_TRUE(frame->commands().handles(command)) << command;
  }
}

} // namespace
} // namespace vpr
