#include "app/CHelpWindow.h"

#include "app/ScreenFit.h"
#include "views/QtText.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QWindow>

namespace vpr {

namespace {

constexpr int textCaption = 10061001;
constexpr int textBack = 10061002;
constexpr int textForward = 10061003;
constexpr int textContents = 10061004;
constexpr int textFind = 10061005;
constexpr int textFindNext = 10061006;
constexpr int textFindPrevious = 10061007;
constexpr int textOpenInBrowser = 10061008;
constexpr int textNotFound = 10061010;
constexpr int textNoBrowser = 10061011;
constexpr int textEnglishPage = 19000007;

// The page a URL shows, without its anchor.
QUrl pageOf(const QUrl& url) {
  return url.adjusted(QUrl::RemoveFragment);
}

} // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(qtText(textCaption));
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Room for the manual to read well, but never more than the screen has (a scaled one is small).
  resize(QSize(900, 650).boundedTo(screen()->availableGeometry().size().shrunkBy(windowFrameMargins(*this))));

  browser_ = new QTextBrowser(this);
  // Links to other sites would need a browser: they go there only on the user's request.
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);
  browser_->setAccessibleName(qtText(textCaption));
  contents_ = new QListWidget(this);
  contents_->setAccessibleName(qtText(textContents));
  auto* splitter = new QSplitter(this);
  splitter->addWidget(contents_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({200, 700});
  setCentralWidget(splitter);

  auto* tools = addToolBar(qtText(textContents));
  tools->setMovable(false);
  tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
  back_ = tools->addAction(qtText(textBack), browser_, &QTextBrowser::backward);
  back_->setShortcut(QKeySequence::Back);
  forward_ = tools->addAction(qtText(textForward), browser_, &QTextBrowser::forward);
  forward_->setShortcut(QKeySequence::Forward);
  home_ = tools->addAction(qtText(textContents), this, [this] {
    if (contentsSource_.isValid()) browser_->setSource(contentsSource_);
  });
  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
  tools->addSeparator();

  auto* findBox = new QWidget(tools);
  auto* findRow = new QHBoxLayout(findBox);
  findRow->setContentsMargins(4, 0, 4, 0);
  auto* findLabel = new QLabel(qtText(textFind), findBox);
  findField_ = new QLineEdit(findBox);
  findField_->setClearButtonEnabled(true);
  findField_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 14);
  findLabel->setBuddy(findField_);
  findStatus_ = new QLabel(findBox);
  findRow->addWidget(findLabel);
  findRow->addWidget(findField_);
  tools->addWidget(findBox);
  tools->addAction(qtText(textFindNext), this, [this] { findInPage(false); });
  tools->addAction(qtText(textFindPrevious), this, [this] { findInPage(true); });
  tools->addWidget(findStatus_);
  connect(findField_, &QLineEdit::returnPressed, this, [this] { findInPage(false); });
  connect(findField_, &QLineEdit::textChanged, findStatus_, &QLabel::clear);
  auto* findKey = new QShortcut(QKeySequence::Find, this);
  connect(findKey, &QShortcut::activated, this, [this] {
    findField_->setFocus(Qt::ShortcutFocusReason);
    findField_->selectAll();
  });
  auto* nextKey = new QShortcut(QKeySequence::FindNext, this);
  connect(nextKey, &QShortcut::activated, this, [this] { findInPage(false); });
  auto* previousKey = new QShortcut(QKeySequence::FindPrevious, this);
  connect(previousKey, &QShortcut::activated, this, [this] { findInPage(true); });

  tools->addSeparator();
  openInBrowser_ = tools->addAction(qtText(textOpenInBrowser), this, &CHelpWindow::openCurrentInBrowser);

  // A click or Enter on an entry shows its page (staying where it is when already shown).
  const auto openEntry = [this](QListWidgetItem* item) {
    const QUrl page = item->data(Qt::UserRole).toUrl();
    if (pageOf(browser_->source()) != page) browser_->setSource(page);
  };
  connect(contents_, &QListWidget::itemActivated, this, openEntry);
  connect(contents_, &QListWidget::itemClicked, this, openEntry);
  // The browser reports the new page before source() gives it: the page comes from the signal.
  connect(browser_, &QTextBrowser::sourceChanged, this, &CHelpWindow::markCurrentPage);
}

void CHelpWindow::loadContents(const QUrl& indexPage) {
  if (indexPage == contentsSource_) return;
  contentsSource_ = indexPage;
  contents_->clear();
  QFile file(indexPage.toLocalFile());
  if (!file.open(QIODevice::ReadOnly)) return;
  const QString html = QString::fromUtf8(file.readAll());
  // The manual's navigation list names every page in reading order.
  const auto navStart = html.indexOf(QLatin1String("<nav"));
  const auto navEnd = html.indexOf(QLatin1String("</nav>"), navStart);
  if (navStart < 0 || navEnd < 0) return;
  static const QRegularExpression link(QStringLiteral("<a href=\"([^\"#]+)\"[^>]*>([^<]+)</a>"));
  auto matches = link.globalMatch(html.mid(navStart, navEnd - navStart));
  while (matches.hasNext()) {
    const QRegularExpressionMatch match = matches.next();
    auto* item = new QListWidgetItem(match.captured(2).trimmed(), contents_);
    item->setData(Qt::UserRole, indexPage.resolved(QUrl(match.captured(1))));
  }
}

void CHelpWindow::attachToModal() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal_ && modal_ != modal) modal_->removeEventFilter(this);
  modal_ = modal;
  if (modal_) modal_->installEventFilter(this);
  // A window that is transient for the modal dialog is not blocked by it and is stacked above it.
  windowHandle()->setTransientParent(modal_ ? modal_->windowHandle() : nullptr);
}

bool CHelpWindow::eventFilter(QObject* watched, QEvent* event) {
  // The dialog closes: the help window stays open on its own. Windows would destroy a window
  // whose owner is destroyed, so the tie is cut before that.
  if (watched == modal_ && event->type() == QEvent::Hide) {
    modal_->removeEventFilter(this);
    modal_ = nullptr;
    if (windowHandle()) windowHandle()->setTransientParent(nullptr);
  }
  return QMainWindow::eventFilter(watched, event);
}

void CHelpWindow::showPage(const QUrl& url) {
  loadContents(pageOf(url).resolved(QUrl(QStringLiteral("index.html"))));
  if (browser_->source() == url)
    browser_->reload();
  else
    browser_->setSource(url);
  winId(); // the native window, so that it can be tied to a modal dialog before it is shown
  attachToModal();
  show();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  // At the window's size, shown; showing the same anchor again scrolls back to it.
  if (const QString anchor = url.fragment(); !anchor.isEmpty()) browser_->scrollToAnchor(anchor);
}

void CHelpWindow::noteEnglishPage() {
  if (notedEnglish_) return;
  notedEnglish_ = true;
  statusBar()->showMessage(qtText(textEnglishPage));
}

void CHelpWindow::markCurrentPage(const QUrl& shown) {
  const QUrl page = pageOf(shown);
  for (int i = 0; i < contents_->count(); ++i) {
    QListWidgetItem* item = contents_->item(i);
    if (item->data(Qt::UserRole).toUrl() == page) {
      contents_->setCurrentItem(item);
      return;
    }
  }
  contents_->setCurrentItem(nullptr);
}

bool CHelpWindow::findInPage(bool backwards) {
  const QString text = findField_->text();
  findStatus_->clear();
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (browser_->find(text, flags)) return true;
  // Round the page once: from the other end.
  QTextCursor cursor = browser_->textCursor();
  cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
  browser_->setTextCursor(cursor);
  if (browser_->find(text, flags)) return true;
  findStatus_->setText(qtText(textNotFound));
  return false;
}

void CHelpWindow::openCurrentInBrowser() {
  const QUrl url = browser_->source();
  if (url.isEmpty() || !QDesktopServices::openUrl(url))
    QMessageBox::warning(this, qtText(textCaption), qtText(textNoBrowser));
}

} // namespace vpr
