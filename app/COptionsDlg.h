#pragma once
// The Options dialog (Setup menu): whether the radio's data is backed up before each write and
// after each read, whether a write is read back and checked, and the language of the program.
// Both checks are on unless the user turns them off; the choices are kept in the settings store
// when the dialog ends with OK. The language is read once at start-up, so another choice takes
// effect at the next start, which the dialog says as soon as one is picked.

#include "app/HelpCallback.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;

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
  // The languages the language file has, by their own names; each item's data is its code.
  QComboBox* languageBox() const { return language_; }
  // "The language changes when VPR-40T is started again", shown while another language is picked.
  QLabel* restartNote() const { return restartNote_; }

  void accept() override;

private:
  CAppSettings& settings_;
  HelpCallback help_;
  QCheckBox* backup_ = nullptr;
  QCheckBox* verify_ = nullptr;
  QComboBox* language_ = nullptr;
  QLabel* restartNote_ = nullptr;
};

} // namespace vpr
