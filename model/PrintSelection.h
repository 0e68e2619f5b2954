#pragma once
// What a printout holds: the sections chosen and the channel range. A plain value; the Print
// Out List dialog, the Print Preview command, the test mode and the command-line tool each
// start from their own defaults here.

namespace vpr {

struct PrintSelection {
  bool model = true;
  bool features = false;
  bool keys = false;
  bool testFrequencies = false;
  bool channels = false;
  bool adjustments = false;
  int firstChannel = 1;
  int lastChannel = 1;

  // The Print Out List dialog when it opens: the model block only, all channels as the range.
  static PrintSelection printListDefault(int channelCount) {
    PrintSelection selection;
    selection.lastChannel = channelCount;
    return selection;
  }
  // Print Preview, Export as PDF and the command-line tool: every section of the image.
  static PrintSelection everything(int channelCount) {
    PrintSelection selection = printListDefault(channelCount);
    selection.features = selection.keys = selection.testFrequencies = selection.channels = true;
    return selection;
  }
  // The test mode: the model block and the adjustment values.
  static PrintSelection testMode(int channelCount) {
    PrintSelection selection = printListDefault(channelCount);
    selection.adjustments = true;
    return selection;
  }

  // Whether the settings page (features, keys, test frequencies) is printed.
  bool hasSettingsPage() const { return features || keys || testFrequencies; }
  bool operator==(const PrintSelection&) const = default;
};

} // namespace vpr
