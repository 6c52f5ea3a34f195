// The load-time layout of the right column, the clock, the information strip
// and the menus.
#include "MainWindow.h"

#include "Artwork.h"
#include "AssistiveSelection.h"
#include "Controls.h"
#include "FolderTree.h"
#include "ImageButton.h"
#include "MainTexts.h"
#include "Mp3ListView.h"
#include "PictureBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {

const QColor PanelGrey(192, 192, 192);

struct WelcomeLine {
    int y;
    qreal points;
    QColor colour;
    QString text;
};

QList<WelcomeLine> WelcomeLines()
{
    const QColor grey(100, 100, 100);
    return {
        {10, 15.75, QColor(200, 0, 0), QStringLiteral("Welkom bij Brelko")},
        {40, 10, grey,
         QStringLiteral("Wijzig zelf de tags en bestandsnaam van/in een mp3 bestand.")},
        {55, 10, grey,
         QStringLiteral("Lees onder het Helpmenu de beknopte handleiding van Brelko.")},
        {70, 10, grey,
         QStringLiteral("Brelko wordt gratis aangeboden door ") + QLatin1String(MakerHost)},
        {85, 10, grey, QStringLiteral("Voor meer gratis software klik onder het")},
        {100, 10, grey, QStringLiteral("menu-item Help / Meer Software.")},
    };
}

} // namespace

void MainWindow::buildSummaryPanel(QWidget *central)
{
    summaryFrame_ = MakeFrame(central, QStringLiteral("Frame4"), 8010, 1050, 6765, 6225);
    MakeBox(summaryFrame_, QStringLiteral("Label8"), PanelGrey, 135, 210, 6510, 5880);
    summaryPicture_ = new PictureBox(summaryFrame_);
    summaryPicture_->setObjectName(QStringLiteral("Pic"));
    PlaceTwips(summaryPicture_, 255, 315, 6255, 5640);
    writeWelcome();
}

void MainWindow::writeWelcome()
{
    summaryPicture_->wipe(Qt::white);
    summaryPicture_->setPicture(WelcomePicture());
    for (const WelcomeLine &line : WelcomeLines()) {
        summaryPicture_->setFontSize(line.points);
        summaryPicture_->setForeColour(line.colour);
        summaryPicture_->print(10, line.y, line.text);
    }
    summaryPicture_->setForeColour(Qt::black);
}

void MainWindow::buildHelpPanel(QWidget *central)
{
    helpFrame_ = MakeFrame(central, QStringLiteral("HelpFrame"), 8010, 1050, 6765, 6225);
    MakeBox(helpFrame_, QStringLiteral("HelpLabel"), PanelGrey, 135, 210, 6510, 5880);
    helpPicture_ = new PictureBox(helpFrame_);
    helpPicture_->setObjectName(QStringLiteral("HelpPic"));
    PlaceTwips(helpPicture_, 255, 315, 6255, 5640);
    // The desktop's window colour, whatever colour the frame around it takes.
    // The surface is made when the manual is first drawn, not at start-up.
    QPalette palette = helpPicture_->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
    helpPicture_->setPalette(palette);
    helpFrame_->hide();
}

void MainWindow::buildRenamePanel(QWidget *central)
{
    QFrame *frame5 = MakeFrame(central, QStringLiteral("Frame5"), 8010, 7290, 6765, 1125);
    MakeWatermark(frame5, QStringLiteral("Label17"), QStringLiteral("File"), 4890, 45, 48);
    const QString patterns[2] = {QStringLiteral("Titel - Artiest"),
                                 QStringLiteral("Artiest - Titel")};
    for (int i = 0; i < 2; ++i) {
        const int y = 195 + 435 * i;
        MakeBox(frame5, QStringLiteral("Label6_%1").arg(i), Qt::black, 105, y, 1200, 390);
        auto *button = new QPushButton(QStringLiteral("Rename"), frame5);
        button->setObjectName(QStringLiteral("RenameKnop_%1").arg(i));
        button->setToolTip(QStringLiteral(" Rename bestand "));
        SetBackColour(button, QColor(180, 250, 180));
        button->setAutoFillBackground(false);
        PlaceTwips(button, 135, y + 30, 1140, 330);
        connect(button, &QPushButton::clicked, this,
                [this, i] { presenter_.rename(RenameOrder(i)); });
        renameButtons_[size_t(i)] = button;
        MakeCaption(frame5, QStringLiteral("Label7_%1").arg(i), patterns[i], 1440, y + 75);
    }
}

void MainWindow::buildClockPanel(QWidget *central)
{
    QFrame *frame6 = MakeFrame(central, QStringLiteral("Frame6"), 4050, 7290, 3825, 1125);
    clockLabel_ = new QLabel(QStringLiteral("00:00:00"), frame6);
    clockLabel_->setObjectName(QStringLiteral("KlokLabel"));
    clockLabel_->setFont(ArialFont(44, true));
    SetTextColour(clockLabel_, QColor(200, 200, 170));
    PlaceTwips(clockLabel_, -135, 90);
}

void MainWindow::buildInfoStrip(QWidget *central)
{
    QFrame *frame3 = MakeFrame(central, QStringLiteral("Frame3"), 4020, 8430, 10770, 1125);
    fileNameLabel_ =
        MakeCaption(frame3, QStringLiteral("Label3"), QLatin1String(FileNamePrefix), 120, 180);
    fileDateLabel_ =
        MakeCaption(frame3, QStringLiteral("Label4"), QLatin1String(FileDatePrefix), 120, 480);
    filePathLabel_ =
        MakeCaption(frame3, QStringLiteral("Label5"), QLatin1String(FilePathPrefix), 120, 780);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));

    QMenu *file = bar->addMenu(QStringLiteral("Bestand"));
    file->setObjectName(QStringLiteral("File"));
    QAction *exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("FileExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *player = bar->addMenu(QStringLiteral("Player"));
    player->setObjectName(QStringLiteral("Projecten"));
    QAction *start = player->addAction(QStringLiteral("Afspelen"));
    start->setObjectName(QStringLiteral("ProjectStart"));
    start->setShortcut(QKeySequence(Qt::Key_F5));
    connect(start, &QAction::triggered, this, [this] { presenter_.play(); });

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help"));
    helpAction_ = help->addAction(QStringLiteral("Help"));
    helpAction_->setObjectName(QStringLiteral("HelpHelp"));
    helpAction_->setShortcut(QKeySequence(Qt::Key_F1));
    helpAction_->setCheckable(true);
    connect(helpAction_, &QAction::triggered, this, &MainWindow::toggleHelp);
    QAction *more = help->addAction(QStringLiteral("Meer Software"));
    more->setObjectName(QStringLiteral("HelpMeerSoftware"));
    connect(more, &QAction::triggered, this, [this] { presenter_.openSoftwarePage(); });
}

void MainWindow::setAccessibility()
{
    for (ImageButton *button : barButtons_)
        button->setAccessibleDescription(button->toolTip());
    for (size_t i = 0; i < fieldEdits_.size(); ++i) {
        fieldCaptions_[i]->setBuddy(fieldEdits_[i]);
        fieldEdits_[i]->setAccessibleName(fieldCaptions_[i]->text());
    }
    genreCaption_->setBuddy(genreCombo_);
    genreCombo_->setAccessibleName(QStringLiteral("Genre"));
    genreCombo_->setAccessibleDescription(QStringLiteral("Genre"));
    genreCombo_->lineEdit()->setAccessibleName(QStringLiteral("Genre"));
    updateButton_->setAccessibleName(updateButton_->text());
    updateButton_->setAccessibleDescription(updateButton_->toolTip());
    renameButtons_[0]->setAccessibleName(QStringLiteral("Rename Titel - Artiest"));
    renameButtons_[1]->setAccessibleName(QStringLiteral("Rename Artiest - Titel"));
    for (QPushButton *button : renameButtons_)
        button->setAccessibleDescription(button->toolTip());
    // On Linux a combo box is named after its current entry; screen readers
    // find what it is for in its description and its label. The drive box
    // has no caption on screen, so its label is a hidden one.
    driveCombo_->setAccessibleName(QStringLiteral("Station"));
    driveCombo_->setAccessibleDescription(QStringLiteral("Station"));
    auto *driveCaption = new QLabel(QStringLiteral("Station"), driveCombo_->parentWidget());
    driveCaption->setObjectName(QStringLiteral("DriveCaption"));
    driveCaption->setBuddy(driveCombo_);
    driveCaption->hide();
    buttonBar_->setAccessibleName(QStringLiteral("Knoppenbalk"));
    folderTree_->setAccessibleName(QStringLiteral("Mappen"));
    fileList_->setAccessibleName(QStringLiteral("Bestanden"));
    summaryPicture_->setAccessibleName(QStringLiteral("Tags"));
    helpPicture_->setAccessibleName(QStringLiteral("Uitleg Brelko"));

    // Selecting an entry through assistive technology chooses it, through the
    // same presenter calls as a click. The file's row becomes current quietly,
    // so the list does not report the choice a second time.
    OnAssistiveSelection(fileList_, [this](const QModelIndex &row) {
        selectFile(row.row());
        presenter_.chooseFile(row.row());
    });
    OnAssistiveSelection(folderTree_, [this](const QModelIndex &folder) {
        presenter_.openFolderEntry(FolderTree::folderOf(folder));
    });
    OnAssistiveSelection(genreCombo_->view(), [this](const QModelIndex &genre) {
        genreCombo_->hidePopup();
        genreCombo_->setCurrentIndex(genre.row());
    });
    OnAssistiveSelection(driveCombo_->view(), [this](const QModelIndex &drive) {
        driveCombo_->hidePopup();
        driveCombo_->setCurrentIndex(drive.row());
        presenter_.chooseDrive(drive.row());
    });
}

void MainWindow::setTabOrder()
{
    const QList<QWidget *> order = {
        buttonBar_,     driveCombo_,    folderTree_,    fileList_,         summaryPicture_,
        helpPicture_,   fieldEdits_[0], fieldEdits_[1], fieldEdits_[2],    fieldEdits_[3],
        fieldEdits_[4], genreCombo_,    updateButton_,  renameButtons_[0], renameButtons_[1]};
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}
