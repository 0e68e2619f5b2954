#include "app/LayoutFaults.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <QWindow>

#include <cmath>
#include <functional>
#include <map>

namespace vpr::test {
namespace {

QString classOf(const QWidget& widget) {
  return QString::fromLatin1(widget.metaObject()->className());
}

// The text as shown: without the shortcut after a TAB and without accelerator markers.
QString shownText(QString text) {
  text = text.section(QLatin1Char('\t'), 0, 0);
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

int widestLine(const QFontMetrics& metrics, const QString& text) {
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  return widest;
}

// The accelerator letter of a text, or a null character when it has none.
QChar acceleratorOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toLower();
    ++i;
  }
  return {};
}

// Walks one window, collecting its faults.
class Walker {
public:
  explicit Walker(const QWidget& root) : root_(root) {}

  QStringList run() {
    checkOnScreen(*root_.window());
    QList<const QWidget*> widgets{&root_};
    for (const QWidget* child : root_.findChildren<QWidget*>())
      if (child->isVisible() && child->window() == root_.window()) widgets.append(child);
    for (const QWidget* widget : widgets) {
      checkText(*widget);
      checkChildren(*widget);
      checkNamed(*widget);
    }
    return faults_;
  }

private:
  void needs(const QWidget& widget, const QString& text, int needed, int room) {
    // At a fractional pixel ratio Qt's own layouts round a text's size to the pixel below now
    // and then (a message box's label too): a pixel short is not a cut text.
    const bool fractional = widget.devicePixelRatio() != std::floor(widget.devicePixelRatio());
    if (needed > room + (fractional ? 1 : 0))
      faults_ << QStringLiteral("%1 \"%2\": needs %3 of %4").arg(classOf(widget), text).arg(needed).arg(room);
  }

  void claim(const QString& text) {
    const QChar letter = acceleratorOf(text);
    if (letter.isNull()) return;
    const auto [it, added] = accelerators_.emplace(letter, text);
    if (!added)
      faults_ << QStringLiteral("\"%1\" and \"%2\" share the accelerator %3").arg(it->second, text, letter);
  }

  void checkOnScreen(const QWidget& window) {
    const QScreen* screen = window.screen();
    const QRect frame = framedGeometry(window);
    // Frame margins of an odd number of device pixels round up to a logical pixel more.
    if (screen && !screen->availableGeometry().adjusted(-1, -1, 1, 1).contains(frame))
      faults_ << QStringLiteral("%1 at %2,%3 %4x%5 is not whole on the screen of %6x%7")
                     .arg(classOf(window))
                     .arg(frame.x())
                     .arg(frame.y())
                     .arg(frame.width())
                     .arg(frame.height())
                     .arg(screen->availableGeometry().width())
                     .arg(screen->availableGeometry().height());
  }

  // Texts wider than the room their widget gives them, and accelerator letters.
  void checkText(const QWidget& widget) {
    const QFontMetrics metrics = widget.fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
      if (label->text().isEmpty() || !label->pixmap().isNull()) return;
      if (label->buddy()) claim(label->text());
      if (label->wordWrap())
        needs(*label, label->text(), label->heightForWidth(label->width()), label->height());
      else
        needs(*label, label->text(), label->sizeHint().width(), label->width());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
      if (button->text().isEmpty()) return;
      // A tool button carries its action's menu text, whose accelerator belongs to the menu.
      if (!qobject_cast<const QToolButton*>(button)) claim(button->text());
      // The style's size for the text (and indicator or icon) is the room it needs.
      needs(*button, button->text(), button->sizeHint().width(), button->width());
    } else if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
      claim(group->title());
      needs(*group, group->title(), metrics.horizontalAdvance(shownText(group->title())) + 16,
            group->width());
    } else if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
      QStyleOptionComboBox option;
      option.initFrom(combo);
      option.editable = combo->isEditable();
      option.frame = combo->hasFrame();
      const int field =
          combo->style()
              ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
              .width();
      for (int i = 0; i < combo->count(); ++i)
        needs(*combo, combo->itemText(i), metrics.horizontalAdvance(combo->itemText(i)), field);
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
      // A field the user cannot type into shows its text only as far as it is wide.
      if (edit->isReadOnly() && !edit->text().isEmpty() &&
          !qobject_cast<const QComboBox*>(edit->parentWidget()))
        needs(*edit, edit->text(), metrics.horizontalAdvance(edit->text()) + 6, edit->width());
    } else if (const auto* header = qobject_cast<const QHeaderView*>(&widget)) {
      if (header->orientation() != Qt::Horizontal || !header->model()) return;
      const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
      for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section) || header->sectionSize(section) == 0) continue;
        const QString text = header->model()->headerData(section, Qt::Horizontal).toString();
        needs(*header, text, widestLine(metrics, text) + margins, header->sectionSize(section));
      }
    } else if (const auto* view = qobject_cast<const QAbstractItemView*>(&widget)) {
      checkCells(*view);
    }
  }

  void checkCells(const QAbstractItemView& view) {
    const QAbstractItemModel* model = view.model();
    if (!model) return;
    std::function<void(const QModelIndex&)> visit = [&](const QModelIndex& parent) {
      for (int row = 0; row < model->rowCount(parent); ++row) {
        for (int column = 0; column < model->columnCount(parent); ++column) {
          const QModelIndex index = model->index(row, column, parent);
          const QString text = index.data(Qt::DisplayRole).toString();
          const QRect cell = view.visualRect(index);
          if (!text.isEmpty() && cell.isValid()) {
            const int icon = index.data(Qt::DecorationRole).isNull() ? 0 : view.iconSize().width() + 4;
            needs(view, text, widestLine(view.fontMetrics(), text) + icon + 6, cell.width());
          }
          if (column == 0) visit(index);
        }
      }
    };
    visit(view.rootIndex());
  }

  // Children of one parent on top of each other or reaching out of it. Scroll areas place their
  // own parts, and what their viewport shows scrolls under its edges and may be stacked there
  // (the frames of the main window).
  void checkChildren(const QWidget& parent) {
    if (qobject_cast<const QAbstractScrollArea*>(&parent)) return;
    const auto* area = qobject_cast<const QAbstractScrollArea*>(parent.parentWidget());
    if (area && area->viewport() == &parent) return;
    QList<const QWidget*> shown;
    for (const QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (child->isVisible() && !child->isWindow()) shown.append(child);
    for (qsizetype i = 0; i < shown.size(); ++i) {
      if (!parent.rect().contains(shown[i]->geometry()))
        faults_ << QStringLiteral("%1 reaches out of %2").arg(classOf(*shown[i]), classOf(parent));
      for (qsizetype j = i + 1; j < shown.size(); ++j)
        if (shown[i]->geometry().intersects(shown[j]->geometry()))
          faults_ << QStringLiteral("%1 over %2 in %3")
                         .arg(classOf(*shown[i]), classOf(*shown[j]), classOf(parent));
    }
  }

  // A control that takes keyboard focus without a name a screen reader could announce.
  void checkNamed(const QWidget& widget) {
    if (!widget.isEnabled() || !(widget.focusPolicy() & Qt::TabFocus) || widget.focusProxy()) return;
    if (qobject_cast<const QComboBox*>(widget.parentWidget())) return; // the combo's own edit
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(&widget));
    if (!node || node->text(QAccessible::Name).trimmed().isEmpty())
      faults_ << QStringLiteral("unnamed %1 %2").arg(classOf(widget), widget.objectName());
  }

  const QWidget& root_;
  QStringList faults_;
  std::map<QChar, QString> accelerators_;
};

} // namespace

QStringList layoutFaults(const QWidget& root) {
  return Walker(root).run();
}

QStringList menuFaults(const QMenu& menu) {
  QStringList faults;
  std::map<QChar, QString> accelerators;
  for (QAction* action : menu.actions()) {
    if (action->isSeparator() || !action->isVisible()) continue;
    if (action->menu()) faults << menuFaults(*action->menu());
    const QChar letter = acceleratorOf(action->text());
    if (letter.isNull()) continue;
    const auto [it, added] = accelerators.emplace(letter, action->text());
    if (!added)
      faults << QStringLiteral("%1: \"%2\" and \"%3\" share %4")
                    .arg(menu.title(), it->second, action->text(), letter);
  }
  return faults;
}

QRect framedGeometry(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle ? window.geometry().marginsAdded(handle->frameMargins()) : window.geometry();
}

::testing::AssertionResult laidOutCleanly(const QWidget& root) {
  const QStringList faults = layoutFaults(root);
  if (faults.isEmpty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << classOf(root).toStdString() << " \"" << root.window()->windowTitle().toStdString() << "\":\n  "
         << faults.join(QStringLiteral("\n  ")).toStdString();
}

} // namespace vpr::test
