#pragma once
// Lets an accessibility client choose an entry of a drop-down list. A screen reader selects a
// list entry through the list's cells without moving the list's cursor; a plain combo box only
// highlights such an entry and keeps its old value. Here that selection counts as the user's
// choice, exactly as Enter on the entry would. Keyboard and mouse, which move the cursor with
// the selection, keep their usual browse-then-choose behaviour.

class QComboBox;

namespace vpr {

// From now on, a selection made in the combo's list apart from its cursor chooses that entry:
// the list closes, the entry becomes current and the combo reports it as activated.
void chooseOnAccessibleSelection(QComboBox* combo);

} // namespace vpr
