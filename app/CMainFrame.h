#pragma once
// The main window: the multiple-document area holding the editing views, the menus, toolbar,
// status bar and tree view bar, and the routing of every command to the code that carries it out.

#include "app/CPrintListDlg.h"
#include "app/HelpCallback.h"
#include "model/RadioImage.h"
#include "views/ViewKind.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace vpr {

class CAppSettings;
class CRPSView;
class DataFileFlows;
class InterchangeFlows;
class CImageView;
class CRPSDoc;
class CTreeViewBar;
class UserInterface;
struct WindowPlacement;

class CMainFrame : public QMainWindow {
  Q_OBJECT
public:
  // ui answers the questions of the data-file flows and the close sequence; settings receives
  // "LastWinPos" when the window closes.
  // Shown for a command whose part is not in this build.
  static constexpr int kNotAvailableText = 10026901;
  // The Undo and Redo items: without a step, and naming the step ("Undo %s").
  static constexpr int kTextUndo = 10064001;
  static constexpr int kTextUndoStep = 10064002;
  static constexpr int kTextRedo = 10064003;
  static constexpr int kTextRedoStep = 10064004;
  // The name of a change that reached the image without naming itself.
  static constexpr int kTextUnnamedStep = 10064015;
  // No web browser took the manual.
  static constexpr int kNoBrowserText = 10061011;

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
  // Opens a data file given on the command line as Open does, without asking for it; a file that
  // does not load is reported and the start-up image stays. True when it was opened.
  bool openFileAtStart(const QString& path);
  // Rewrites the port pane ("COM%d") with the radio link's port number.
  void updatePortPane();
  // The data folder; radio backups go to its Backups folder. Without one, the default data
  // folder below the user's documents folder.
  void setDataFolder(const QString& folder) { dataFolder_ = folder; }
  std::string dataFolder() const;
  std::string backupFolder() const;

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

  QMdiArea* mdiArea() const { return mdi_; }
  CTreeViewBar* treeBar() const { return treeBar_; }
  QAction* action(int command) const;
  QMenu* windowMenu() const { return windowMenu_; }
  QLabel* portPane() const { return portPane_; }
  QLabel* datePane() const { return datePane_; }
  QLabel* timePane() const { return timePane_; }
  CImageView* viewOf(ViewKind kind) const;
  // Printing, preview and PDF export of the working image; the test mode prints through it too.
  CRPSView& printing() const { return *printing_; }
  // The Print Out List dialog while it is open, and the preview of the Print Preview command
  // while it is open.
  CPrintListDlg* printList() const { return printList_; }
  QWidget* menuPreview() const { return menuPreview_; }

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
  // Tile Horizontally stacks the child windows one above the other (Qt::Vertical), Tile
  // Vertically puts them side by side (Qt::Horizontal).
  void tileWindows(Qt::Orientation direction);
  // Lines the minimised child windows up along the bottom of the client area.
  void arrangeMinimisedWindows();
  void updateWindowMenu();
  void fillWindowList();
  void toggleTreeBar(bool focusWhenShown);
  void showTreeBar();
  void showNotAvailable();
  // Texts and enabled state of Undo and Redo from the history.
  void updateUndoActions();
  // Edit > Undo or Redo: one step back or forward, then the title and the open views follow.
  void undoOrRedo(bool undo);
  // Program > Memory Map: a commit is one undo step, and the views reload.
  void openMemoryMap();
  // Whether a key pressed in a text field is Undo or Redo of the image rather than of the field:
  // the field has nothing of its own to take back or do again.
  bool isDocumentUndoKey(QObject* watched, const QKeyEvent* key) const;
  // After the image changed in place (undo, redo, memory map): menus and tree when the model
  // changed, the title, and every open view.
  void showChangedImage(const ModelCode& modelBefore);
  void showWarning(int textId);
  void showHelpFor(int context);
  int focusedHelpContext() const;

  // Commands that replace the working image.
  void fileNew();
  void fileOpen();
  void readFromRadio();
  void writeToRadio();
  void writeToSeveralRadios();
  // Command 40064: the test mode of the connected radio.
  void testMode();
  // Compare the working image with a data file or the radio, and restore a radio backup.
  void compareWithFile();
  void compareWithRadio();
  void showComparison(const std::string& other, const RadioImage& image);
  void restoreBackup();
  // Reads a data file's image; a file that does not load is reported and gives false.
  bool loadImageFile(const std::string& path, RadioImage& image);
  void modelInformation();
  void communicationPort();
  void about();
  // Print and Export as PDF: the Print Out List dialog, unless it is already open.
  void openPrintList(CPrintListDlg::Purpose purpose);
  // Print Preview: every section, without asking.
  void previewEverything();
  // Opens the manual at a context: handed to the dialogs.
  HelpCallback helpCallback();
  // The data-file commands with this window's questions and its way of closing the views.
  DataFileFlows dataFileFlows();
  // Export and import of the configuration (YAML) and of channel lists (CSV).
  InterchangeFlows interchangeFlows();
  // After Open, Read or a model change: menus, title and the channel information view.
  void showReplacedImage();

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
  CPrintListDlg* printList_ = nullptr;
  QPointer<QWidget> menuPreview_;
  QString dataFolder_;
};

} // namespace vpr
