#pragma once
// The commands that talk to the radio and keep it safe: Read, Write, Write to Several Radios, Test Mode,
// Compare with a data file or the radio, Restore a radio backup, and the Setup menu's Communication Port and
// Options. The dialogs run the exchanges; the core's radio flows decide about backups and what
// becomes the working image; this file puts the two together and shows the result.

#include "app/CommandTable.h"

namespace vpr {

class CMainFrame;
class RadioFlows;

class RadioCommands {
public:
  RadioCommands(CMainFrame& frame, CommandTable& table);

private:
  void readFromRadio();
  void writeToRadio();
  void writeToSeveralRadios();
  void testMode();
  void compareWithFile();
  void compareWithRadio();
  void restoreBackup();
  void communicationPort();
  // The radio flows with the user's backup and verify settings, the data folder, and this
  // window's way of closing the views.
  RadioFlows radioFlows();

  CMainFrame& frame_;
};

} // namespace vpr
