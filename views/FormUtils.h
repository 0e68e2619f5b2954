#pragma once
// Helpers shared by the form views: choice lists, value fields and focus movement.

#include "model/ValueCodec.h"

#include <span>

class QComboBox;
class QLabel;
class QLayout;
class QPushButton;
class QWidget;

namespace vpr {

class CSpinEdit;

// Refills a combo box with the texts of the choices; each entry carries its value as item data.
void fillChoices(QComboBox* combo, std::span<const ChoiceEntry> choices);

// The width a pick field needs so that the longest of the choices shows in full, in the field
// and in the drop-down list that covers it (arrow and frame included).
int pickFieldWidth(const QWidget* context, std::span<const ChoiceEntry> choices);

// Makes the label the field's label: Alt with its marked letter reaches the field, and the field
// and whatever takes its focus (the edit of a value field) carry the label's text as their
// accessible name, which is what a screen reader announces.
void labelField(QLabel* label, QWidget* field);

// Prepares a numeric value field: what it accepts and how many characters it holds.
void configureValueEdit(CSpinEdit* spin, int inputMode, int maxLength);

// Moves focus from `from` to the next (or previous) control inside `scope` that takes Tab focus;
// this is also what Enter does on a form view's fields.
void focusNeighbour(QWidget* scope, QWidget* from, bool forward);

// Lays out a form view: its fields at the top left, the Close and Help buttons stacked beside them.
void layOutForm(QWidget* view, QLayout* fields, QPushButton* closeButton, QPushButton* helpButton);

} // namespace vpr
