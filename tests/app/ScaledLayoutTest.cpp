// Every view as a user meets it, at whatever scale the test runs (CTest runs this suite also at
// QT_SCALE_FACTOR 1.5 and 2): no text cut off, no control over another, and every control a
// user works with named for a screen reader.
#include "app/AppTestSupport.h"
#include "app/CMainFrame.h"
#include "app/CRPSApp.h"
#include "app/CommandIds.h"
#include "app/ViewFrameSetup.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

QString shownText(QString text, bool mnemonic) {
  return mnemonic ? text.remove(QLatin1Char('&')) : text;
}

// The widest line of a text in the widget's font.
int textWidth(const QWidget& widget, const QString& text) {
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, widget.fontMetrics().horizontalAdvance(line));
  return widest;
}

// Texts that do not fit the widget showing them.
void findClippedText(const QWidget& widget, std::vector<std::string>& problems) {
  int needed = 0;
  int room = widget.width();
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    if (label->wordWrap() || !label->pixmap().isNull() || Qt::mightBeRichText(label->text())) return;
    needed = textWidth(widget, shownText(label->text(), label->buddy() != nullptr));
    room = label->contentsRect().width();
  } else if (qobject_cast<const QCheckBox*>(&widget) || qobject_cast<const QRadioButton*>(&widget)) {
    needed = widget.sizeHint().width();
  } else if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
    needed = textWidth(widget, shownText(button->text(), true));
  } else if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
    if (combo->isEditable()) return;
    QStyleOptionComboBox option;
    option.initFrom(combo);
    room = combo->style()
               ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
               .width();
    needed = textWidth(widget, combo->currentText());
  } else if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
    needed = textWidth(widget, shownText(group->title(), true));
  } else {
    return;
  }
  if (needed > room)
    problems.push_back(std::string(widget.metaObject()->className()) + " \"" +
                       widget.property("text").toString().toStdString() + "\" needs " +
                       std::to_string(needed) + " of " + std::to_string(room));
}

// Visible children of one parent that lie on top of each other. Scroll areas place their own
// parts, and cell editors lie over their grid on purpose (none is open here).
void findOverlaps(const QWidget& parent, std::vector<std::string>& problems) {
  if (qobject_cast<const QAbstractScrollArea*>(&parent)) return;
  QList<const QWidget*> shown;
  for (const QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisible() && !child->isWindow()) shown.append(child);
  for (qsizetype i = 0; i < shown.size(); ++i)
    for (qsizetype j = i + 1; j < shown.size(); ++j)
      if (shown[i]->geometry().intersects(shown[j]->geometry()))
        problems.push_back(std::string(shown[i]->metaObject()->className()) + " over " +
                           shown[j]->metaObject()->className() + " in " + parent.metaObject()->className());
}

// A control that takes keyboard focus without a name a screen reader could announce.
void findUnnamed(const QWidget& widget, std::vector<std::string>& problems) {
  if (!widget.isEnabled() || !(widget.focusPolicy() & Qt::TabFocus) || widget.focusProxy()) return;
  if (qobject_cast<const QComboBox*>(widget.parentWidget())) return; // the combo's own edit
  QAccessibleInterface* node = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(&widget));
  if (!node || node->text(QAccessible::Name).trimmed().isEmpty())
    problems.push_back(std::string("unnamed ") + widget.metaObject()->className() + " " +
                       widget.objectName().toStdString());
}

std::vector<std::string> problemsIn(const QWidget& root) {
  std::vector<std::string> problems;
  QList<const QWidget*> widgets{&root};
  for (const QWidget* child : root.findChildren<QWidget*>())
    if (child->isVisible() && child->window() == root.window()) widgets.append(child);
  for (const QWidget* widget : widgets) {
    findClippedText(*widget, problems);
    findOverlaps(*widget, problems);
    findUnnamed(*widget, problems);
  }
  return problems;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += "\n  " + line;
  return text;
}

class ScaledLayout : public ::testing::Test {
protected:
  void SetUp() override {
    test::isolateSettings();
    test::loadLanguage();
    app = std::make_unique<CRPSApp>(ui, QStringList{}, test::programOptions());
    ASSERT_TRUE(app->startup());
    frame = app->mainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
  }
  void TearDown() override {
    app.reset();
    test::loadLanguage();
  }

  test::FakeUserInterface ui;
  std::unique_ptr<CRPSApp> app;
  CMainFrame* frame = nullptr;
};

TEST_F(ScaledLayout, EveryViewShowsItsTextsWholeWithoutControlsOverlapping) {
  for (int command : {cmd::ChannelInformation, cmd::OptionalFeatures, cmd::KeyAssignment, cmd::TestFrequency})
    frame->onCommand(command);
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().size() == 4; }));
  for (QMdiSubWindow* window : frame->mdiArea()->subWindowList()) {
    frame->mdiArea()->setActiveSubWindow(window);
    window->showMaximized();
    CImageView* view = viewInFrame(window);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }));
    EXPECT_EQ(joined(problemsIn(*view)), "") << view->viewTitle().toStdString();
  }
}

} // namespace
