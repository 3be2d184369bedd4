#include "records/pick_list.h"

#include <QLineEdit>

#include "platform/controls.h"

namespace qtx::records {

QComboBox* new_pick_list(QWidget* parent, const QString& object_name, const QString& accessible_name) {
  auto* combo = make<QComboBox>(parent, object_name);
  combo->setEditable(true);
  combo->setCompleter(nullptr);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setDuplicatesEnabled(true);
  combo->setAccessibleName(accessible_name);
  combo->lineEdit()->setAccessibleName(accessible_name);
  combo->setMinimumContentsLength(12);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return combo;
}

void deselect(QComboBox* combo) {
  combo->setCurrentIndex(-1);
  combo->setEditText(QString());
}

}  // namespace qtx::records
