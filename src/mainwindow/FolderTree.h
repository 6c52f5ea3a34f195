#pragma once

#include <QTreeWidget>

// The folder list: the path from the root down to the current folder, then
// its subfolders. It is a path, not a tree the user folds, so it draws no
// expand arrows. A folder is opened by a double click or by Enter on the
// highlighted one, whatever the desktop's single-click setting.
class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderTree(QWidget *parent = nullptr);

Q_SIGNALS:
    void folderOpened(QTreeWidgetItem *item);

protected:
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override {}
    void keyPressEvent(QKeyEvent *event) override;
};
