// The load-time layout of the right column, the clock, the information strip
// and the menus.
#include "MainWindow.h"

#include "Artwork.h"
#include "AssistiveSelection.h"
#include "Controls.h"
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
#include <QTreeWidget>

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
    frame4_ = MakeFrame(central, QStringLiteral("Frame4"), 8010, 1050, 6765, 6225);
    MakeBox(frame4_, QStringLiteral("Label8"), PanelGrey, 135, 210, 6510, 5880);
    pic_ = new PictureBox(frame4_);
    pic_->setObjectName(QStringLiteral("Pic"));
    PlaceTwips(pic_, 255, 315, 6255, 5640);
    writeWelcome();
}

void MainWindow::writeWelcome()
{
    pic_->wipe(Qt::white);
    pic_->setPicture(WelcomePicture());
    for (const WelcomeLine &line : WelcomeLines()) {
        pic_->setFontSize(line.points);
        pic_->setForeColour(line.colour);
        pic_->print(10, line.y, line.text);
    }
    pic_->setForeColour(Qt::black);
}

void MainWindow::buildHelpPanel(QWidget *central)
{
    helpFrame_ = MakeFrame(central, QStringLiteral("HelpFrame"), 8010, 1050, 6765, 6225);
    MakeBox(helpFrame_, QStringLiteral("HelpLabel"), PanelGrey, 135, 210, 6510, 5880);
    helpPic_ = new PictureBox(helpFrame_);
    helpPic_->setObjectName(QStringLiteral("HelpPic"));
    PlaceTwips(helpPic_, 255, 315, 6255, 5640);
    // The desktop's window colour, whatever colour the frame around it takes.
    QPalette palette = helpPic_->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
    helpPic_->setPalette(palette);
    helpPic_->wipe(palette.color(QPalette::Base));
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
        connect(button, &QPushButton::clicked, this, [this, i] { renameClicked(i); });
        renameKnop_[size_t(i)] = button;
        MakeCaption(frame5, QStringLiteral("Label7_%1").arg(i), patterns[i], 1440, y + 75);
    }
}

void MainWindow::buildClockPanel(QWidget *central)
{
    QFrame *frame6 = MakeFrame(central, QStringLiteral("Frame6"), 4050, 7290, 3825, 1125);
    klokLabel_ = new QLabel(QStringLiteral("00:00:00"), frame6);
    klokLabel_->setObjectName(QStringLiteral("KlokLabel"));
    klokLabel_->setFont(ArialFont(44, true));
    SetTextColour(klokLabel_, QColor(200, 200, 170));
    PlaceTwips(klokLabel_, -135, 90);
}

void MainWindow::buildInfoStrip(QWidget *central)
{
    QFrame *frame3 = MakeFrame(central, QStringLiteral("Frame3"), 4020, 8430, 10770, 1125);
    label3_ =
        MakeCaption(frame3, QStringLiteral("Label3"), QLatin1String(FileNamePrefix), 120, 180);
    label4_ =
        MakeCaption(frame3, QStringLiteral("Label4"), QLatin1String(FileDatePrefix), 120, 480);
    label5_ =
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
    connect(start, &QAction::triggered, this, &MainWindow::play);

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help"));
    helpHelp_ = help->addAction(QStringLiteral("Help"));
    helpHelp_->setObjectName(QStringLiteral("HelpHelp"));
    helpHelp_->setShortcut(QKeySequence(Qt::Key_F1));
    helpHelp_->setCheckable(true);
    connect(helpHelp_, &QAction::triggered, this, &MainWindow::toggleHelp);
    QAction *more = help->addAction(QStringLiteral("Meer Software"));
    more->setObjectName(QStringLiteral("HelpMeerSoftware"));
    connect(more, &QAction::triggered, this, &MainWindow::openSoftwarePage);
}

void MainWindow::setAccessibility()
{
    for (ImageButton *knop : knop_)
        knop->setAccessibleDescription(knop->toolTip());
    for (size_t i = 0; i < texts_.size(); ++i) {
        textCaptions_[i]->setBuddy(texts_[i]);
        texts_[i]->setAccessibleName(textCaptions_[i]->text());
    }
    label11_->setBuddy(combo1_);
    combo1_->setAccessibleName(QStringLiteral("Genre"));
    combo1_->setAccessibleDescription(QStringLiteral("Genre"));
    combo1_->lineEdit()->setAccessibleName(QStringLiteral("Genre"));
    updateKnop_->setAccessibleName(updateKnop_->text());
    updateKnop_->setAccessibleDescription(updateKnop_->toolTip());
    renameKnop_[0]->setAccessibleName(QStringLiteral("Rename Titel - Artiest"));
    renameKnop_[1]->setAccessibleName(QStringLiteral("Rename Artiest - Titel"));
    for (QPushButton *button : renameKnop_)
        button->setAccessibleDescription(button->toolTip());
    // On Linux a combo box is named after its current entry; screen readers
    // find what it is for in its description and its label. The drive box
    // has no caption on screen, so its label is a hidden one.
    drive1_->setAccessibleName(QStringLiteral("Station"));
    drive1_->setAccessibleDescription(QStringLiteral("Station"));
    auto *driveCaption = new QLabel(QStringLiteral("Station"), drive1_->parentWidget());
    driveCaption->setObjectName(QStringLiteral("DriveCaption"));
    driveCaption->setBuddy(drive1_);
    driveCaption->hide();
    menuPic_->setAccessibleName(QStringLiteral("Knoppenbalk"));
    dir1_->setAccessibleName(QStringLiteral("Mappen"));
    list1_->setAccessibleName(QStringLiteral("Bestanden"));
    pic_->setAccessibleName(QStringLiteral("Tags"));
    helpPic_->setAccessibleName(QStringLiteral("Uitleg Brelko"));

    // Selecting an entry through assistive technology chooses it.
    OnAssistiveSelection(list1_, [this](const QModelIndex &row) { list1_->setCurrentIndex(row); });
    OnAssistiveSelection(combo1_->view(), [this](const QModelIndex &genre) {
        combo1_->hidePopup();
        combo1_->setCurrentIndex(genre.row());
    });
    OnAssistiveSelection(drive1_->view(), [this](const QModelIndex &drive) {
        drive1_->hidePopup();
        drive1_->setCurrentIndex(drive.row());
        driveChosen(drive.row());
    });
}

void MainWindow::setTabOrder()
{
    const QList<QWidget *> order = {menuPic_,    drive1_,        dir1_,         list1_,
                                    pic_,        helpPic_,       texts_[0],     texts_[1],
                                    texts_[2],   texts_[3],      texts_[4],     combo1_,
                                    updateKnop_, renameKnop_[0], renameKnop_[1]};
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}
