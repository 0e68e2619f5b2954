#include "app/CTreeViewBar.h"

#include "app/Artwork.h"
#include "app/CommandIds.h"
#include "views/QtText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vpr {

namespace {

constexpr int kCommandRole = Qt::UserRole + 1;

struct Entry {
  int text;
  int command;
};

constexpr Entry kEntries[] = {
    {10027012, cmd::ChannelInformation},
    {10027002, cmd::OptionalFeatures},
    {10027001, cmd::KeyAssignment},
    {10027010, cmd::TestFrequency},
};

} // namespace

CTreeViewBar::CTreeViewBar(QWidget* parent) : QDockWidget(parent), tree_(new QTreeWidget(this)) {
  setObjectName(QStringLiteral("treeViewBar"));
  setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
              QDockWidget::DockWidgetFloatable);
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(true);
  tree_->setIconSize(QSize(16, 16));
  tree_->setExpandsOnDoubleClick(false);
  tree_->viewport()->installEventFilter(this);
  tree_->installEventFilter(this);
  setWidget(tree_);
  setFocusProxy(tree_);
  localise();
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    openItem(item);
    item->setExpanded(!item->isExpanded());
  });
}

void CTreeViewBar::localise() {
  setWindowTitle(qtText(10022001));
  tree_->setAccessibleName(windowTitle());
}

void CTreeViewBar::refreshTree(const QString& modelName) {
  tree_->clear();
  auto* root = new QTreeWidgetItem(tree_, QStringList(modelName));
  root->setIcon(0, Artwork::icon("tree-radio"));
  const QIcon area = Artwork::icon("tree-area");
  for (const Entry& entry : kEntries) {
    auto* child = new QTreeWidgetItem(root, QStringList(qtText(entry.text)));
    child->setIcon(0, area);
    child->setData(0, kCommandRole, entry.command);
  }
  root->setExpanded(true);
}

void CTreeViewBar::openItem(QTreeWidgetItem* item) {
  if (!item) return;
  const QVariant command = item->data(0, kCommandRole);
  if (command.isValid()) emit commandRequested(command.toInt());
}

void CTreeViewBar::focusInEvent(QFocusEvent* event) {
  QDockWidget::focusInEvent(event);
  tree_->setFocus();
}

bool CTreeViewBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_->viewport() && event->type() == QEvent::MouseButtonPress) {
    // Both buttons select the item under the pointer before the press is handled.
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (QTreeWidgetItem* item = tree_->itemAt(mouse->position().toPoint())) tree_->setCurrentItem(item);
  } else if (watched == tree_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      openItem(tree_->currentItem());
      return true;
    case Qt::Key_Escape:
      if (isVisible()) emit hideRequested();
      return true;
    case Qt::Key_F1:
      emit helpRequested(kHelpContext);
      return true;
    case Qt::Key_Alt:
      // A floating bar is a window of its own: Alt reaches the main menu through the main window.
      if (isFloating()) {
        emit menuKeyPressed();
        return true;
      }
      break;
    default:
      break;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}

} // namespace vpr
