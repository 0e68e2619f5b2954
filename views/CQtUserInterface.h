#pragma once
// The desktop program's side of the user-interface seam: message boxes, file dialogs and the
// message pump, all with Qt widgets. Transfer progress is shown by the Read and Write dialogs,
// which run the transfer through a user interface of their own that keeps the progress reports.

#include "lang/UserInterface.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vpr {

class CQtUserInterface : public QObject, public UserInterface {
  Q_OBJECT
public:
  explicit CQtUserInterface(QObject* parent = nullptr);

  // The window the message boxes and file dialogs are modal over. While a modal dialog is
  // up, boxes go over that dialog instead; with no window set, over the active window.
  void setParentWindow(QWidget* window) { owner_ = window; }
  QWidget* parentWindow() const { return owner_; }
  // The window a box or file dialog shown now would be modal over.
  QWidget* effectiveParent() const;

  // From now on messages go to the standard error stream and every box is answered as Escape
  // answers it (the program is ending on its own, with nobody to answer).
  void setUnattended() { unattended_ = true; }

  MessageAnswer showMessage(const MessageRequest& request) override;
  std::optional<std::string> chooseFileToOpen(const FileRequest& request) override;
  std::optional<std::string> chooseFileToSave(const FileRequest& request) override;
  // One pass of the Qt event loop, so that windows repaint during a radio exchange.
  void pumpOneMessage() override;
  // Progress outside the transfer dialogs has no display: it is dropped.
  void reportProgress(int done, int total, const std::string& label) override;

private:
  std::optional<std::string> runFileDialog(const FileRequest& request, bool forSaving);

  QPointer<QWidget> owner_;
  bool unattended_ = false;
};

} // namespace vpr
