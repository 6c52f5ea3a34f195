// What the presenter publishes, put into the controls, and the press
// animation of the button bar.
#include "MainWindow.h"

#include "Artwork.h"
#include "Controls.h"
#include "FolderTree.h"
#include "ImageButton.h"
#include "Mp3ListView.h"
#include "Pauser.h"
#include "PictureBox.h"
#include "Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>

namespace {

const char *const SummaryCaptions[6] = {"Titel...... ", "Artiest... ",  "Album... ",
                                        "Jaar...... ",  "Info....... ", "Genre... "};

int SummaryRow(int i)
{
    return 10 + 20 * i;
}

} // namespace

void MainWindow::buttonClicked(Button button)
{
    ImageButton *pressed = barButtons_[size_t(button)];
    // Each click puts its own button back where it found it, whatever other
    // clicks do while this one waits.
    const int left = pressed->x();
    pressed->move(left + Px(30), Px(135));
    pauser_.pause(0.2f);
    pressed->move(left, Px(105));
    presenter_.press(button);
}

void MainWindow::showDrives(const QList<Volume> &volumes, int current)
{
    for (const Volume &volume : volumes)
        driveCombo_->addItem(volume.label, volume.root);
    driveCombo_->setCurrentIndex(current);
}

void MainWindow::selectDrive(int index)
{
    driveCombo_->setCurrentIndex(index);
}

void MainWindow::showFolderPath(const FolderTrail &path)
{
    folderTree_->clear();
    static const QIcon open(QPixmap::fromImage(FolderPicture(true)));
    static const QIcon closed(QPixmap::fromImage(FolderPicture(false)));
    QTreeWidgetItem *item = nullptr;
    int depth = 0;
    for (const FolderEntry &entry : path.ancestors)
        item = folderTree_->addFolder(entry.name, entry.path, depth++, open);
    for (const FolderEntry &entry : path.subfolders)
        folderTree_->addFolder(entry.name, entry.path, depth, closed);
    folderTree_->setCurrentItem(item);
    folderTree_->scrollToItem(item);
}

void MainWindow::showFiles(const QStringList &names)
{
    fileListModel_->setStringList(names);
}

void MainWindow::selectFile(int row)
{
    const QSignalBlocker quiet(fileList_);
    fileList_->selectionModel()->setCurrentIndex(fileListModel_->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect);
}

void MainWindow::showFileCount(const QString &text)
{
    SetCaption(fileCountLabel_, text);
}

void MainWindow::showInformation(const QString &name, const QString &dateSize, const QString &path)
{
    SetCaption(fileNameLabel_, name);
    SetCaption(fileDateLabel_, dateSize);
    SetCaption(filePathLabel_, path);
}

void MainWindow::showFields(const std::array<QString, 5> &fields)
{
    for (size_t i = 0; i < fields.size(); ++i)
        fieldEdits_[i]->setText(fields[i]);
}

void MainWindow::showGenre(const QString &genre)
{
    genreCombo_->setEditText(genre);
}

void MainWindow::showSummary(const QStringList &values)
{
    summaryPicture_->wipe(Qt::black);
    summaryPicture_->setForeColour(Qt::white);
    summaryPicture_->setFontSize(10);
    summaryPicture_->setBold(false);
    for (int i = 0; i < 6; ++i)
        summaryPicture_->print(10, SummaryRow(i), QString::fromLatin1(SummaryCaptions[i]));
    for (int i = 0; i < 6; ++i)
        summaryPicture_->print(60, SummaryRow(i), QStringLiteral(":"));
    if (values.isEmpty())
        return;
    for (int i = 0; i < values.size(); ++i)
        summaryPicture_->print(70, SummaryRow(i), values.at(i));
    summaryPicture_->setBold(true);
    summaryPicture_->setFontSize(50);
    summaryPicture_->setForeColour(QColor(40, 40, 40));
    summaryPicture_->print(10, 300, QStringLiteral("Info"));
}

void MainWindow::showClock(const QString &text)
{
    SetCaption(clockLabel_, text);
}

void MainWindow::showTitleLine(const QString &text)
{
    SetCaption(titleLineLabel_, text);
}
