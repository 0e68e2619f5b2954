#pragma once
// The OK, Cancel and Help row shared by the setup dialogs, captioned from the text table, the F1
// key of a window with a Help button, and Enter on a focused button.

#include <functional>

class QDialog;
class QDialogButtonBox;
class QKeyEvent;
class QWidget;

namespace vpr {

// F1 anywhere in the window, the focused control included, does what its Help button does.
void addHelpKey(QWidget& window, const std::function<void()>& showHelp);

// Enter on a focused push button presses it, as a keyboard user expects of every dialog, also
// where the buttons are not auto-default because Enter belongs to a table or field otherwise.
// True when a button took the key.
bool pressFocusedButton(const QKeyEvent& event);

// Makes the row as a child of the dialog: OK accepts, Cancel rejects, and Help is enabled only
// when the caller has a help system (the caller connects helpRequested).
QDialogButtonBox* makeOkCancelHelpButtons(QDialog& dialog, bool helpAvailable);

} // namespace vpr
