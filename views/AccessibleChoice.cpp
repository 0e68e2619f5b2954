#include "views/AccessibleChoice.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>

namespace vpr {

void chooseOnAccessibleSelection(QComboBox* combo) {
  QAbstractItemView* list = combo->view();
  QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, combo, [combo, list] {
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    if (selected.size() != 1 || selected.front() == list->currentIndex()) return;
    const int index = selected.front().row();
    combo->hidePopup();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  });
}

} // namespace vpr
