#include "app/CMainFrame.h"

#include "app/Artwork.h"
#include "app/CAppSettings.h"
#include "app/CChInfoFrm.h"
#include "app/CChildFrame.h"
#include "app/CHelpSystem.h"
#include "app/CHelpWindow.h"
#include "app/CRPSDoc.h"
#include "app/CRPSView.h"
#include "app/CSplashWnd.h"
#include "app/CTestModeDlg.h"
#include "app/CTreeViewBar.h"
#include "app/CommandIds.h"
#include "app/EditCommands.h"
#include "app/FileCommands.h"
#include "app/HelpCommands.h"
#include "app/MenuLayout.h"
#include "app/PrintCommands.h"
#include "app/RadioCommands.h"
#include "app/ScreenFit.h"
#include "app/ViewFrameSetup.h"
#include "app/WindowCommands.h"
#include "lang/CLanguageTable.h"
#include "lang/UserInterface.h"
#include "link/CRadioComm.h"
#include "model/CurrentFile.h"
#include "model/DataFileFlows.h"
#include "model/LocalTime.h"
#include "model/RadioData.h"
#include "views/CImageView.h"
#include "views/QtText.h"
#include "views/ViewFactory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QWindow>

#include <ctime>

namespace vpr {

namespace {

QString localTime(const char* format) {
  return QString::fromLocal8Bit(localTimeText(std::time(nullptr), format));
}

} // namespace

CMainFrame::CMainFrame(UserInterface& ui, CAppSettings& settings, bool demonstrationMode, int colourDepth)
    : ui_(ui), settings_(settings), demonstrationMode_(demonstrationMode), colourDepth_(colourDepth),
      viewFactory_(&createView), commands_([this] { commitPendingEdits(); }) {
  setObjectName(QStringLiteral("mainFrame"));
  // The program's icon for every window of it: this one, the dialogs and the About box. Sizes up
  // to twice the largest a title bar, task bar or message box asks for at 100 %; every window
  // hands each of them to the window system as it is created, so a larger drawing would be
  // converted and sent for every window only to be scaled down again. The desktop's launchers
  // take their large pictures from the installed desktop icons.
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64})
    icon.addPixmap(Artwork::pixmap(QStringLiteral(":/vpr40t/icons/vpr40t-%1.png").arg(size)));
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
  fileCommands_ = std::make_unique<FileCommands>(*this, commands_);
  printCommands_ = std::make_unique<PrintCommands>(*this, commands_);
  editCommands_ = std::make_unique<EditCommands>(*this, commands_);
  radioCommands_ = std::make_unique<RadioCommands>(*this, commands_);
  windowCommands_ = std::make_unique<WindowCommands>(*this, commands_);
  helpCommands_ = std::make_unique<HelpCommands>(*this, commands_);
  localiseMenus();
  updateTitle();
  updatePortPane();
  refreshClock();
  clock_.setInterval(1000);
  connect(&clock_, &QTimer::timeout, this, &CMainFrame::refreshClock);
  clock_.start();
  // Sees the port pane's double-click, F1 in the menus and Ctrl+Tab in the child windows.
  qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(this);
  // The child widgets are torn down after this window's members and signal as they go (a dock
  // reports that it became hidden): none of them may call back into this window any more.
  const auto descendants = findChildren<QObject*>();
  for (QObject* object : descendants)
    QObject::disconnect(object, nullptr, this, nullptr);
}

void CMainFrame::createActions() {
  for (const MenuLayout::Command& info : MenuLayout::commands()) {
    auto* action = new QAction(this);
    action->setData(info.command);
    if (info.icon) action->setIcon(Artwork::icon(info.icon));
    const int command = info.command;
    connect(action, &QAction::triggered, this, [this, command] { onCommand(command); });
    actions_[command] = action;
  }
  for (const MenuLayout::Keys& keys : MenuLayout::keys())
    actions_[keys.command]->setShortcuts(keys.keys);
  for (int command : MenuLayout::checkable())
    actions_[command]->setCheckable(true);
  actions_[cmd::ToolBar]->setChecked(true);
  actions_[cmd::StatusBar]->setChecked(true);
  // The accelerator-only command lives on the window itself.
  addAction(actions_[cmd::FocusTreeView]);
}

void CMainFrame::createMenus() {
  const auto build = [this](const MenuLayout::Menu& info) {
    auto* menu = new QMenu(this);
    for (int item : info.items) {
      if (item == MenuLayout::kSeparator)
        menu->addSeparator();
      else
        menu->addAction(actions_[item]);
    }
    menus_[info.text] = menu;
    return menu;
  };
  for (const MenuLayout::Menu* info : MenuLayout::barMenus())
    menuBar()->addMenu(build(*info));
  windowMenu_ = build(MenuLayout::windowMenu());
  windowMenu_->addSeparator();
  connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::fillWindowList);
  helpMenuAction_ = menuBar()->addMenu(build(MenuLayout::helpMenu()));
}

void CMainFrame::createToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setMovable(true);
  toolBar_->setIconSize(QSize(24, 24));
  for (const MenuLayout::ToolButton& tool : MenuLayout::toolButtons()) {
    if (tool.command == MenuLayout::kSeparator)
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

CTreeViewBar* CMainFrame::treeBar() {
  if (!treeBar_) createTreeBar();
  return treeBar_;
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
  for (const MenuLayout::Command& info : MenuLayout::commands())
    if (info.text) actions_[info.command]->setText(qtText(info.text));
  for (auto& [text, menu] : menus_)
    menu->setTitle(qtText(text));
  for (const MenuLayout::ToolButton& tool : MenuLayout::toolButtons())
    if (tool.command != MenuLayout::kSeparator && tool.tooltip)
      actions_[tool.command]->setToolTip(qtText(tool.tooltip));
  editCommands_->updateUndoActions();
  if (treeBar_) treeBar_->localise();
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
  const qsizetype fixed = static_cast<qsizetype>(MenuLayout::windowMenu().items.size()) + 1;
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
    showWarning(kNotAvailableText);
    return nullptr;
  }
  if (!document_) document_ = std::make_unique<CRPSDoc>();
  QMdiSubWindow* frame = nullptr;
  if (kind == ViewKind::ChannelInfo)
    frame = new CChInfoFrm(view);
  else
    frame = new CChildFrame(view);
  frame->setProperty("viewKind", static_cast<int>(kind));
  frame->setWindowIcon(Artwork::icon("tree-area"));
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
  if (treeBar_ && !treeBar_->isHidden()) treeBar_->hide();
  CChildFrame::setClosingAll(false);
  updateWindowMenu();
}

void CMainFrame::postCommand(int command) {
  QMetaObject::invokeMethod(
      this, [this, command] { onCommand(command); }, Qt::QueuedConnection);
  activateWindow();
  setFocus();
}

void CMainFrame::onCommand(int command) {
  if (!commands_.run(command)) showWarning(kNotAvailableText);
}

void CMainFrame::showChangedImage(const ModelCode& modelBefore) {
  if (radioData().modelCode() != modelBefore) {
    localiseMenus();
    if (treeBar_ && !treeBar_->isHidden())
      treeBar_->refreshTree(QString::fromStdString(radioData().modelNameText()));
  }
  updateTitle();
  reloadViews();
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
        const MenuLayout::Command* info = MenuLayout::find(active->data().toInt());
        if (info && info->helpContext >= 0) {
          menu->close();
          showHelpFor(info->helpContext);
        }
      }
      return true;
    }
  }
  if (event->type() == QEvent::ShortcutOverride &&
      editCommands_->isDocumentUndoKey(watched, static_cast<QKeyEvent*>(event)))
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

void CMainFrame::closeEvent(QCloseEvent* event) {
  // A running test mode ends first, so that no transmitter stays keyed whatever is answered below.
  if (CTestModeDlg* testMode = CTestModeDlg::running()) testMode->endTestMode();
  if (closeConfirmed_) {
    QMainWindow::closeEvent(event);
    return;
  }
  event->ignore();
  if (printCommands_->takeCloseRequest()) return;
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

HelpCallback CMainFrame::helpCallback() {
  return [this](int context) { showHelpFor(context); };
}

CPrintListDlg* CMainFrame::printList() const {
  return printCommands_->printList();
}

QWidget* CMainFrame::menuPreview() const {
  return printCommands_->menuPreview();
}

} // namespace vpr
