// A screen-reader user programs a channel: the grid's cell editors and the entries of their
// lists are found and chosen through the accessibility interfaces alone (what the platform's
// bridge hands to a screen reader), and the choice reaches the image.
#include "ViewTestSupport.h"

#include "lang/CLanguageTable.h"
#include "model/DisplayText.h"
#include "views/CChInfoView.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace vpr {
namespace {

// Depth-first through the accessible children, as a client walks the tree from a window.
QAccessibleInterface* findAccessible(QAccessibleInterface* node,
                                     const std::function<bool(QAccessibleInterface*)>& wanted,
                                     int depth = 0) {
  if (!node || depth > 12) return nullptr;
  if (wanted(node)) return node;
  for (int i = 0; i < node->childCount(); ++i)
    if (QAccessibleInterface* found = findAccessible(node->child(i), wanted, depth + 1)) return found;
  return nullptr;
}

bool doAction(QAccessibleInterface* node, const QString& action) {
  QAccessibleActionInterface* actions = node ? node->actionInterface() : nullptr;
  if (!actions || !actions->actionNames().contains(action)) return false;
  actions->doAction(action);
  return true;
}

class AccessibleEditing : public ::testing::Test, protected test::ViewFixtureData {
protected:
  void SetUp() override {
    std::string rx = "150.000";
    data.setChannelFrequency(1, rx, FrequencyField::Receive);
    view = std::make_unique<CChInfoView>(data, ui);
    ASSERT_TRUE(test::showActive(*view));
    view->grid()->setFocus();
  }
  std::unique_ptr<CChInfoView> view;
};

TEST_F(AccessibleEditing, AnEntryChosenInACellEditorsListThroughTheAccessibilityInterfaceChangesTheChannel) {
  struct Case {
    int column;
    QString entry;
  };
  const Case cases[] = {{3, QStringLiteral("88.5")},
                        {4, QStringLiteral("D023N")},
                        {5, QString::fromStdString(textOf(choices::kChannelOption[0].textId))}};
  CEditGrid* grid = view->grid();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    const ChannelRecord before = data.channelSlot(1);
    const QString header = grid->horizontalHeaderItem(c.column)->text();
    grid->setCell(1, c.column);
    test::pressKey(Qt::Key_Return);

    // The editor is in the tree under the view's window, focused, described by its column
    // (on Linux a combo box's name is its value), with the cell's value.
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(view.get());
    QAccessibleInterface* editor = findAccessible(root, [&](QAccessibleInterface* node) {
      return node->role() == QAccessible::ComboBox && node->state().focused;
    });
    ASSERT_NE(editor, nullptr) << "no focused combo box in the view";
    EXPECT_EQ(editor->text(QAccessible::Description), header);
    EXPECT_EQ(editor->text(QAccessible::Value), grid->cellText(1, c.column));

    ASSERT_TRUE(doAction(editor, QAccessibleActionInterface::showMenuAction()));
    auto* combo = qobject_cast<QComboBox*>(editor->object());
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return combo->view()->isVisible(); }));
    QAccessibleInterface* entry = findAccessible(editor, [&](QAccessibleInterface* node) {
      return node->role() == QAccessible::ListItem && node->text(QAccessible::Name) == c.entry;
    });
    ASSERT_NE(entry, nullptr) << "no list entry " << c.entry.toStdString();
    ASSERT_TRUE(doAction(entry, QAccessibleActionInterface::toggleAction()))
        << entry->actionInterface()->actionNames().join(u',').toStdString();

    EXPECT_TRUE(QTest::qWaitFor([&] { return !combo->view()->isVisible(); })) << "the list closes";
    EXPECT_FALSE(data.channelSlot(1) == before) << "the channel changed";
    EXPECT_EQ(grid->cellText(1, c.column), c.entry);
    EXPECT_EQ(editor->text(QAccessible::Value), c.entry);
    test::pressKey(Qt::Key_Escape);
  }
}

// A client such as a dictation or braille program sets an editor's text as a whole, which
// leaves the line edit unmodified; the frequency is an entry all the same.
TEST_F(AccessibleEditing, AFrequencySetAsAWholeThroughTheAccessibilityInterfaceIsStored) {
  CEditGrid* grid = view->grid();
  grid->setCell(1, 1);
  test::pressKey(Qt::Key_Return);
  QAccessibleInterface* editor =
      findAccessible(QAccessible::queryAccessibleInterface(view.get()), [](QAccessibleInterface* node) {
        return node->role() == QAccessible::EditableText && node->state().focused;
      });
  ASSERT_NE(editor, nullptr) << "no focused text editor in the view";
  ASSERT_NE(editor->editableTextInterface(), nullptr);
  editor->editableTextInterface()->replaceText(0, editor->textInterface()->characterCount(),
                                               QStringLiteral("151.25"));
  test::pressKey(Qt::Key_Return);
  const std::string stored = DisplayText::channelCell(1, data.channelSlot(1), ChannelField::RxFrequency).text;
  EXPECT_TRUE(stored.starts_with("151.25")) << "the image holds " << stored;
  EXPECT_EQ(grid->cellText(1, 1).toStdString(), stored);
}

} // namespace
} // namespace vpr
