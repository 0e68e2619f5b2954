#pragma once
// The main window: the multiple-document area holding the editing views, the menus, toolbar,
// status bar and tree view bar, the window's title and placement, and the close sequence. Every
// command goes through the command table to the command file of its subject (files, printing,
// editing, the radio, windows, help); this window decides nothing about what a command does.

#include "app/CommandTable.h"
#include "app/HelpCallback.h"
#include "model/RadioImage.h"
#include "views/ViewKind.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace vpr {

class CAppSettings;
class CImageView;
class CPrintListDlg;
class CRPSDoc;
class CRPSView;
class CTreeViewBar;
class DataFileFlows;
class EditCommands;
class FileCommands;
class HelpCommands;
class PrintCommands;
class RadioCommands;
class UserInterface;
class WindowCommands;
struct WindowPlacement;

class CMainFrame : public QMainWindow {
  Q_OBJECT
public:
  // Shown for a command whose part is not in this build.
  static constexpr int kNotAvailableText = 10026901;

  // ui answers the questions of the commands and the close sequence; settings receives
  // "LastWinPos" when the window closes.
  CMainFrame(UserInterface& ui, CAppSettings& settings, bool demonstrationMode, int colourDepth = 32);
  ~CMainFrame() override;

  // Runs a command as the menus, toolbar, accelerators and tree view bar do.
  void onCommand(int command);
  // Posts a command to the main window and takes the focus (the tree view bar's message 1039).
  void postCommand(int command);

  // Rebuilds the window title from the model, band, wide/narrow setting and file name.
  void updateTitle();
  // The title as updateTitle sets it.
  QString titleText() const;
  // Sets the menu texts from the text table; the Window menu is present only while a child
  // window is open.
  void localiseMenus();
  // Closes every child window without asking the views, and hides the tree view bar.
  void closeAllWindows();
  // Opens the view of the kind, or activates it when it is open.
  CImageView* openView(ViewKind kind);
  // Every open editing view reloads its fields from the working image.
  void reloadViews();
  // Stores what the user typed into an open view but has not committed yet, so that saving,
  // sending or replacing the image (and its save-changes prompt) sees the entry.
  void commitPendingEdits();
  // After Open, Read or a model change: menus, title and the channel information view.
  void showReplacedImage();
  // After the image changed in place (undo, redo, memory map): menus and tree when the model
  // changed, the title, and every open view.
  void showChangedImage(const ModelCode& modelBefore);
  // Opens a data file given on the command line as Open does, without asking for it; a file that
  // does not load is reported and the start-up image stays. True when it was opened.
  bool openFileAtStart(const QString& path);
  // Rewrites the port pane ("COM%d") with the radio link's port number.
  void updatePortPane();
  // The data folder; radio backups go to its Backups folder. Empty for the default data folder
  // below the user's documents folder.
  void setDataFolder(const QString& folder) { dataFolder_ = folder; }
  const QString& dataFolder() const { return dataFolder_; }

  // Applies a stored placement (its show state included) or shows the window maximised.
  void applyPlacement(const WindowPlacement* placement);
  // The placement to store: a minimised window is stored as it would be restored.
  WindowPlacement currentPlacement() const;

  // Where views come from: the views library by default; tests put their own views here.
  using ViewFactory = std::function<CImageView*(ViewKind, QWidget*)>;
  void setViewFactory(ViewFactory factory) { viewFactory_ = std::move(factory); }

  // Show the splash window over this window (done once at start-up).
  void showSplash();
  // The same, once this window has been put on the screen and painted.
  void showSplashWhenExposed();

  // What the commands work with: the person at the screen, the settings, the demonstration mode.
  UserInterface& ui() const { return ui_; }
  CAppSettings& settings() const { return settings_; }
  bool demonstrationMode() const { return demonstrationMode_; }
  // The data-file flows with this window's questions and its way of closing the views.
  DataFileFlows dataFileFlows();
  // Opens the manual at a context; helpCallback hands that to the dialogs.
  void showHelpFor(int context);
  HelpCallback helpCallback();
  // A warning box with a text of the text table.
  void showWarning(int textId);

  QMdiArea* mdiArea() const { return mdi_; }
  // The tree view bar, made when first asked for: it starts hidden, so start-up does not build it.
  CTreeViewBar* treeBar();
  QToolBar* toolBar() const { return toolBar_; }
  QAction* action(int command) const;
  const CommandTable& commands() const { return commands_; }
  QMenu* windowMenu() const { return windowMenu_; }
  QLabel* portPane() const { return portPane_; }
  QLabel* datePane() const { return datePane_; }
  QLabel* timePane() const { return timePane_; }
  CImageView* viewOf(ViewKind kind) const;
  // Printing, preview and PDF export of the working image; the test mode prints through it too.
  CRPSView& printing() const { return *printing_; }
  // The Print Out List dialog while it is open, and the preview of the Print Preview command
  // while it is open.
  CPrintListDlg* printList() const;
  QWidget* menuPreview() const;

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void createTreeBar();
  void refreshClock();
  void updateWindowMenu();
  void fillWindowList();
  int focusedHelpContext() const;

  UserInterface& ui_;
  CAppSettings& settings_;
  bool demonstrationMode_;
  int colourDepth_;
  std::unique_ptr<CRPSDoc> document_;
  QMdiArea* mdi_ = nullptr;
  CTreeViewBar* treeBar_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* portPane_ = nullptr;
  QLabel* datePane_ = nullptr;
  QLabel* timePane_ = nullptr;
  QTimer clock_;
  std::map<int, QAction*> actions_;
  QMenu* windowMenu_ = nullptr;
  QAction* windowMenuAction_ = nullptr;
  QAction* helpMenuAction_ = nullptr;
  std::map<int, QMenu*> menus_;
  ViewFactory viewFactory_;
  bool closeConfirmed_ = false;
  bool splashPending_ = false;
  CRPSView* printing_ = nullptr;
  QString dataFolder_;
  CommandTable commands_;
  std::unique_ptr<FileCommands> fileCommands_;
  std::unique_ptr<PrintCommands> printCommands_;
  std::unique_ptr<EditCommands> editCommands_;
  std::unique_ptr<RadioCommands> radioCommands_;
  std::unique_ptr<WindowCommands> windowCommands_;
  std::unique_ptr<HelpCommands> helpCommands_;
};

} // namespace vpr
