#pragma once
// Helpers for driving the editing views with real key and mouse events.

#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "views/CEditGrid.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace vpr::test {

// Shows the widget as an active window, so that focus changes send real focus events.
inline bool showActive(QWidget& widget) {
  widget.show();
  widget.activateWindow();
  widget.raise();
  return QTest::qWaitForWindowActive(&widget);
}

// Types the text key by key into whatever widget holds focus at each key, as a user does.
inline void typeKeys(const QString& text) {
  for (const QChar c : text) {
    QWidget* target = QApplication::focusWidget();
    if (!target) return;
    QTest::keyClick(target, c.toLatin1());
  }
}

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  if (QWidget* target = QApplication::focusWidget()) QTest::keyClick(target, key, modifiers);
}

// The centre of a cell of the grid (row 0 is the header row), in viewport coordinates.
inline QPoint cellCentre(const CEditGrid& grid, int row, int col) {
  return grid.visualItemRect(grid.item(row - 1, col)).center();
}

inline void clickCell(CEditGrid& grid, int row, int col, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::mouseClick(grid.viewport(), button, modifiers, cellCentre(grid, row, col));
}

// A radio data instance with a 16-channel model (HX-4470, VHF 150-174 MHz) and its default
// image, and the language loaded.
struct ViewFixtureData {
  ViewFixtureData() {
    loadLanguage(false);
    data.startUp(std::nullopt);
    data.resetToModel(ModelCatalogue::modelCodeForRow(2));
  }
  RadioData data;
  FakeUserInterface ui;
};

} // namespace vpr::test
