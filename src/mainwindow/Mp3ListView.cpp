#include "Mp3ListView.h"

#include <QMouseEvent>

Mp3ListView::Mp3ListView(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row is one line of text: the view need not measure 100,000 rows.
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
}

int Mp3ListView::selectedRow() const
{
    const QModelIndexList rows =
        selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Mp3ListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    // A refill leaves no current row, and taking the focus makes a row current
    // without selecting it: neither is a choice. The keyboard selects the row
    // before this runs; a mouse press selects it after, and is reported when
    // the button is released.
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return;
    choiceReported_ = true;
    Q_EMIT chosen(current.row());
}

void Mp3ListView::mousePressEvent(QMouseEvent *event)
{
    choiceReported_ = false;
    QListView::mousePressEvent(event);
}

void Mp3ListView::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || choiceReported_)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index == currentIndex()) {
        choiceReported_ = true;
        Q_EMIT chosen(index.row());
    }
}
