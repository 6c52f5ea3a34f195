#include "FolderTree.h"

#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {
constexpr int PathRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;

// Draws a row where a nested tree would: its indentation left empty.
class IndentedRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        // The indentation takes the row's colours, as a tree's branch area does.
        QStyleOptionViewItem branch = option;
        branch.rect.setWidth(indentOf(index));
        view()->style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &branch, painter, view());
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(branch.rect.right() + 1);
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indentOf(index), 0);
    }

private:
    QTreeView *view() const { return static_cast<QTreeView *>(parent()); }
    int indentOf(const QModelIndex &index) const
    {
        return index.data(DepthRole).toInt() * view()->indentation();
    }
};
} // namespace

FolderTree::FolderTree(QWidget *parent) : QTreeWidget(parent)
{
    setItemDelegate(new IndentedRows(this));
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { Q_EMIT folderOpened(folderOf(indexFromItem(item))); });
}

QTreeWidgetItem *FolderTree::addFolder(const QString &name, const QString &path, int depth,
                                       const QIcon &icon)
{
    auto *item = new QTreeWidgetItem(this, {name});
    item->setData(0, PathRole, path);
    item->setData(0, DepthRole, depth);
    item->setIcon(0, icon);
    return item;
}

QString FolderTree::folderOf(const QModelIndex &row)
{
    return row.data(PathRole).toString();
}

void FolderTree::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        Q_EMIT folderOpened(folderOf(currentIndex()));
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
