#pragma once
// The desktop program's side of the user-interface seam: message boxes, file dialogs, the
// message pump and transfer progress, all with Qt widgets.

#include "lang/UserInterface.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace vpr {

class CQtUserInterface : public QObject, public UserInterface {
  Q_OBJECT
public:
  // Called with (done, total, label) for every progress report of a transfer.
  using ProgressCallback = std::function<void(int, int, const std::string&)>;

  explicit CQtUserInterface(QObject* parent = nullptr);

  // The window the message boxes and file dialogs are modal over. While a modal dialog is
  // up, boxes go over that dialog instead; with no window set, over the active window.
  void setParentWindow(QWidget* window) { owner_ = window; }
  QWidget* parentWindow() const { return owner_; }
  // The window a box or file dialog shown now would be modal over.
  QWidget* effectiveParent() const;

  // Replaces the progress receiver and returns the previous one, so that a dialog can put
  // it back when its transfer ends. Without a receiver progress reports go nowhere.
  ProgressCallback setProgressCallback(ProgressCallback callback);

  // Set whenever a message box is about to show; the editing views clear it on their next
  // activation (and then drop a pending in-place edit).
  bool messageShownFlag() const { return messageShown_; }
  void clearMessageShownFlag() { messageShown_ = false; }

  MessageAnswer showMessage(const MessageRequest& request) override;
  std::optional<std::string> chooseFileToOpen(const FileRequest& request) override;
  std::optional<std::string> chooseFileToSave(const FileRequest& request) override;
  // One pass of the Qt event loop, so that windows repaint during a radio exchange.
  void pumpOneMessage() override;
  void reportProgress(int done, int total, const std::string& label) override;

signals:
  // Emitted just before a message box shows (after the flag is set).
  void messageAboutToShow();

private:
  std::optional<std::string> runFileDialog(const FileRequest& request, bool forSaving);

  QPointer<QWidget> owner_;
  ProgressCallback progress_;
  bool messageShown_ = false;
};

} // namespace vpr
