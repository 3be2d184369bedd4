// The editable combo box of a pick list, shared by the device-record and administrator dialogs.
#pragma once

#include <QComboBox>
#include <QString>

namespace qtx::records {

// A combo box whose text is typed freely or picked from its list: no completion, nothing
// inserted into the list on Enter, and duplicates allowed, so the text stays exactly as typed.
QComboBox* new_pick_list(QWidget* parent, const QString& object_name, const QString& accessible_name);

// Shows no entry as picked and an empty text (the state after opening and after a change).
void deselect(QComboBox* combo);

}  // namespace qtx::records
