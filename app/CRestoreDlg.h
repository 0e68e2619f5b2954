#pragma once
// The Restore Radio Backup dialog: lists the files of the Backups folder (model, band, date and
// time, and whether it was taken after a read or before a write; newest first) and lets the user pick one to
// open. A damaged file is listed as damaged and cannot be picked. Opening the file and offering to write it
// is the caller's part.

#include "app/HelpCallback.h"
#include "model/RadioBackups.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace vpr {

class CRestoreDlg : public QDialog {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x18000;

  // Lists the backups in folder.
  CRestoreDlg(const std::string& folder, HelpCallback help, QWidget* parent = nullptr);

  // Runs the dialog over parent for the backups in folder; the chosen file's path, or nothing
  // when the user cancelled.
  static std::optional<std::string> run(QWidget* parent, const std::string& folder, const HelpCallback& help);

  QTreeWidget* list() const { return list_; }
  QPushButton* openButton() const { return openButton_; }
  // The path of the chosen backup once the dialog was accepted.
  const std::string& chosenPath() const { return chosen_; }

  void accept() override;

private:
  void updateOpenButton();
  // The entry of the current row, or nothing for none or a damaged file.
  const BackupEntry* currentEntry() const;

  std::vector<BackupEntry> entries_;
  HelpCallback help_;
  QTreeWidget* list_ = nullptr;
  QPushButton* openButton_ = nullptr;
  std::string chosen_;
};

} // namespace vpr
