#include "app/CMainFrame.h"

#include "app/CAboutDlg.h"
#include "app/CAppSettings.h"
#include "app/CChInfoFrm.h"
#include "app/CChildFrame.h"
#include "app/CComPortDlg.h"
#include "app/CCompareDlg.h"
#include "app/CHelpSystem.h"
#include "app/CHelpWindow.h"
#include "app/CMemoryMapDlg.h"
#include "app/CModelInfoDlg.h"
#include "app/COptionsDlg.h"
#include "app/CPrintListDlg.h"
#include "app/CRPSDoc.h"
#include "app/CRPSView.h"
#include "app/CReadDlg.h"
#include "app/CRestoreDlg.h"
#include "app/CSplashWnd.h"
#include "app/CTestModeDlg.h"
#include "app/CTreeViewBar.h"
#include "app/CWriteDlg.h"
#include "app/CommandIds.h"
#include "app/ScreenFit.h"
#include "app/ViewFrameSetup.h"
#include "lang/TextFormat.h"
#include "lang/UserInterface.h"
#include "link/CRadioComm.h"
#include "link/RadioTransfer.h"
#include "model/CurrentFile.h"
#include "model/DataFileFlows.h"
#include "model/ImageCompare.h"
#include "model/InterchangeFlows.h"
#include "model/LocalTime.h"
#include "model/MemoryMap.h"
#include "model/RadioBackups.h"
#include "model/RadioData.h"
#include "views/CImageView.h"
#include "views/QtText.h"
#include "views/ViewFactory.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QStatusBar>
#include <QWindow>

#include <ctime>

// The artwork is compiled into the library; its resources are registered before first use.
static void registerArtwork() {
  Q_INIT_RESOURCE(vpr40t);
}

namespace vpr {

namespace {

struct CommandInfo {
  int command;
  int text;        // menu text, 0 for none
  int helpContext; // -1 for none
  const char* icon;
};

// The commands of the menus and toolbar with their menu texts and help contexts.
constexpr CommandInfo kCommands[] = {
    {cmd::FileNew, 10003101, 0x11000, "new"},
    {cmd::FileOpen, 10003102, 0x12000, "open"},
    {cmd::FileSave, 10003103, 0x13000, "save"},
    {cmd::FileSaveAs, 10003104, 0x14000, nullptr},
    {cmd::FileCompareFile, 10065031, 0x19000, nullptr},
    {cmd::FileCompareRadio, 10065032, 0x1A000, nullptr},
    {cmd::FileRestoreBackup, 10065033, 0x18000, nullptr},
    {cmd::ExportConfiguration, 10066110, 0x1B000, nullptr},
    {cmd::ImportConfiguration, 10066111, 0x1B000, nullptr},
    {cmd::ExportChannels, 10066112, 0x1C000, nullptr},
    {cmd::ImportChannels, 10066113, 0x1C000, nullptr},
    {cmd::FilePrint, 10003105, 0x15000, "print"},
    {cmd::FilePrintPreview, 10003106, 0x16000, nullptr},
    {cmd::FileExportPdf, 10063004, 0x15000, nullptr},
    {cmd::AppExit, 10003108, 0x17000, nullptr},
    {cmd::ModelInformation, 10003201, 0x20000, nullptr},
    {cmd::EditUndo, 10064001, 0x35000, "undo"},
    {cmd::EditRedo, 10064003, 0x35000, "redo"},
    {cmd::ChannelInformation, 10003314, 0x31000, nullptr},
    {cmd::OptionalFeatures, 10003302, 0x33000, nullptr},
    {cmd::KeyAssignment, 10003301, 0x32000, nullptr},
    {cmd::TestFrequency, 10003307, 0x34000, nullptr},
    {cmd::ReadData, 10003401, 0x51000, "read"},
    {cmd::WriteData, 10003402, 0x52000, "write"},
    {cmd::TestMode, 10003403, 0x53000, nullptr},
    {cmd::MemoryMap, 10003405, 0x54000, nullptr},
    {cmd::CommunicationPort, 10003601, 0x71000, nullptr},
    {cmd::SetupOptions, 10065040, 0x72000, nullptr},
    {cmd::TreeView, 10003701, 0x81000, nullptr},
    {cmd::ToolBar, 10003702, 0x82000, nullptr},
    {cmd::StatusBar, 10003703, 0x83000, nullptr},
    {cmd::WindowCascade, 10003801, 0x91000, nullptr},
    {cmd::WindowTileHorizontal, 10003802, 0x92000, nullptr},
    {cmd::WindowTileVertical, 10003803, 0x93000, nullptr},
    {cmd::WindowArrange, 10003804, 0x94000, nullptr},
    {cmd::CloseAllWindows, 10003805, 0x95000, nullptr},
    {cmd::HelpTopics, 10003901, -1, nullptr},
    {cmd::HelpInBrowser, 10061009, -1, nullptr},
    {cmd::About, 10003902, -1, "about"},
    {cmd::FocusTreeView, 0, -1, nullptr},
};

const CommandInfo* infoOf(int command) {
  for (const CommandInfo& info : kCommands)
    if (info.command == command) return &info;
  return nullptr;
}

constexpr int kSeparator = 0;
constexpr int kTextTheRadio = 10065045;
constexpr int kTextWriteRestored = 10065041;

struct MenuInfo {
  int text;
  std::initializer_list<int> items; // kSeparator between groups
};

const MenuInfo kFileMenu{10003001,
                         {cmd::FileNew, cmd::FileOpen, cmd::FileSave, cmd::FileSaveAs, kSeparator,
                          cmd::FileCompareFile, cmd::FileCompareRadio, cmd::FileRestoreBackup, kSeparator,
                          cmd::ExportConfiguration, cmd::ImportConfiguration, cmd::ExportChannels,
                          cmd::ImportChannels, kSeparator, cmd::FilePrint, cmd::FilePrintPreview,
                          cmd::FileExportPdf, kSeparator, cmd::AppExit}};
const MenuInfo kModelMenu{10003002, {cmd::ModelInformation}};
const MenuInfo kEditMenu{10003003,
                         {cmd::EditUndo, cmd::EditRedo, kSeparator, cmd::ChannelInformation, kSeparator,
                          cmd::OptionalFeatures, cmd::KeyAssignment, kSeparator, cmd::TestFrequency}};
const MenuInfo kProgramMenu{10003004, {cmd::ReadData, cmd::WriteData, cmd::TestMode, cmd::MemoryMap}};
const MenuInfo kSetupMenu{10003006, {cmd::CommunicationPort, cmd::SetupOptions}};
const MenuInfo kViewMenu{10003007, {cmd::TreeView, kSeparator, cmd::ToolBar, cmd::StatusBar}};
const MenuInfo kWindowMenu{10003008,
                           {cmd::WindowCascade, cmd::WindowTileHorizontal, cmd::WindowTileVertical,
                            cmd::WindowArrange, kSeparator, cmd::CloseAllWindows}};
const MenuInfo kHelpMenu{10003009, {cmd::HelpTopics, cmd::HelpInBrowser, kSeparator, cmd::About}};

struct ToolInfo {
  int command;
  int tooltip; // 0: the tooltip follows the item's text
};
constexpr ToolInfo kToolButtons[] = {
    {cmd::FileNew, 10005001},  {cmd::FileOpen, 10005002},  {cmd::FileSave, 10005003},
    {kSeparator, 0},           {cmd::EditUndo, 0},         {cmd::EditRedo, 0},
    {kSeparator, 0},           {cmd::FilePrint, 10005004}, {kSeparator, 0},
    {cmd::ReadData, 10005005}, {cmd::WriteData, 10005006}, {kSeparator, 0},
    {cmd::About, 10001009},
};

struct ViewInfo {
  int command;
  ViewKind kind;
};
constexpr ViewInfo kViews[] = {
    {cmd::ChannelInformation, ViewKind::ChannelInfo},
    {cmd::OptionalFeatures, ViewKind::Features},
    {cmd::KeyAssignment, ViewKind::Keys},
    {cmd::TestFrequency, ViewKind::TestFrequencies},
};

QString localTime(const char* format) {
  return QString::fromLocal8Bit(localTimeText(std::time(nullptr), format));
}

} // namespace

CMainFrame::CMainFrame(UserInterface& ui, CAppSettings& settings, bool demonstrationMode, int colourDepth)
    : ui_(ui), settings_(settings), demonstrationMode_(demonstrationMode), colourDepth_(colourDepth),
      viewFactory_(&createView) {
  registerArtwork();
  setObjectName(QStringLiteral("mainFrame"));
  QIcon icon;
  for (int size : {16, 32, 48, 256})
    icon.addFile(QStringLiteral(":/vpr40t/icons/vpr40t-%1.png").arg(size), QSize(size, size));
  // The program's icon for every window of it: this one, the dialogs and the About box.
  QApplication::setWindowIcon(icon);
  printing_ = new CRPSView(radioData(), ui_, this);
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
  mdi_->setBackground(QColor(0x8c, 0x9a, 0xa8));
  setCentralWidget(mdi_);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { updateWindowMenu(); });

  createActions();
  createMenus();
  createToolBar();
  createStatusBar();
  createTreeBar();
  localiseMenus();
  updateTitle();
  updatePortPane();
  refreshClock();
  clock_.setInterval(1000);
  connect(&clock_, &QTimer::timeout, this, &CMainFrame::refreshClock);
  clock_.start();
  // The memory map shows and edits the working image; configured once for the program.
  MemoryMap::Configuration memoryMapSetup;
  memoryMapSetup.source = radioData().editImage;
  memoryMap().configure(memoryMapSetup);
  // The Undo and Redo items follow the history of the working image.
  radioData().history().setOnChange([this] { updateUndoActions(); });
  // Sees the port pane's double-click, F1 in the menus and Ctrl+Tab in the child windows.
  qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(this);
  radioData().history().setOnChange({});
  // The child widgets are torn down after this window's members and signal as they go (a dock
  // reports that it became hidden): none of them may call back into this window any more.
  const auto descendants = findChildren<QObject*>();
  for (QObject* object : descendants)
    QObject::disconnect(object, nullptr, this, nullptr);
}

void CMainFrame::createActions() {
  for (const CommandInfo& info : kCommands) {
    auto* action = new QAction(this);
    action->setData(info.command);
    if (info.icon)
      action->setIcon(QIcon(QStringLiteral(":/vpr40t/icons/%1.png").arg(QLatin1String(info.icon))));
    const int command = info.command;
    connect(action, &QAction::triggered, this, [this, command] { onCommand(command); });
    actions_[command] = action;
  }
  const auto shortcut = [this](int command, std::initializer_list<QKeySequence> keys) {
    actions_[command]->setShortcuts(QList<QKeySequence>(keys));
  };
  shortcut(cmd::FileNew, {QKeySequence(Qt::CTRL | Qt::Key_N)});
  shortcut(cmd::FileOpen, {QKeySequence(Qt::CTRL | Qt::Key_O)});
  shortcut(cmd::FileSave, {QKeySequence(Qt::CTRL | Qt::Key_S)});
  shortcut(cmd::FilePrint, {QKeySequence(Qt::CTRL | Qt::Key_P)});
  shortcut(cmd::ReadData, {QKeySequence(Qt::CTRL | Qt::Key_R)});
  shortcut(cmd::WriteData, {QKeySequence(Qt::CTRL | Qt::Key_W)});
  shortcut(cmd::TestMode, {QKeySequence(Qt::CTRL | Qt::Key_T)});
  shortcut(cmd::MemoryMap, {QKeySequence(Qt::CTRL | Qt::Key_M)});
  shortcut(cmd::EditUndo, {QKeySequence(Qt::CTRL | Qt::Key_Z)});
  shortcut(cmd::EditRedo,
           {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  shortcut(cmd::TreeView,
           {QKeySequence(Qt::CTRL | Qt::Key_0),
            QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_0))});
  shortcut(cmd::FocusTreeView,
           {QKeySequence(Qt::ALT | Qt::Key_0),
            QKeySequence(QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_0))});
  for (int command : {cmd::TreeView, cmd::ToolBar, cmd::StatusBar})
    actions_[command]->setCheckable(true);
  actions_[cmd::ToolBar]->setChecked(true);
  actions_[cmd::StatusBar]->setChecked(true);
  // The accelerator-only command lives on the window itself.
  addAction(actions_[cmd::FocusTreeView]);
}

void CMainFrame::createMenus() {
  const auto build = [this](const MenuInfo& info) {
    auto* menu = new QMenu(this);
    for (int item : info.items) {
      if (item == kSeparator)
        menu->addSeparator();
      else
        menu->addAction(actions_[item]);
    }
    menus_[info.text] = menu;
    return menu;
  };
  for (const MenuInfo* info : {&kFileMenu, &kModelMenu, &kEditMenu, &kProgramMenu, &kSetupMenu, &kViewMenu})
    menuBar()->addMenu(build(*info));
  windowMenu_ = build(kWindowMenu);
  windowMenu_->addSeparator();
  connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::fillWindowList);
  helpMenuAction_ = menuBar()->addMenu(build(kHelpMenu));
}

void CMainFrame::createToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setMovable(true);
  toolBar_->setIconSize(QSize(24, 24));
  for (const ToolInfo& tool : kToolButtons) {
    if (tool.command == kSeparator)
      toolBar_->addSeparator();
    else
      toolBar_->addAction(actions_[tool.command]);
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
  connect(toolBar_, &QToolBar::visibilityChanged, actions_[cmd::ToolBar], &QAction::setChecked);
}

void CMainFrame::createStatusBar() {
  portPane_ = new QLabel(this);
  portPane_->setObjectName(QStringLiteral("portPane"));
  portPane_->setMinimumWidth(portPane_->fontMetrics().horizontalAdvance(QStringLiteral("COM20 ")) + 12);
  datePane_ = new QLabel(this);
  datePane_->setObjectName(QStringLiteral("datePane"));
  timePane_ = new QLabel(this);
  timePane_->setObjectName(QStringLiteral("timePane"));
  for (QLabel* pane : {portPane_, datePane_, timePane_}) {
    pane->setAlignment(Qt::AlignCenter);
    pane->setContentsMargins(6, 0, 6, 0);
  }
  statusBar()->addWidget(portPane_);
  statusBar()->addPermanentWidget(datePane_);
  statusBar()->addPermanentWidget(timePane_);
}

void CMainFrame::createTreeBar() {
  treeBar_ = new CTreeViewBar(this);
  addDockWidget(Qt::LeftDockWidgetArea, treeBar_);
  resizeDocks({treeBar_}, {CTreeViewBar::kDefaultWidth}, Qt::Horizontal);
  treeBar_->hide();
  connect(treeBar_, &CTreeViewBar::commandRequested, this, &CMainFrame::postCommand);
  connect(treeBar_, &CTreeViewBar::hideRequested, this, [this] {
    QMetaObject::invokeMethod(
        this, [this] { onCommand(cmd::TreeView); }, Qt::QueuedConnection);
  });
  connect(treeBar_, &CTreeViewBar::helpRequested, this, &CMainFrame::showHelpFor);
  connect(treeBar_, &CTreeViewBar::menuKeyPressed, this, [this] {
    activateWindow();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &press);
    QCoreApplication::sendEvent(this, &release);
  });
  connect(treeBar_, &QDockWidget::visibilityChanged, this,
          [this] { actions_[cmd::TreeView]->setChecked(!treeBar_->isHidden()); });
}

QAction* CMainFrame::action(int command) const {
  const auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::localiseMenus() {
  for (const CommandInfo& info : kCommands)
    if (info.text) actions_[info.command]->setText(qtText(info.text));
  for (auto& [text, menu] : menus_)
    menu->setTitle(qtText(text));
  for (const ToolInfo& tool : kToolButtons)
    if (tool.command != kSeparator && tool.tooltip) actions_[tool.command]->setToolTip(qtText(tool.tooltip));
  updateUndoActions();
  treeBar_->localise();
  updateWindowMenu();
}

void CMainFrame::updateWindowMenu() {
  const bool childOpen = !mdi_->subWindowList().isEmpty();
  if (childOpen && !windowMenuAction_) {
    windowMenuAction_ = menuBar()->insertMenu(helpMenuAction_, windowMenu_);
  } else if (!childOpen && windowMenuAction_) {
    menuBar()->removeAction(windowMenuAction_);
    windowMenuAction_ = nullptr;
  }
}

void CMainFrame::fillWindowList() {
  // Everything after the last fixed item is the list of open child windows.
  const QList<QAction*> all = windowMenu_->actions();
  const qsizetype fixed = static_cast<qsizetype>(kWindowMenu.items.size()) + 1;
  for (qsizetype i = fixed; i < all.size(); ++i) {
    windowMenu_->removeAction(all[i]);
    delete all[i];
  }
  int number = 1;
  for (QMdiSubWindow* window : mdi_->subWindowList()) {
    QAction* item = windowMenu_->addAction(QStringLiteral("&%1 %2").arg(number++).arg(window->windowTitle()));
    item->setCheckable(true);
    item->setChecked(window == mdi_->activeSubWindow());
    connect(item, &QAction::triggered, this, [this, window] { mdi_->setActiveSubWindow(window); });
  }
}

void CMainFrame::tileWindows(Qt::Orientation direction) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : mdi_->subWindowList())
    if (!window->isMinimized()) windows.append(window);
  if (windows.isEmpty()) return;
  const QRect area = mdi_->viewport()->rect();
  const auto count = static_cast<int>(windows.size());
  for (int i = 0; i < count; ++i) {
    QRect cell;
    if (direction == Qt::Vertical)
      cell = QRect(0, area.height() * i / count, area.width(), area.height() / count);
    else
      cell = QRect(area.width() * i / count, 0, area.width() / count, area.height());
    windows[i]->showNormal();
    windows[i]->setGeometry(cell);
  }
}

void CMainFrame::arrangeMinimisedWindows() {
  int x = 0;
  const int bottom = mdi_->viewport()->height();
  for (QMdiSubWindow* window : mdi_->subWindowList()) {
    if (!window->isMinimized()) continue;
    window->move(x, bottom - window->height());
    x += window->width();
  }
}

void CMainFrame::refreshClock() {
  datePane_->setText(localTime("%x"));
  timePane_->setText(localTime("%X"));
}

void CMainFrame::updatePortPane() {
  const int port = g_radioComm.PortNumber();
  portPane_->setText(QStringLiteral("COM%1").arg(port));
  // The device behind the port number, for the user who looks for the cable.
  portPane_->setToolTip(QString::fromStdString(g_radioComm.PortPath(port)));
}

QString CMainFrame::titleText() const {
  QString title = QStringLiteral("VPR-40T  [ %1  %2] [ %3 : %4 ]")
                      .arg(QString::fromStdString(radioData().titleText()),
                           qtText(radioData().narrowSetting() == 1 ? 10031051 : 10031050), qtText(10007002),
                           QString::fromStdString(currentFile().fileName()));
  if (demonstrationMode_) title += QString(10, QLatin1Char(' ')) + qtText(10001014);
  return title;
}

void CMainFrame::updateTitle() {
  setWindowTitle(titleText());
}

CImageView* CMainFrame::viewOf(ViewKind kind) const {
  for (QMdiSubWindow* window : mdi_->subWindowList()) {
    if (window->property("viewKind").toInt() == static_cast<int>(kind)) return viewInFrame(window);
  }
  return nullptr;
}

CImageView* CMainFrame::openView(ViewKind kind) {
  for (QMdiSubWindow* window : mdi_->subWindowList()) {
    if (window->property("viewKind").toInt() == static_cast<int>(kind)) {
      mdi_->setActiveSubWindow(window);
      return viewInFrame(window);
    }
  }
  CImageView* view = viewFactory_(kind, nullptr);
  if (!view) {
    showNotAvailable();
    return nullptr;
  }
  if (!document_) document_ = std::make_unique<CRPSDoc>();
  QMdiSubWindow* frame = nullptr;
  if (kind == ViewKind::ChannelInfo)
    frame = new CChInfoFrm(view);
  else
    frame = new CChildFrame(view);
  frame->setProperty("viewKind", static_cast<int>(kind));
  frame->setWindowIcon(QIcon(QStringLiteral(":/vpr40t/icons/tree-area.png")));
  mdi_->addSubWindow(frame);
  connect(view, &CImageView::titleMayHaveChanged, this, &CMainFrame::updateTitle);
  connect(view, &CImageView::helpRequested, this, &CMainFrame::showHelpFor);
  connect(frame, &QObject::destroyed, this,
          [this] { QTimer::singleShot(0, this, [this] { updateWindowMenu(); }); });
  if (kind == ViewKind::ChannelInfo) frame->move(0, 0);
  frame->show();
  view->setFocus();
  localiseMenus();
  return view;
}

void CMainFrame::reloadViews() {
  for (QMdiSubWindow* window : mdi_->subWindowList())
    if (CImageView* view = viewInFrame(window)) view->reloadFromImage();
}

void CMainFrame::commitPendingEdits() {
  for (QMdiSubWindow* window : mdi_->subWindowList())
    if (CImageView* view = viewInFrame(window)) view->commitPendingEdit();
}

void CMainFrame::closeAllWindows() {
  CChildFrame::setClosingAll(true);
  for (QMdiSubWindow* window : mdi_->subWindowList()) {
    window->close();
    // Frames are deleted on close; finish that now so that a new view of the same kind can open.
    delete window;
  }
  if (!treeBar_->isHidden()) treeBar_->hide();
  CChildFrame::setClosingAll(false);
  updateWindowMenu();
}

void CMainFrame::postCommand(int command) {
  QMetaObject::invokeMethod(
      this, [this, command] { onCommand(command); }, Qt::QueuedConnection);
  activateWindow();
  setFocus();
}

void CMainFrame::toggleTreeBar(bool focusWhenShown) {
  if (!treeBar_->isHidden()) {
    if (focusWhenShown)
      treeBar_->tree()->setFocus();
    else
      treeBar_->hide();
    return;
  }
  showTreeBar();
}

void CMainFrame::showTreeBar() {
  treeBar_->show();
  treeBar_->refreshTree(QString::fromStdString(radioData().modelNameText()));
  treeBar_->tree()->setFocus();
  actions_[cmd::TreeView]->setChecked(true);
}

void CMainFrame::onCommand(int command) {
  for (const ViewInfo& info : kViews) {
    if (info.command == command) {
      openView(info.kind);
      return;
    }
  }
  switch (command) {
  case cmd::FileNew:
  case cmd::FileOpen:
  case cmd::FileSave:
  case cmd::FileSaveAs:
  case cmd::ExportConfiguration:
  case cmd::ImportConfiguration:
  case cmd::ExportChannels:
  case cmd::ImportChannels:
  case cmd::ReadData:
  case cmd::WriteData:
  case cmd::TestMode:
  case cmd::ModelInformation:
  case cmd::FileCompareFile:
  case cmd::FileCompareRadio:
  case cmd::FileRestoreBackup:
    commitPendingEdits();
    break;
  default:
    break;
  }
  switch (command) {
  case cmd::FileNew:
    fileNew();
    break;
  case cmd::FileOpen:
    fileOpen();
    break;
  case cmd::FileSave:
    dataFileFlows().saveDataFile();
    break;
  case cmd::FileSaveAs:
    if (dataFileFlows().saveDataFileAs()) updateTitle();
    break;
  case cmd::ExportConfiguration:
    interchangeFlows().exportConfiguration();
    break;
  case cmd::ImportConfiguration:
    if (!dataFileFlows().promptSaveChanges() && interchangeFlows().importConfiguration()) showReplacedImage();
    break;
  case cmd::ExportChannels:
    interchangeFlows().exportChannels();
    break;
  case cmd::ImportChannels:
    interchangeFlows().importChannels();
    break;
  case cmd::AppExit:
    QTimer::singleShot(0, this, &QWidget::close);
    break;
  case cmd::ModelInformation:
    modelInformation();
    break;
  case cmd::ReadData:
    readFromRadio();
    break;
  case cmd::WriteData:
    writeToRadio();
    break;
  case cmd::TestMode:
    testMode();
    break;
  case cmd::CommunicationPort:
    communicationPort();
    break;
  case cmd::SetupOptions:
    COptionsDlg::run(this, settings_, helpCallback());
    break;
  case cmd::FileCompareFile:
    compareWithFile();
    break;
  case cmd::FileCompareRadio:
    compareWithRadio();
    break;
  case cmd::FileRestoreBackup:
    restoreBackup();
    break;
  case cmd::TreeView:
    toggleTreeBar(false);
    break;
  case cmd::FocusTreeView:
    toggleTreeBar(true);
    break;
  case cmd::ToolBar:
    toolBar_->setVisible(toolBar_->isHidden());
    break;
  case cmd::StatusBar:
    statusBar()->setVisible(statusBar()->isHidden());
    actions_[cmd::StatusBar]->setChecked(!statusBar()->isHidden());
    break;
  case cmd::WindowCascade:
    mdi_->cascadeSubWindows();
    break;
  case cmd::WindowTileHorizontal:
    tileWindows(Qt::Vertical);
    break;
  case cmd::WindowTileVertical:
    tileWindows(Qt::Horizontal);
    break;
  case cmd::WindowArrange:
    arrangeMinimisedWindows();
    break;
  case cmd::CloseAllWindows:
    closeAllWindows();
    break;
  case cmd::HelpTopics:
    showHelpFor(0);
    break;
  case cmd::HelpInBrowser:
    if (!CHelpSystem::openInBrowser(0)) showWarning(kNoBrowserText);
    break;
  case cmd::About:
    about();
    break;
  case cmd::EditUndo:
  case cmd::EditRedo:
    undoOrRedo(command == cmd::EditUndo);
    break;
  case cmd::FilePrint:
  case cmd::FilePrintAlt:
    openPrintList(CPrintListDlg::Purpose::Print);
    break;
  case cmd::FileExportPdf:
    openPrintList(CPrintListDlg::Purpose::ExportPdf);
    break;
  case cmd::FilePrintPreview:
    previewEverything();
    break;
  case cmd::MemoryMap:
    openMemoryMap();
    break;
  default:
    showNotAvailable();
    break;
  }
}

void CMainFrame::updateUndoActions() {
  const UndoHistory& history = radioData().history();
  const auto update = [](QAction* action, bool enabled, int plainText, int stepText,
                         const std::string& name) {
    action->setEnabled(enabled);
    action->setText(enabled ? toQString(formatText(textOf(stepText), {name})) : qtText(plainText));
    action->setToolTip(QString(action->text()).remove(QLatin1Char('&')));
  };
  update(actions_[cmd::EditUndo], history.canUndo(), kTextUndo, kTextUndoStep, history.undoName());
  update(actions_[cmd::EditRedo], history.canRedo(), kTextRedo, kTextRedoStep, history.redoName());
}

void CMainFrame::undoOrRedo(bool undo) {
  // An entry still open in a view is a step of its own, and so is any change that reached the
  // image without being named: the undo then takes back exactly one thing the user did.
  commitPendingEdits();
  radioData().recordStep(textOf(kTextUnnamedStep));
  const ModelCode modelBefore = radioData().modelCode();
  if (!(undo ? radioData().undoStep() : radioData().redoStep())) return;
  showChangedImage(modelBefore);
}

void CMainFrame::openMemoryMap() {
  commitPendingEdits();
  const ModelCode modelBefore = radioData().modelCode();
  if (!CMemoryMapDlg::run(this, memoryMap())) return;
  // The bytes may have given the image another model: its band limits follow.
  radioData().applyBandLimits();
  radioData().recordStep(textOf(MemoryMap::kTextCaption));
  showChangedImage(modelBefore);
}

void CMainFrame::showChangedImage(const ModelCode& modelBefore) {
  if (radioData().modelCode() != modelBefore) {
    localiseMenus();
    if (!treeBar_->isHidden()) treeBar_->refreshTree(QString::fromStdString(radioData().modelNameText()));
  }
  updateTitle();
  reloadViews();
}

void CMainFrame::showNotAvailable() {
  showWarning(kNotAvailableText);
}

void CMainFrame::showWarning(int textId) {
  MessageRequest request;
  request.kind = MessageKind::Warning;
  request.text = textOf(textId);
  ui_.showMessage(request);
}

void CMainFrame::showHelpFor(int context) {
  CHelpSystem::showHelp(context);
}

int CMainFrame::focusedHelpContext() const {
  for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
    if (auto* view = qobject_cast<CImageView*>(widget)) return view->helpContext();
    if (widget == treeBar_) return CTreeViewBar::kHelpContext;
  }
  return 0;
}

void CMainFrame::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    showHelpFor(focusedHelpContext());
    return;
  }
  QMainWindow::keyPressEvent(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (splashPending_ && watched == windowHandle() && event->type() == QEvent::Expose &&
      windowHandle()->isExposed()) {
    splashPending_ = false;
    windowHandle()->removeEventFilter(this);
    // The exposure paints this window first; the splash follows on the next turn.
    QTimer::singleShot(0, this, &CMainFrame::showSplash);
  }
  if (watched == portPane_ && event->type() == QEvent::MouseButtonDblClick) {
    postCommand(cmd::CommunicationPort);
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (auto* menu = qobject_cast<QMenu*>(watched); menu && key->key() == Qt::Key_F1) {
      // F1 on a highlighted menu item opens the help of its command.
      if (QAction* active = menu->activeAction()) {
        const CommandInfo* info = infoOf(active->data().toInt());
        if (info && info->helpContext >= 0) {
          menu->close();
          showHelpFor(info->helpContext);
        }
      }
      return true;
    }
  }
  if (event->type() == QEvent::ShortcutOverride && isDocumentUndoKey(watched, static_cast<QKeyEvent*>(event)))
    return true;
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
    // The child windows are not cycled with Ctrl+Tab.
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
        key->modifiers().testFlag(Qt::ControlModifier) && widget &&
        (widget == mdi_ || mdi_->isAncestorOf(widget)))
      return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::isDocumentUndoKey(QObject* watched, const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  const bool undo = actions_.at(cmd::EditUndo)->shortcuts().contains(pressed);
  const bool redo = actions_.at(cmd::EditRedo)->shortcuts().contains(pressed);
  if (!undo && !redo) return false;
  // A text field takes back its own typing first; with nothing typed the key undoes a step.
  // Combo and spin boxes hold the focus for the text field inside them.
  const QLineEdit* edit = qobject_cast<QLineEdit*>(watched);
  if (qobject_cast<QComboBox*>(watched) || qobject_cast<QAbstractSpinBox*>(watched))
    edit = watched->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
  if (!edit) return false;
  return undo ? !edit->isUndoAvailable() : !edit->isRedoAvailable();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // A running test mode ends first, so that no transmitter stays keyed whatever is answered below.
  if (CTestModeDlg* testMode = CTestModeDlg::running()) testMode->endTestMode();
  if (closeConfirmed_) {
    QMainWindow::closeEvent(event);
    return;
  }
  event->ignore();
  // Closing while the preview of the menu command is open ends the preview only.
  if (menuPreview_) {
    menuPreview_->close();
    if (printList_) printList_->activateWindow();
    return;
  }
  if (printList_) {
    printList_->activateWindow();
    return;
  }
  MessageRequest request;
  request.kind = MessageKind::Confirmation;
  request.text = textOf(10012001);
  request.caption = textOf(10012002);
  request.buttons = MessageButtons::OkCancel;
  request.icon = MessageIcon::Question;
  if (ui_.showMessage(request) != MessageAnswer::Ok) return;
  commitPendingEdits();
  if (dataFileFlows().promptSaveChanges()) return;
  settings_.setLastWinPos(currentPlacement());
  closeConfirmed_ = true;
  event->accept();
  // The help window is a window of its own: left open, it would keep the program running.
  if (CHelpWindow* help = CHelpSystem::window()) help->close();
}

WindowPlacement CMainFrame::currentPlacement() const {
  WindowPlacement placement;
  const Qt::WindowStates state = windowState();
  const bool maximised = state.testFlag(Qt::WindowMaximized);
  placement.showState = maximised ? WindowPlacement::Maximized : WindowPlacement::Normal;
  if (state.testFlag(Qt::WindowMinimized) && maximised) placement.flags = WindowPlacement::RestoreToMaximized;
  QRect normal = normalGeometry();
  if (!normal.isValid()) normal = geometry();
  placement.left = normal.left();
  placement.top = normal.top();
  placement.right = normal.left() + normal.width();
  placement.bottom = normal.top() + normal.height();
  return placement;
}

void CMainFrame::applyPlacement(const WindowPlacement* placement) {
  QRect normal(0, 0, 1024, 768);
  if (placement)
    normal.setCoords(placement->left, placement->top, placement->right - 1, placement->bottom - 1);
  if (normal.width() < 200 || normal.height() < 150)
    normal.setSize(QSize(std::max(normal.width(), 800), std::max(normal.height(), 600)));
  // Only a rectangle that fits the current screens, title bar included; also the one that
  // un-maximising returns to.
  setGeometry(fitOnScreens(normal, windowFrameMargins(*this), availableScreenAreas()));
  if (!placement) {
    showMaximized();
    return;
  }
  switch (placement->showState) {
  case WindowPlacement::Maximized:
    showMaximized();
    break;
  case WindowPlacement::Minimized:
  case 6:
  case 7:
    setWindowState(placement->flags & WindowPlacement::RestoreToMaximized
                       ? Qt::WindowMinimized | Qt::WindowMaximized
                       : Qt::WindowMinimized);
    show();
    break;
  default:
    showNormal();
    break;
  }
}

void CMainFrame::showSplash() {
  CSplashWnd::showSplash(this, colourDepth_);
}

void CMainFrame::showSplashWhenExposed() {
  if (windowHandle() && windowHandle()->isExposed()) {
    QTimer::singleShot(0, this, &CMainFrame::showSplash);
    return;
  }
  splashPending_ = true;
  if (windowHandle()) windowHandle()->installEventFilter(this);
}

DataFileFlows CMainFrame::dataFileFlows() {
  DataFileFlows flows(radioData(), currentFile(), ui_);
  flows.setCloseViews([this] { closeAllWindows(); });
  return flows;
}

InterchangeFlows CMainFrame::interchangeFlows() {
  InterchangeFlows flows(radioData(), currentFile(), ui_);
  flows.setBeforeReplace([this] { closeAllWindows(); });
  flows.setChannelsChanged([this] {
    updateTitle();
    reloadViews();
    openView(ViewKind::ChannelInfo);
  });
  return flows;
}

bool CMainFrame::openFileAtStart(const QString& path) {
  if (!dataFileFlows().openDataFileAt(path.toStdString())) return false;
  showReplacedImage();
  return true;
}

void CMainFrame::showReplacedImage() {
  localiseMenus();
  updateTitle();
  reloadViews();
  openView(ViewKind::ChannelInfo);
}

void CMainFrame::fileNew() {
  if (!dataFileFlows().newData()) return;
  updateTitle();
  openView(ViewKind::ChannelInfo);
}

void CMainFrame::fileOpen() {
  if (dataFileFlows().openDataFile()) showReplacedImage();
}

void CMainFrame::readFromRadio() {
  if (dataFileFlows().promptSaveChanges()) return;
  if (!CReadDlg::run(this, ui_, helpCallback())) return;
  if (settings_.backupRadio()) backUpReadImage(ui_, radioData().transferImage, backupFolder());
  closeAllWindows();
  radioData().adoptTransferImage();
  currentFile().resetFileName();
  showReplacedImage();
}

void CMainFrame::writeToRadio() {
  WriteSafety safety;
  safety.backup = settings_.backupRadio();
  safety.backupFolder = backupFolder();
  safety.verify = settings_.verifyWrite();
  CWriteDlg::run(this, ui_, helpCallback(), safety);
}

std::string CMainFrame::backupFolder() const {
  const std::string data =
      dataFolder_.isEmpty() ? RadioBackups::defaultDataFolder() : dataFolder_.toStdString();
  return RadioBackups::folderBelow(data);
}

void CMainFrame::showComparison(const std::string& other, const RadioImage& image) {
  CCompareDlg dialog(other, ImageCompare::compare(radioData().editImage, image), helpCallback(), this);
  dialog.exec();
}

void CMainFrame::compareWithFile() {
  FileRequest request;
  request.folder = currentFile().folder();
  request.filterName = textOf(DataFileFlows::kTextFileType);
  request.extension = "dat";
  const std::optional<std::string> path = ui_.chooseFileToOpen(request);
  if (!path) return;
  RadioImage image{};
  if (loadImageFile(*path, image))
    showComparison(QFileInfo(QString::fromStdString(*path)).fileName().toStdString(), image);
}

bool CMainFrame::loadImageFile(const std::string& path, RadioImage& image) {
  DataFile::Magic magic{};
  const auto result = DataFile::readDataFile(path, image, magic);
  if (result == DataFile::Read) return true;
  const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
  ui_.error(DataFileFlows::readFailureText(result, name, magic));
  return false;
}

void CMainFrame::compareWithRadio() {
  // The radio lands in a scratch image: the working image and the transfer image stay as they are.
  RadioImage image = clearedImage();
  CReadDlg dialog(g_radioComm, image, ui_, helpCallback(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (settings_.backupRadio()) backUpReadImage(ui_, image, backupFolder());
  showComparison(textOf(kTextTheRadio), image);
}

void CMainFrame::restoreBackup() {
  const std::optional<std::string> path = CRestoreDlg::run(this, backupFolder(), helpCallback());
  if (!path) return;
  if (dataFileFlows().promptSaveChanges()) return;
  if (!loadImageFile(*path, radioData().transferImage)) return;
  closeAllWindows();
  radioData().adoptTransferImage();
  // Save goes to a new file, never over the backup.
  currentFile().resetFileName();
  showReplacedImage();
  if (ui_.confirm(textOf(kTextWriteRestored))) writeToRadio();
}

void CMainFrame::testMode() {
  CTestModeDlg::run(this, ui_, helpCallback(), demonstrationMode_, g_radioComm, radioData().editImage,
                    [this](QWidget* parent, const std::vector<AdjustmentLine>& lines) {
                      printing_->printAdjustments(parent, lines);
                    });
  // The test mode loaded and adjusted the alignment values of the image.
  reloadViews();
  updateTitle();
}

void CMainFrame::modelInformation() {
  ModelSelection::Hooks hooks;
  hooks.closeAllViews = [this] { closeAllWindows(); };
  hooks.resetFileName = [] { currentFile().resetFileName(); };
  hooks.rebuildMenus = [this] {
    localiseMenus();
    updateTitle();
  };
  hooks.openChannelView = [this] { openView(ViewKind::ChannelInfo); };
  CModelInfoDlg::run(this, ui_, hooks, helpCallback());
}

void CMainFrame::communicationPort() {
  if (CComPortDlg::run(this, helpCallback())) updatePortPane();
}

void CMainFrame::openPrintList(CPrintListDlg::Purpose purpose) {
  if (printList_) {
    printList_->activateWindow();
    return;
  }
  commitPendingEdits();
  CPrintListDlg dialog(radioData(), *printing_, helpCallback(), purpose, this);
  printList_ = &dialog;
  dialog.exec();
  printList_ = nullptr;
}

void CMainFrame::previewEverything() {
  if (menuPreview_) {
    menuPreview_->activateWindow();
    return;
  }
  commitPendingEdits();
  menuPreview_ = printing_->openPreview(this, PrintSelection::everything(radioData().channelCount()));
}

HelpCallback CMainFrame::helpCallback() {
  return [this](int context) { showHelpFor(context); };
}

void CMainFrame::about() {
  CAboutDlg::run(this);
}

} // namespace vpr
