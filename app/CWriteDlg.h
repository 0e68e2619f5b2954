#pragma once
// The Write Data dialog: writes the working image (bytes 0x000..0x3D7) into the radio when
// the user presses Write, backing the radio up first and reading the data back afterwards as
// the options say, and adds the radio's line to the job record. The progress label names the
// phase. Nothing in memory changes.

#include "app/CTransferDlg.h"
#include "link/RadioTransfer.h"
#include "model/RadioImage.h"

#include <string>

namespace vpr {

class CRadioComm;

class CWriteDlg : public CTransferDlg {
  Q_OBJECT
public:
  static constexpr int kHelpContext = 0x52000;

  // Where the radio's line goes: the job record's file (no line when empty) and the data file
  // the image came from.
  struct JobLine {
    std::string recordPath;
    std::string file;
  };

  // Sets the radio link's write block size to 8 bytes, the size the block count is made for.
  CWriteDlg(CRadioComm& radio, const RadioImage& editImage, UserInterface& ui, HelpCallback help,
            QWidget* parent = nullptr, WriteSafety safety = {}, JobLine jobLine = {});

  // Runs the dialog modally over parent with the process-wide radio link and working image.
  // True when the whole image was written (and, with the check, found right).
  static bool run(QWidget* parent, UserInterface& ui, const HelpCallback& help, const WriteSafety& safety,
                  const JobLine& jobLine);

  // What the last write did.
  const WriteReport& report() const { return report_; }

protected:
  int transfer(UserInterface& ui) override;
  std::string successText() const override;

private:
  CRadioComm& radio_;
  const RadioImage& editImage_;
  WriteSafety safety_;
  JobLine jobLine_;
  WriteReport report_;
};

} // namespace vpr
