// The File menu's printing commands: one Print Out List at a time, the preview's buttons in the
// focus chain, and a close request of the main window while the menu's preview is open ends only
// the preview.

#include "app/CPrintListDlg.h"
#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "support/ModalDriver.h"

#include <QPointer>
#include <QToolBar>
#include <QToolButton>

namespace vpr {
namespace {

using PrintCommandsTest = test::MainFrameFixture;

TEST_F(PrintCommandsTest, PrintOpensOneListAtATime) {
  int lists = 0;
  test::whenModal<CPrintListDlg>([&](CPrintListDlg* list) {
    frame->onCommand(cmd::FilePrint); // a second Print only brings the open list forward
    lists = static_cast<int>(frame->findChildren<CPrintListDlg*>().size());
    EXPECT_EQ(frame->printList(), list);
    list->reject();
  });
  frame->onCommand(cmd::FilePrintAlt);
  EXPECT_EQ(lists, 1);
  EXPECT_EQ(frame->printList(), nullptr);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PrintCommandsTest, ClosingTheMainWindowDuringTheMenuPreviewEndsOnlyThePreview) {
  frame->onCommand(cmd::FilePrintPreview);
  QPointer<QWidget> preview = frame->menuPreview();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(preview));
  EXPECT_NE(preview->findChild<QAction*>("savePdf"), nullptr);
  // Every button of the preview, Save as PDF included, is reached by Tab as well.
  auto* tools = preview->findChild<QToolBar*>();
  ASSERT_NE(tools, nullptr);
  int buttons = 0;
  for (QAction* action : tools->actions())
    if (auto* button = qobject_cast<QToolButton*>(tools->widgetForAction(action))) {
      EXPECT_TRUE(button->focusPolicy() & Qt::TabFocus) << action->text().toStdString();
      ++buttons;
    }
  EXPECT_GT(buttons, 10);
  frame->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return preview.isNull(); }));
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(ui.messages.empty()) << "no exit question while only the preview closes";
  EXPECT_EQ(frame->menuPreview(), nullptr);
}

} // namespace
} // namespace vpr
