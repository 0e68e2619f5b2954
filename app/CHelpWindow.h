#pragma once
// The program's own help window: the HTML manual in a text browser, with the manual's contents
// beside it, back and forward, search in the page, and "open in browser" for the page shown.
// One window serves the whole program; asking for help again brings it to the front at the new
// page and anchor, also above a modal dialog that asked: while that dialog is open the help
// window belongs to it (so the dialog's modality does not block it and the window manager keeps
// it in front), and becomes a window of its own again when the dialog closes. It reads local files only and
// starts no other program unless the user asks for the browser. It does not decide which page belongs to a
// help context (CHelpSystem does).

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace vpr {

class CHelpWindow : public QMainWindow {
  Q_OBJECT
public:
  explicit CHelpWindow(QWidget* parent = nullptr);

  // Shows the page (a file URL, with the anchor as its fragment) and brings the window up, above
  // the active modal dialog when there is one.
  void showPage(const QUrl& url);

  QTextBrowser* browser() const { return browser_; }
  QListWidget* contents() const { return contents_; }
  QLineEdit* findField() const { return findField_; }
  QAction* backAction() const { return back_; }
  QAction* forwardAction() const { return forward_; }
  QAction* browserAction() const { return openInBrowser_; }

  // Says in the status bar, the first time only, that the page is English because the manual has
  // none in the selected language.
  void noteEnglishPage();

  // Looks for the text of the find field from the selection onwards (backwards when asked),
  // wrapping round the page once; false when the page does not hold it.
  bool findInPage(bool backwards);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Puts the window in front of the active modal dialog, or lets it stand alone without one.
  void attachToModal();
  void loadContents(const QUrl& indexPage);
  // Selects the contents entry of the page shown (none for a page the contents do not list).
  void markCurrentPage(const QUrl& shown);
  void openCurrentInBrowser();

  QTextBrowser* browser_;
  QListWidget* contents_;
  QLineEdit* findField_;
  QLabel* findStatus_;
  QAction* back_;
  QAction* forward_;
  QAction* home_;
  QAction* openInBrowser_;
  QUrl contentsSource_;
  QPointer<QWidget> modal_; // the modal dialog the window is in front of while it is open
  bool notedEnglish_ = false;
};

} // namespace vpr
