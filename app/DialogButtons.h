#pragma once
// The OK, Cancel and Help row shared by the setup dialogs, captioned from the text table.

class QDialog;
class QDialogButtonBox;

namespace vpr {

// Makes the row as a child of the dialog: OK accepts, Cancel rejects, and Help is enabled only
// when the caller has a help system (the caller connects helpRequested).
QDialogButtonBox* makeOkCancelHelpButtons(QDialog& dialog, bool helpAvailable);

} // namespace vpr
