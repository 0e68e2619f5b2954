#pragma once
// The Options dialog (Setup menu): whether the radio's data is backed up before each write and
// after each read, and whether a write is read back and checked. Both are on unless the user
// turns them off; the choices are kept in the settings store when the dialog ends with OK.

#include "app/HelpCallback.h"

#include <QDialog>

class QCheckBox;

namespace vpr {

class CAppSettings;

class COptionsDlg : public QDialog {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x72000;

  COptionsDlg(CAppSettings& settings, HelpCallback help, QWidget* parent = nullptr);

  // Runs the dialog modally over parent; true when the user pressed OK.
  static bool run(QWidget* parent, CAppSettings& settings, const HelpCallback& help);

  QCheckBox* backupBox() const { return backup_; }
  QCheckBox* verifyBox() const { return verify_; }

  void accept() override;

private:
  CAppSettings& settings_;
  HelpCallback help_;
  QCheckBox* backup_ = nullptr;
  QCheckBox* verify_ = nullptr;
};

} // namespace vpr
