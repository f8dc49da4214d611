#pragma once
// The selection lists are editable, but only choosing a list item counts:
// typed text (Enter included) neither adds an item nor makes a choice.

class QComboBox;

void makeChoiceCombo(QComboBox *combo);
