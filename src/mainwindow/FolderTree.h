#pragma once

#include <QTreeWidget>

// The folder list: the path from the root down to the current folder, then
// its subfolders. It is a path, not a tree the user folds, so it draws no
// expand arrows. A folder is opened by a double click or by Enter on the
// highlighted one, whatever the desktop's single-click setting.
//
// The rows are flat and the depth is drawn as indentation. Assistive
// technology selects a row by its number among all rows, which only a flat
// list maps to the right folder.
class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderTree(QWidget *parent = nullptr);

    // Adds a row drawn depth steps in; path is the folder it opens.
    QTreeWidgetItem *addFolder(const QString &name, const QString &path, int depth,
                               const QIcon &icon);
    static QString folderOf(const QModelIndex &row);

Q_SIGNALS:
    void folderOpened(const QString &path);

protected:
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override {}
    void keyPressEvent(QKeyEvent *event) override;
};
