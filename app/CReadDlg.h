#pragma once
// The Read Data dialog: reads the radio's whole memory into the transfer image when the user
// presses Read. The working image is not touched; the caller takes the transfer image over
// only when the dialog ends with a complete read.
//
// The same dialog reads the radio for Compare with Radio: then its title and closing message
// say so, and that the working data stays as it is. Given a backup folder, a complete read is
// kept there as a backup and the closing message says where.

#include "app/CTransferDlg.h"
#include "model/RadioImage.h"

#include <string>

namespace vpr {

class CRadioComm;

class CReadDlg : public CTransferDlg {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x51000;
  static constexpr int kCompareHelpContext = 0x1A000;

  enum class Purpose { Read, Compare };

  CReadDlg(CRadioComm& radio, RadioImage& transferImage, UserInterface& ui, HelpCallback help,
           QWidget* parent = nullptr, Purpose purpose = Purpose::Read);

  // Runs the dialog modally over parent with the process-wide radio link and transfer image.
  // True only after a complete read: the transfer image then holds all 1024 bytes of the radio.
  static bool run(QWidget* parent, UserInterface& ui, const HelpCallback& help,
                  const std::string& backupFolder);

  // Where a complete read is backed up; empty (the default) for no backup.
  void setBackupFolder(const std::string& folder) { backupFolder_ = folder; }
  // The backup of the last complete read; empty when none was stored.
  const std::string& backupPath() const { return backupPath_; }

protected:
  int transfer(UserInterface& ui) override;
  std::string successText() const override;

private:
  CRadioComm& radio_;
  RadioImage& transferImage_;
  std::string backupFolder_;
  std::string backupPath_;
};

} // namespace vpr
