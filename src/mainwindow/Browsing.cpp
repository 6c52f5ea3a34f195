// Walking drives and folders, and the list of MP3 files of the folder.
#include "MainWindow.h"

#include "Artwork.h"
#include "Controls.h"
#include "FolderLister.h"
#include "Mp3ListView.h"

#include <QFileInfo>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QStringListModel>
#include <QTreeWidget>

#include <utility>

namespace {

QString Child(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? QString(folder + name)
                                             : QString(folder + QLatin1Char('/') + name);
}

// The volumes as the drive list holds them.
QList<Volume> ListedVolumes(const QComboBox *drives)
{
    QList<Volume> volumes;
    for (int i = 0; i < drives->count(); ++i)
        volumes.append(Volume{drives->itemData(i).toString(), drives->itemText(i)});
    return volumes;
}

} // namespace

void MainWindow::fillDrives()
{
    const QList<Volume> volumes = services_.folders.volumes();
    for (const Volume &volume : volumes)
        drive1_->addItem(volume.label, volume.root);
    const QString startRoot = VolumeRootOf(volumes, startFolder_);
    int index = drive1_->findData(startRoot);
    if (index < 0) {
        drive1_->insertItem(0, startRoot, startRoot);
        index = 0;
    }
    drive1_->setCurrentIndex(index);
}

void MainWindow::driveChosen(int index)
{
    const QString root = drive1_->itemData(index).toString();
    const QList<Volume> volumes = ListedVolumes(drive1_);
    // The drive the program started from brings back the folder it started
    // in; any other drive opens at its root.
    const QString folder = root == VolumeRootOf(volumes, startFolder_) ? startFolder_ : root;
    // A drive that cannot be read (no medium) is passed over without a word.
    if (!services_.folders.canList(folder))
        return;
    folderChanged(folder);
}

void MainWindow::openFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(QDir(startFolder_).absoluteFilePath(folder));
    const QList<Volume> volumes = ListedVolumes(drive1_);
    const int drive = drive1_->findData(VolumeRootOf(volumes, path));
    if (drive >= 0)
        drive1_->setCurrentIndex(drive);
    folderChanged(path);
}

void MainWindow::openFile(const QString &path)
{
    const QFileInfo file(QDir(startFolder_).absoluteFilePath(path));
    openFolder(file.absolutePath());
    const int row = int(files_.indexOf(file.fileName()));
    if (row >= 0)
        list1_->selectionModel()->setCurrentIndex(list1_->model()->index(row, 0),
                                                  QItemSelectionModel::ClearAndSelect);
}

void MainWindow::folderActivated(QTreeWidgetItem *item)
{
    if (item)
        folderChanged(item->data(0, Qt::UserRole).toString());
}

void MainWindow::showFolderTree(const QString &folder, const QStringList &subfolders)
{
    dir1_->clear();
    static const QIcon open(QPixmap::fromImage(FolderPicture(true)));
    static const QIcon closed(QPixmap::fromImage(FolderPicture(false)));

    auto *item = new QTreeWidgetItem(dir1_, {QStringLiteral("/")});
    item->setData(0, Qt::UserRole, QStringLiteral("/"));
    item->setIcon(0, open);
    QString path = QStringLiteral("/");
    for (const QString &part : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path = Child(path, part);
        item = new QTreeWidgetItem(item, {part});
        item->setData(0, Qt::UserRole, path);
        item->setIcon(0, open);
    }
    for (const QString &name : subfolders) {
        auto *sub = new QTreeWidgetItem(item, {name});
        sub->setData(0, Qt::UserRole, Child(path, name));
        sub->setIcon(0, closed);
    }
    dir1_->expandAll();
    dir1_->setCurrentItem(item);
    dir1_->scrollToItem(item);
    dirPath_ = path;
}

void MainWindow::folderChanged(const QString &folder)
{
    // One look into the folder serves the folder list and File1; List1
    // becomes a copy of File1. A folder that cannot be listed gives an empty
    // list, never the previous folder's.
    FolderContents contents = services_.folders.contents(folder);
    showFolderTree(folder, contents.subfolders);
    filesFolder_ = dirPath_;
    files_ = std::move(contents.mp3Files);
    listModel_->setStringList(files_);
    SetCaption(label13_, QStringLiteral("Files : %1").arg(listModel_->rowCount()));
}

void MainWindow::refillList()
{
    files_ = services_.folders.mp3Files(filesFolder_, nullptr);
    listModel_->setStringList(files_);
}
