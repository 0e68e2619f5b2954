#pragma once
// The tree view bar: a docking panel at the left or right of the main window listing the
// editing areas of the radio in hand under the model name. Choosing an entry asks the main
// window to run that entry's command.

#include <QDockWidget>
#include <QTreeWidget>

namespace vpr {

class CTreeViewBar : public QDockWidget {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x81000;
  static constexpr int kDefaultWidth = 270;
  static constexpr int kDefaultHeight = 500;

  explicit CTreeViewBar(QWidget* parent);

  // Rebuilds the tree: the model name as the root, the four editing areas under it.
  void refreshTree(const QString& modelName);
  QTreeWidget* tree() const { return tree_; }
  // Sets the caption from the text table.
  void localise();
  QSize sizeHint() const override { return {kDefaultWidth, kDefaultHeight}; }

signals:
  // An entry was opened: the main window posts the command to itself (the bar's message 1039).
  void commandRequested(int command);
  // Escape in the tree: the main window hides the bar as its Tree View command does.
  void hideRequested();
  // F1 in the tree.
  void helpRequested(int context);
  // Alt while the bar floats: the main window hands the key to its menu bar.
  void menuKeyPressed();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

private:
  void openItem(QTreeWidgetItem* item);

  QTreeWidget* tree_;
};

} // namespace vpr
