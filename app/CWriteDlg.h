#pragma once
// The Write Data dialog: writes the working image (bytes 0x000..0x3D7) into the radio when
// the user presses Write. Nothing in memory changes.

#include "app/CTransferDlg.h"
#include "model/RadioImage.h"

namespace vpr {

class CRadioComm;

class CWriteDlg : public CTransferDlg {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x52000;

  // Sets the radio link's write block size to 8 bytes, the size the block count is made for.
  CWriteDlg(CRadioComm& radio, const RadioImage& editImage, UserInterface& ui, HelpCallback help,
            QWidget* parent = nullptr);

  // Runs the dialog modally over parent with the process-wide radio link and working image.
  // True when the whole image was written.
  static bool run(QWidget* parent, UserInterface& ui, const HelpCallback& help);

protected:
  int transfer(UserInterface& ui) override;

private:
  CRadioComm& radio_;
  const RadioImage& editImage_;
};

} // namespace vpr
