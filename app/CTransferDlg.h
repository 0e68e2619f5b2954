#pragma once
// What the Read and Write dialogs share: a progress bar with its block label, the start,
// Cancel and Help buttons, and the lockout while the transfer runs (no second start, no
// close by button, Escape or the window's close box).
//
// The transfer itself is a core operation; the dialog runs it on the user-interface thread
// when the start button is pressed, shows its progress, shows the success message when it
// completed and ends: Accepted only after a complete transfer, Rejected otherwise.

#include "app/HelpCallback.h"
#include "lang/UserInterface.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace vpr {

class CTransferDlg : public QDialog {
  Q_OBJECT
public:
  // The fixed texts and numbers of one kind of transfer.
  struct Kind {
    int idleCaption;
    int busyCaption;
    int startButton;
    int successText;
    int successCaption;
    int helpContext;
    int blockCount;
  };

  bool isBusy() const { return busy_; }
  // The result code of the last transfer (0 complete, 1 failed and reported, 2 complete but
  // the port did not close); -1 before a transfer ran.
  int transferResult() const { return result_; }

  void reject() override;

protected:
  CTransferDlg(const Kind& kind, UserInterface& ui, HelpCallback help, QWidget* parent);

  // Runs the transfer, reporting progress and messages through ui; returns its result code.
  virtual int transfer(UserInterface& ui) = 0;
  // The message shown after a complete transfer: the kind's success text unless a dialog has
  // more to say.
  virtual std::string successText() const;

  // Where a derived dialog adds a line of its own, below the progress label.
  QVBoxLayout* contentLayout() const { return content_; }

  void keyPressEvent(QKeyEvent* event) override;

private:
  class ProgressForwarder;

  void start();
  void showProgress(int done, int total, const std::string& label);

  Kind kind_;
  UserInterface& ui_;
  HelpCallback help_;
  bool busy_ = false;
  int result_ = -1;
  QProgressBar* bar_ = nullptr;
  QLabel* label_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QVBoxLayout* content_ = nullptr;
};

} // namespace vpr
