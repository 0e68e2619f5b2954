#pragma once
// The Read Data dialog: reads the radio's whole memory into the transfer image when the user
// presses Read. The working image is not touched; the caller takes the transfer image over
// only when the dialog ends with a complete read.

#include "app/CTransferDlg.h"
#include "model/RadioImage.h"

namespace vpr {

class CRadioComm;

class CReadDlg : public CTransferDlg {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x51000;

  CReadDlg(CRadioComm& radio, RadioImage& transferImage, UserInterface& ui, HelpCallback help,
           QWidget* parent = nullptr);

  // Runs the dialog modally over parent with the process-wide radio link and transfer image.
  // True only after a complete read: the transfer image then holds all 1024 bytes of the radio.
  static bool run(QWidget* parent, UserInterface& ui, const HelpCallback& help);

protected:
  int transfer(UserInterface& ui) override;

private:
  CRadioComm& radio_;
  RadioImage& transferImage_;
};

} // namespace vpr
