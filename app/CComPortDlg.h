#pragma once
// The Communication Port dialog: offers the twenty numbered serial ports, each with the device
// it stands for, enables those that open and are plain RS-232 ports (the scan starts once the
// dialog is visible) and lets the user pick the one the radio cable is on.

#include "app/HelpCallback.h"

#include <QDialog>
#include <optional>

class QLabel;
class QRadioButton;

namespace vpr {

class CComPort;

class CComPortDlg : public QDialog {
  Q_OBJECT
public:
  static constexpr int kPortCount = 20;
  static constexpr int kHelpContext = 0x71000;

  CComPortDlg(CComPort& port, HelpCallback help, QWidget* parent = nullptr);

  // Runs the dialog modally over parent for the process-wide radio link. On OK the link's port
  // number is the chosen port (unchanged when no port was chosen) and that number is returned,
  // for the caller to show and remember; nothing on Cancel.
  static std::optional<int> run(QWidget* parent, const HelpCallback& help);
  // The same for a given port object.
  static std::optional<int> run(QWidget* parent, CComPort& port, const HelpCallback& help);

  // The button of port n (1..20).
  QRadioButton* portButton(int number) const { return buttons_[number - 1]; }
  bool scanDone() const { return scanDone_; }

  void accept() override;
  void reject() override;

signals:
  // The scan has tried all twenty ports.
  void scanFinished();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void scan();

  CComPort& port_;
  HelpCallback help_;
  QRadioButton* buttons_[kPortCount] = {};
  QLabel* paths_[kPortCount] = {};
  bool scanPending_ = true;
  bool scanning_ = false;
  bool scanDone_ = false;
};

} // namespace vpr
