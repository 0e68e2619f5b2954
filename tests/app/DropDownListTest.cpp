// Every drop-down list of the views opens with the mouse (its arrow, or a click on a pick field)
// and with the keyboard (F4, Alt+Down), takes a pick with the mouse, and leaves the form standing
// still while it is open. The views sit in the main window's frames, and the clicks and keys go
// through the X server (xdotool), as a user's do: the list is a popup window that grabs the
// keyboard and the pointer, which is what closed the editors before.
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/ProgramFixture.h"
#include "app/XClients.h"
#include "lang/CLanguageTable.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "views/CChInfoView.h"
#include "views/CEditGrid.h"
#include "views/CFeatureView.h"
#include "views/CKeyView.h"
#include "views/CPickField.h"
#include "views/CPickList.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using namespace vpr;

namespace {

using test::realClick;
using test::realKeys;
using test::xdotool;

// The middle of the combo's arrow.
QPoint arrowOf(const QComboBox* combo) {
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = combo->isEditable();
  const QRect arrow =
      combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, combo);
  return arrow.isValid() ? arrow.center() : QPoint(combo->width() - 6, combo->height() / 2);
}

bool listIsOpen(const QComboBox* combo) {
  return combo->view() && combo->view()->isVisible() && QApplication::activePopupWidget();
}

// Picks the entry of the given text in the open list with a click.
bool clickEntry(QComboBox* combo, const QString& entry) {
  const int index = combo->findText(entry, Qt::MatchExactly);
  if (index < 0) return false;
  QAbstractItemView* list = combo->view();
  // The list is on the X server (a click before it is mapped goes to the window below and
  // closes the list), and its entry is in view.
  if (!QTest::qWaitForWindowExposed(list->window())) return false;
  const QModelIndex item = list->model()->index(index, combo->modelColumn());
  list->scrollTo(item);
  QCoreApplication::processEvents();
  return realClick(list->viewport(), list->visualRect(item).center());
}

QString text(int id) {
  return QString::fromStdString(textOf(id));
}

// The geometry of every control of a view but the field under the list, to see that nothing moves.
std::vector<QRect> layoutOf(const QWidget& view, const QWidget* field) {
  std::vector<QRect> rects;
  for (const QWidget* child : view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child != field && !qobject_cast<const CPickList*>(child)) rects.push_back(child->geometry());
  return rects;
}

class DropDownListTest : public test::ProgramFixture {
protected:
  // The program as a user starts it (maximised, its style and fonts), with channel 1 programmed.
  void SetUp() override {
    test::ProgramFixture::SetUp();
    ASSERT_NE(start(), nullptr);
    std::string rx = "150.000";
    radioData().setChannelFrequency(1, rx, FrequencyField::Receive);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  }
  void TearDown() override {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    test::ProgramFixture::TearDown();
  }
  template <class View> View* open(int command, ViewKind kind) {
    frame->onCommand(command);
    if (auto* view = qobject_cast<View*>(frame->viewOf(kind))) view->reloadFromImage();
    auto* view = qobject_cast<View*>(frame->viewOf(kind));
    if (!view || !QTest::qWaitForWindowExposed(view->window())) return nullptr;
    // The frame has settled where the window manager put the main window.
    return QTest::qWaitFor([&] { return view->isVisible() && frame->isActiveWindow(); }) ? view : nullptr;
  }
  // Opens the editor of a cell of channel 1 with a click (or Enter) and returns its combo box.
  QComboBox* cellEditor(CChInfoView* view, int col, bool byKey = false) {
    CEditGrid* grid = view->grid();
    if (byKey) {
      grid->setFocus();
      grid->setCell(1, col);
      if (!realKeys({"Return"})) return nullptr;
    } else if (!realClick(grid->viewport(), grid->visualItemRect(grid->item(0, col)).center())) {
      return nullptr;
    }
    QComboBox* combo = nullptr;
    const bool opened = QTest::qWaitFor([&] {
      combo = qobject_cast<QComboBox*>(grid->openEditor());
      return combo && combo->isVisible() && combo->hasFocus();
    });
    return opened ? combo : nullptr;
  }
};

// The tone and the option list of the grid open with a click on the arrow, take a pick with the
// mouse, and leave their editor open under them and after the pick.
TEST_F(DropDownListTest, TheGridsListsOpenWithAClickOnTheArrowAndTakeAPickWithTheMouse) {
  auto* view = open<CChInfoView>(cmd::ChannelInformation, ViewKind::ChannelInfo);
  ASSERT_NE(view, nullptr);
  const int option = 1 - radioData().channelSlot(1).optionA();
  struct Case {
    int col;
    QString entry;
    std::function<bool()> stored;
  };
  const Case cases[] = {
      {3, "88.5", [] { return formatTone(radioData().channelSlot(1).rxTone()) == "88.5"; }},
      {5, text(option ? 10029012 : 10029011),
       [option] { return radioData().channelSlot(1).optionA() == option; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.col);
    QComboBox* combo = cellEditor(view, c.col);
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(realClick(combo, arrowOf(combo)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listIsOpen(combo); }));
    EXPECT_EQ(view->grid()->openEditor(), combo);
    EXPECT_TRUE(combo->isVisible());
    ASSERT_TRUE(clickEntry(combo, c.entry));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->grid()->cellText(1, c.col) == c.entry; }));
    EXPECT_TRUE(c.stored());
    EXPECT_EQ(view->grid()->openEditor(), combo);
    EXPECT_TRUE(combo->isVisible());
    EXPECT_EQ(combo->currentText(), c.entry);
    ASSERT_TRUE(realKeys({"Escape"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->grid()->hasFocus(); }));
  }
}

TEST_F(DropDownListTest, TheToneAndOptionListsOfTheGridOpenWithF4AndAltDown) {
  auto* view = open<CChInfoView>(cmd::ChannelInformation, ViewKind::ChannelInfo);
  ASSERT_NE(view, nullptr);
  for (const int col : {3, 6}) {
    for (const QString key : {"F4", "alt+Down"}) {
      QComboBox* combo = cellEditor(view, col, true);
      ASSERT_NE(combo, nullptr) << col;
      ASSERT_TRUE(realKeys({key}));
      ASSERT_TRUE(QTest::qWaitFor([&] { return listIsOpen(combo); }))
          << QStringLiteral("column %1, %2").arg(col).arg(key).toStdString();
      EXPECT_EQ(view->grid()->openEditor(), combo);
      EXPECT_TRUE(combo->isVisible());
      ASSERT_TRUE(realKeys({"Escape"}));
      ASSERT_TRUE(QTest::qWaitFor([&] { return !listIsOpen(combo); }));
      ASSERT_TRUE(realKeys({"Escape"}));
      ASSERT_TRUE(QTest::qWaitFor([&] { return view->grid()->hasFocus(); }));
    }
  }
}

TEST_F(DropDownListTest, APickFieldOpensItsListWithAClickAndTakesAPickWhileTheFormStandsStill) {
  auto* view = open<CFeatureView>(cmd::OptionalFeatures, ViewKind::Features);
  ASSERT_NE(view, nullptr);
  CPickField* field = view->pickField(CFeatureView::BatterySaver);
  const std::vector<QRect> before = layoutOf(*view, field);
  const QRect fieldRect = field->geometry();
  ASSERT_TRUE(realClick(field, field->rect().center()));
  CPickList* list = view->pickList();
  ASSERT_TRUE(QTest::qWaitFor([&] { return listIsOpen(list); }));
  EXPECT_EQ(list->geometry().topLeft(), fieldRect.topLeft());
  EXPECT_EQ(layoutOf(*view, field), before);
  const int wanted = 1 - radioData().batterySaver();
  ASSERT_TRUE(clickEntry(list, text(wanted ? 10029013 : 10029014)));
  (void)QTest::qWaitFor([&] { return radioData().batterySaver() == wanted; });
  EXPECT_EQ(radioData().batterySaver(), wanted);
  EXPECT_EQ(layoutOf(*view, field), before);
}

// A click of a user takes a while. The list must not drop while the button is still down: the
// release would land on an entry of the list just dropped, pick it and close the list again.
TEST_F(DropDownListTest, APickFieldsListIsStillOpenAfterASlowClick) {
  auto* view = open<CFeatureView>(cmd::OptionalFeatures, ViewKind::Features);
  ASSERT_NE(view, nullptr);
  CPickField* field = view->pickField(CFeatureView::WideNarrow);
  CPickList* list = view->pickList();
  const QPoint centre = field->mapToGlobal(field->rect().center());
  ASSERT_TRUE(
      xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "mousedown", "1"}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible() && list->hasFocus(); }));
  // The button stays down longer than the grace time Qt gives a release on a list just dropped.
  QTest::qWait(QApplication::doubleClickInterval() + 200);
  ASSERT_TRUE(xdotool({"mouseup", "1"}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return listIsOpen(list); }));
  ASSERT_TRUE(realKeys({"Escape"}));
}

TEST_F(DropDownListTest, PickListsOpenWithF4AndAltDown) {
  auto* view = open<CFeatureView>(cmd::OptionalFeatures, ViewKind::Features);
  ASSERT_NE(view, nullptr);
  for (const auto item : {CFeatureView::BeepTone, CFeatureView::WideNarrow}) {
    for (const QString key : {"F4", "alt+Down"}) {
      view->pickField(item)->setFocus(Qt::TabFocusReason);
      CPickList* list = view->pickList();
      ASSERT_TRUE(QTest::qWaitFor([&] { return list->hasFocus(); }));
      ASSERT_TRUE(realKeys({key}));
      ASSERT_TRUE(QTest::qWaitFor([&] { return listIsOpen(list); }))
          << QStringLiteral("item %1, %2").arg(item).arg(key).toStdString();
      ASSERT_TRUE(realKeys({"Escape"}));
      ASSERT_TRUE(QTest::qWaitFor([&] { return !listIsOpen(list); }));
    }
  }
}

TEST_F(DropDownListTest, TheMoniKeyFieldShowsTheLongestFunctionInFullAndOpensWithAClick) {
  auto* view = open<CKeyView>(cmd::KeyAssignment, ViewKind::Keys);
  ASSERT_NE(view, nullptr);
  CPickField* field = view->moniField();
  const int room =
      field->contentsRect().width() - 2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  for (const ChoiceEntry& choice : choices::kMoniKey)
    EXPECT_LE(field->fontMetrics().horizontalAdvance(text(choice.textId)), room)
        << text(choice.textId).toStdString();

  const std::vector<QRect> before = layoutOf(*view, field);
  ASSERT_TRUE(realClick(field, field->rect().center()));
  CPickList* list = view->pickList();
  ASSERT_TRUE(QTest::qWaitFor([&] { return listIsOpen(list); }));
  EXPECT_EQ(layoutOf(*view, field), before);
  const QString longest = text(choices::kMoniKey[3].textId);
  ASSERT_TRUE(clickEntry(list, longest));
  (void)QTest::qWaitFor([&] { return radioData().moniKey() == 3; });
  EXPECT_EQ(radioData().moniKey(), 3);
  (void)QTest::qWaitFor([&] { return field->text() == longest; });
  EXPECT_EQ(field->text(), longest);
}

} // namespace
