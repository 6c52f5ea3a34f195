#include "AssistiveSelection.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QPersistentModelIndex>
#include <QTimer>

void OnAssistiveSelection(QAbstractItemView *view, std::function<void(const QModelIndex &)> chosen)
{
    QItemSelectionModel *selection = view->selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, view,
                     [view, selection, chosen](const QItemSelection &selected) {
                         if (selected.isEmpty() || selected.indexes().isEmpty())
                             return;
                         const QModelIndex index = selected.indexes().first();
                         if (index == selection->currentIndex())
                             return;
                         // Choosing may rebuild the view; not inside its own signal.
                         const QPersistentModelIndex kept(index);
                         QTimer::singleShot(0, view, [kept, chosen] {
                             if (kept.isValid())
                                 chosen(kept);
                         });
                     });
}
