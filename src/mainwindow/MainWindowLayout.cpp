// The load-time layout of the main window's left and middle columns and of
// the button bar; positions in twips as the layout table gives them.
#include "MainWindow.h"

#include "Artwork.h"
#include "ButtonBar.h"
#include "Controls.h"
#include "FolderLister.h"
#include "FolderTree.h"
#include "Genres.h"
#include "ImageButton.h"
#include "Mp3ListView.h"
#include "Twips.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QTreeWidget>

namespace {

const QColor NavigationBack(230, 250, 170);
const QColor FieldBack(250, 250, 190);

const char *const ButtonTips[MainWindow::ButtonCount] = {" Velden leeg ", " Achtergrondkleuren ",
                                                         " Copy Folders ", " Tags Afdrukken ",
                                                         " Meer Software "};

struct TextField {
    const char *box;
    const char *caption;
    const char *captionText;
    int top, width, maxLength, captionLeft, captionTop;
};

const TextField TextFields[5] = {
    {"Text1", "Label9", "Titel", 240, 3510, 30, 165, 630},
    {"Text2", "Label12", "Artiest", 1140, 3510, 30, 165, 1530},
    {"Text3", "Label1", "Album", 2040, 3510, 30, 165, 2430},
    {"Text4", "Label14", "Jaar", 2940, 1200, 4, 1500, 3000},
    {"Text5", "Label15", "Informatie", 3660, 3510, 30, 165, 4050},
};

} // namespace

void MainWindow::buildButtonBar(QWidget *central)
{
    auto *bar = new ButtonBar(central);
    menuPic_ = bar;
    menuPic_->setObjectName(QStringLiteral("MenuPic"));
    SetBackColour(menuPic_, QColor(130, 130, 0));
    PlaceTwips(menuPic_, 105, 90, 14670, 960);

    for (int i = 0; i < ButtonCount; ++i) {
        const QImage picture = ButtonPicture(i);
        auto *knop = new ImageButton(picture, menuPic_);
        knop->setObjectName(QStringLiteral("Knop_%1").arg(i));
        knop->setToolTip(QString::fromLatin1(ButtonTips[i]));
        knop->setAccessibleName(knop->toolTip().trimmed());
        bar->addButton(knop);
        PlaceTwips(knop, 120 + 930 * i, 105, 720, 720);
        connect(knop, &QAbstractButton::clicked, this, [this, i] { buttonClicked(i); });
        knop_[size_t(i)] = knop;
    }

    label2_ = new QLabel(QStringLiteral("Brelko"), menuPic_);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setFont(ArialFont(36, true));
    SetTextColour(label2_, QColor(100, 100, 0));
    PlaceTwips(label2_, 11520, 30);
}

void MainWindow::buildNavigation(QWidget *central)
{
    QFrame *frame1 = MakeFrame(central, QStringLiteral("Frame1"), 90, 1050, 3825, 8505);

    drive1_ = new QComboBox(frame1);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    SetBackColour(drive1_, NavigationBack);
    PlaceTwips(drive1_, 150, 240, 3540);
    fillDrives();
    connect(drive1_, &QComboBox::activated, this, &MainWindow::driveChosen);

    dir1_ = new FolderTree(frame1);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setHeaderHidden(true);
    dir1_->setRootIsDecorated(false);
    dir1_->setItemsExpandable(false);
    dir1_->setIndentation(Px(180));
    SetBackColour(dir1_, NavigationBack);
    PlaceTwips(dir1_, 135, 720, 3540, 3060);
    connect(static_cast<FolderTree *>(dir1_), &FolderTree::folderOpened, this,
            &MainWindow::folderActivated);
    showFolderTree(startFolder_, services_.folders.subfolders(startFolder_));
    filesFolder_ = startFolder_;

    list1_ = new Mp3ListView(frame1);
    list1_->setObjectName(QStringLiteral("List1"));
    listModel_ = new QStringListModel(list1_);
    list1_->setModel(listModel_);
    SetBackColour(list1_, NavigationBack);
    PlaceTwips(list1_, 135, 3915, 3540, 4140);
    connect(list1_, &Mp3ListView::chosen, this, &MainWindow::fileChosen);

    label13_ =
        MakeCaption(frame1, QStringLiteral("Label13"), QStringLiteral("Files : 0"), 150, 8130);
}

void MainWindow::buildTagPanel(QWidget *central)
{
    QFrame *frame2 = MakeFrame(central, QStringLiteral("Frame2"), 4050, 1050, 3825, 6225);

    for (size_t i = 0; i < texts_.size(); ++i) {
        const TextField &field = TextFields[i];
        auto *box = new QLineEdit(frame2);
        box->setObjectName(QString::fromLatin1(field.box));
        box->setMaxLength(field.maxLength);
        SetBackColour(box, FieldBack);
        SetTextColour(box, CaptionGrey);
        PlaceTwips(box, 150, field.top, field.width, 330);
        texts_[i] = box;
        textCaptions_[i] = MakeCaption(frame2, QString::fromLatin1(field.caption),
                                       QString::fromLatin1(field.captionText), field.captionLeft,
                                       field.captionTop);
    }

    combo1_ = new QComboBox(frame2);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    combo1_->setCompleter(nullptr); // what the user types stays as typed
    FillGenres();
    QStringList names = GenreTable();
    SortAsFileList(names);
    combo1_->addItems(names);
    combo1_->setCurrentIndex(-1);
    combo1_->setEditText(QString());
    SetBackColour(combo1_, FieldBack);
    SetTextColour(combo1_, CaptionGrey);
    PlaceTwips(combo1_, 150, 4500, 2190);
    label11_ = MakeCaption(frame2, QStringLiteral("Label11"), QStringLiteral("Genre"), 2440, 4560);

    MakeWatermark(frame2, QStringLiteral("Label18"), QStringLiteral("Tags"), 1650, 5100, 40);
    QLabel *label16 =
        MakeCaption(frame2, QStringLiteral("Label16"), QStringLiteral("Wijzigen tags"), 165, 5340);
    SetTextColour(label16, QColor(128, 128, 128));
    MakeBox(frame2, QStringLiteral("Label10"), Qt::black, 150, 5670, 1200, 390);
    updateKnop_ = new QPushButton(QStringLiteral("Update"), frame2);
    updateKnop_->setObjectName(QStringLiteral("UpdateKnop"));
    updateKnop_->setToolTip(QStringLiteral(" Wijzigen tags "));
    SetBackColour(updateKnop_, QColor(250, 190, 190));
    updateKnop_->setAutoFillBackground(false);
    PlaceTwips(updateKnop_, 180, 5700, 1140, 330);
    connect(updateKnop_, &QPushButton::clicked, this, &MainWindow::updateClicked);
}
