#include "choice_combo.h"

#include <QComboBox>
#include <QLineEdit>

void makeChoiceCombo(QComboBox *combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr); // an accepted completion would count as a choice
    // QComboBox looks typed text up in its list on Enter and on leaving the
    // field, and reports a match as if the item had been chosen. Only a real
    // choice from the list may count, so the field's text stays its own.
    if (QLineEdit *edit = combo->lineEdit()) {
        QObject::disconnect(edit, &QLineEdit::returnPressed, combo, nullptr);
        QObject::disconnect(edit, &QLineEdit::editingFinished, combo, nullptr);
    }
}
