#include "ViewTestSupport.h"

#include "lang/CLanguageTable.h"
#include "views/CFeatureView.h"
#include "views/CKeyView.h"
#include "views/CPickField.h"
#include "views/CPickList.h"
#include "views/CSpinEdit.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace vpr {
namespace {

using test::pressKey;
using test::typeKeys;

QString text(int id) {
  return QString::fromStdString(textOf(id));
}

// Chooses the entry of the given text in the open pick list, as a click in the list does.
void choose(CPickList* list, const QString& entry) {
  const int index = list->findText(entry);
  ASSERT_GE(index, 0) << entry.toStdString();
  list->setCurrentIndex(index);
  emit list->activated(index);
}

class FeatureView : public ::testing::Test, protected test::ViewFixtureData {
protected:
  void SetUp() override { makeView(); }
  void makeView() {
    view = std::make_unique<CFeatureView>(data);
    ASSERT_TRUE(test::showActive(*view));
  }
  CSpinEdit* timeOut() const { return view->spinField(CFeatureView::TimeOut); }
  CSpinEdit* squelch() const { return view->spinField(CFeatureView::Squelch); }
  void setTimeOutUnits(int units) {
    data.editImage[layout::kTimeOutTimer] = static_cast<std::uint8_t>(units);
    view->reloadFromImage();
  }

  std::unique_ptr<CFeatureView> view;
};

TEST_F(FeatureView, TypedTimeOutIsClampedAndLoweredToThirtySecondSteps) {
  const struct {
    const char* typed;
    int units;
    QString shown;
  } cases[] = {{"45", 1, "30"}, {"999", 10, "300"}, {"0", 0, text(10029010)}, {"", 0, text(10029010)}};
  for (const auto& c : cases) {
    timeOut()->setFocus();
    timeOut()->edit()->selectAll();
    pressKey(Qt::Key_Backspace);
    typeKeys(c.typed);
    squelch()->setFocus();
    EXPECT_EQ(data.timeOutTimer(), c.units) << c.typed;
    EXPECT_EQ(timeOut()->text(), c.shown) << c.typed;
  }
}

TEST_F(FeatureView, TimeOutSpinWrapsBetweenOffAndThreeHundredSeconds) {
  setTimeOutUnits(1);
  timeOut()->stepBy(-1);
  EXPECT_EQ(data.timeOutTimer(), 0);
  EXPECT_EQ(timeOut()->text(), text(10029010));
  timeOut()->stepBy(-1);
  EXPECT_EQ(data.timeOutTimer(), 10);
  EXPECT_EQ(timeOut()->text(), "300");
  timeOut()->stepBy(1);
  EXPECT_EQ(data.timeOutTimer(), 0);
}

TEST_F(FeatureView, ArrowKeysStepTheFocusedValue) {
  setTimeOutUnits(6);
  timeOut()->setFocus();
  pressKey(Qt::Key_Up);
  EXPECT_EQ(data.timeOutTimer(), 7);
  EXPECT_EQ(timeOut()->text(), "210");
}

TEST_F(FeatureView, AnUnreadableTimeOutShowsEmptyAndTheNextUpCommitsOffFirst) {
  setTimeOutUnits(11);
  EXPECT_TRUE(timeOut()->text().isEmpty());
  timeOut()->stepBy(1);
  EXPECT_EQ(data.timeOutTimer(), 1);
  EXPECT_EQ(timeOut()->text(), "30");
}

TEST_F(FeatureView, SquelchTakesOneDigitAndWrapsBetweenNineAndZero) {
  squelch()->setFocus();
  typeKeys("x78");
  EXPECT_EQ(squelch()->text(), "7");
  timeOut()->setFocus();
  EXPECT_EQ(data.squelchLevel(), 7);
  data.editImage[layout::kSquelchLevel] = 9;
  view->reloadFromImage();
  squelch()->stepBy(1);
  EXPECT_EQ(data.squelchLevel(), 0);
  squelch()->stepBy(-1);
  EXPECT_EQ(data.squelchLevel(), 9);
}

TEST_F(FeatureView, APickFieldOpensTheSharedListOverItAndStoresTheChoice) {
  CPickField* beep = view->pickField(CFeatureView::BeepTone);
  beep->setFocus();
  CPickList* list = view->pickList();
  ASSERT_TRUE(list->isVisible());
  EXPECT_FALSE(beep->isVisible());
  EXPECT_EQ(list->geometry().topLeft(), beep->geometry().topLeft());
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->currentText(), beep->text());
  choose(list, text(10029012));
  EXPECT_EQ(data.beepTone(), 0);

  pressKey(Qt::Key_Return); // Enter acts as Tab: on to the battery saver
  EXPECT_TRUE(beep->isVisible());
  EXPECT_EQ(beep->text(), text(10029012));
  EXPECT_EQ(list->field(), view->pickField(CFeatureView::BatterySaver));
}

TEST_F(FeatureView, WideNarrowChangesTheFlagsOfProgrammedRecordsOnly) {
  std::string rx = "150.000000";
  data.setChannelFrequency(1, rx, FrequencyField::Receive);
  rx = "151.000000";
  data.setChannelFrequency(3, rx, FrequencyField::Receive);
  const RadioImage before = data.editImage;
  QSignalSpy titleSpy(view.get(), &CImageView::titleMayHaveChanged);

  view->pickField(CFeatureView::WideNarrow)->setFocus();
  choose(view->pickList(), text(10031051));

  EXPECT_EQ(data.narrowSetting(), 1);
  EXPECT_EQ(titleSpy.count(), 1);
  EXPECT_EQ(data.channelSlot(1).narrowBit(), 1);
  EXPECT_EQ(data.channelSlot(2), ChannelRecord::empty());
  EXPECT_EQ(data.channelSlot(3).narrowBit(), 1);
  for (int k = 1; k <= 16; ++k) {
    const TestFreqRecord r = data.testFrequency(k);
    if (r.isProgrammed())
      EXPECT_EQ(r.narrowBit(), 1) << k;
    else
      EXPECT_EQ(r, TestFreqRecord::empty()) << k;
  }
  for (std::size_t i = layout::kTestFreqTable + 16 * 16; i < kImageSize; ++i)
    ASSERT_EQ(data.editImage[i], before[i]) << i;
}

TEST_F(FeatureView, ASingleBandwidthModelOffersOneChoiceAndDisablesTheField) {
  data.resetToModel(ModelCatalogue::modelCodeForRow(4));
  view->reloadFromImage();
  CPickField* field = view->pickField(CFeatureView::WideNarrow);
  EXPECT_FALSE(field->isEnabled());
  EXPECT_EQ(field->text(), text(10031050));
}

TEST_F(FeatureView, EnterMovesOnLikeTabAndCommitsTheTypedValue) {
  timeOut()->setFocus();
  typeKeys("95");
  pressKey(Qt::Key_Return);
  EXPECT_EQ(data.timeOutTimer(), 3);
  EXPECT_EQ(timeOut()->text(), "90");
  EXPECT_EQ(QApplication::focusWidget(), squelch());
  pressKey(Qt::Key_Tab);
  EXPECT_EQ(view->pickList()->field(), view->pickField(CFeatureView::BeepTone));
  pressKey(Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), squelch());
  EXPECT_TRUE(view->pickField(CFeatureView::BeepTone)->isVisible());
}

TEST_F(FeatureView, HelpFollowsTheFocusedItem) {
  squelch()->setFocus();
  EXPECT_EQ(view->helpContext(), 209154);
  view->pickField(CFeatureView::BatterySaver)->setFocus();
  EXPECT_EQ(view->helpContext(), 209156) << "the open list counts as its field";
}

class KeyView : public ::testing::Test, protected test::ViewFixtureData {
protected:
  void SetUp() override {
    view = std::make_unique<CKeyView>(data);
    ASSERT_TRUE(test::showActive(*view));
  }
  std::unique_ptr<CKeyView> view;
};

TEST_F(KeyView, AnUnknownMoniValueShowsEmptyAndEachChoiceReplacesItWithItsValue) {
  for (const auto& [entry, value] : {std::pair{10101502, 2}, std::pair{10029010, 0}}) {
    SCOPED_TRACE(entry);
    data.editImage[layout::kMoniKey] = 7;
    view->reloadFromImage();
    EXPECT_TRUE(view->moniField()->text().isEmpty());
    view->moniField()->setFocus();
    ASSERT_EQ(view->pickList()->count(), 4);
    EXPECT_EQ(view->pickList()->currentIndex(), -1);
    choose(view->pickList(), text(entry));
    EXPECT_EQ(data.moniKey(), value);
    view->pickList()->clearFocus();
    EXPECT_EQ(view->moniField()->text(), text(entry));
  }
  EXPECT_EQ(view->helpContext(), 204800);
}

} // namespace
} // namespace vpr
