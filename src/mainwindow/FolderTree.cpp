#include "FolderTree.h"

#include <QKeyEvent>

FolderTree::FolderTree(QWidget *parent) : QTreeWidget(parent)
{
    connect(this, &QTreeWidget::itemDoubleClicked, this, &FolderTree::folderOpened);
}

void FolderTree::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        Q_EMIT folderOpened(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
