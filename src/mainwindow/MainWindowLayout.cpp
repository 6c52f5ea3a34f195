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
    buttonBar_ = bar;
    buttonBar_->setObjectName(QStringLiteral("MenuPic"));
    SetBackColour(buttonBar_, QColor(130, 130, 0));
    PlaceTwips(buttonBar_, 105, 90, 14670, 960);

    for (int i = 0; i < ButtonCount; ++i) {
        const QImage picture = ButtonPicture(i);
        auto *button = new ImageButton(picture, buttonBar_);
        button->setObjectName(QStringLiteral("Knop_%1").arg(i));
        button->setToolTip(QString::fromLatin1(ButtonTips[i]));
        button->setAccessibleName(button->toolTip().trimmed());
        bar->addButton(button);
        PlaceTwips(button, 120 + 930 * i, 105, 720, 720);
        connect(button, &QAbstractButton::clicked, this, [this, i] { buttonClicked(Button(i)); });
        barButtons_[size_t(i)] = button;
    }

    titleLineLabel_ = new QLabel(QStringLiteral("Brelko"), buttonBar_);
    titleLineLabel_->setObjectName(QStringLiteral("Label2"));
    titleLineLabel_->setFont(ArialFont(36, true));
    SetTextColour(titleLineLabel_, QColor(100, 100, 0));
    PlaceTwips(titleLineLabel_, 11520, 30);
}

void MainWindow::buildNavigation(QWidget *central)
{
    QFrame *frame1 = MakeFrame(central, QStringLiteral("Frame1"), 90, 1050, 3825, 8505);

    driveCombo_ = new QComboBox(frame1);
    driveCombo_->setObjectName(QStringLiteral("Drive1"));
    SetBackColour(driveCombo_, NavigationBack);
    PlaceTwips(driveCombo_, 150, 240, 3540);
    connect(driveCombo_, &QComboBox::activated, this,
            [this](int index) { presenter_.chooseDrive(index); });

    folderTree_ = new FolderTree(frame1);
    folderTree_->setObjectName(QStringLiteral("Dir1"));
    folderTree_->setHeaderHidden(true);
    folderTree_->setRootIsDecorated(false);
    folderTree_->setItemsExpandable(false);
    folderTree_->setIndentation(Px(180));
    SetBackColour(folderTree_, NavigationBack);
    PlaceTwips(folderTree_, 135, 720, 3540, 3060);
    connect(folderTree_, &FolderTree::folderOpened, this,
            [this](const QString &folder) { presenter_.openFolderEntry(folder); });

    fileList_ = new Mp3ListView(frame1);
    fileList_->setObjectName(QStringLiteral("List1"));
    fileListModel_ = new QStringListModel(fileList_);
    fileList_->setModel(fileListModel_);
    SetBackColour(fileList_, NavigationBack);
    PlaceTwips(fileList_, 135, 3915, 3540, 4140);
    connect(fileList_, &Mp3ListView::chosen, this, [this](int row) { presenter_.chooseFile(row); });

    fileCountLabel_ =
        MakeCaption(frame1, QStringLiteral("Label13"), QStringLiteral("Files : 0"), 150, 8130);
    presenter_.start();
}

void MainWindow::buildTagPanel(QWidget *central)
{
    QFrame *frame2 = MakeFrame(central, QStringLiteral("Frame2"), 4050, 1050, 3825, 6225);

    for (size_t i = 0; i < fieldEdits_.size(); ++i) {
        const TextField &field = TextFields[i];
        auto *box = new QLineEdit(frame2);
        box->setObjectName(QString::fromLatin1(field.box));
        box->setMaxLength(field.maxLength);
        SetBackColour(box, FieldBack);
        SetTextColour(box, CaptionGrey);
        PlaceTwips(box, 150, field.top, field.width, 330);
        connect(box, &QLineEdit::textChanged, this,
                [this, i](const QString &text) { presenter_.setField(int(i), text); });
        fieldEdits_[i] = box;
        fieldCaptions_[i] = MakeCaption(frame2, QString::fromLatin1(field.caption),
                                        QString::fromLatin1(field.captionText), field.captionLeft,
                                        field.captionTop);
    }

    genreCombo_ = new QComboBox(frame2);
    genreCombo_->setObjectName(QStringLiteral("Combo1"));
    genreCombo_->setEditable(true);
    genreCombo_->setInsertPolicy(QComboBox::NoInsert);
    genreCombo_->setCompleter(nullptr); // what the user types stays as typed
    QStringList names = GenreTable();
    SortAsFileList(names);
    genreCombo_->addItems(names);
    genreCombo_->setCurrentIndex(-1);
    genreCombo_->setEditText(QString());
    connect(genreCombo_, &QComboBox::editTextChanged, this,
            [this](const QString &text) { presenter_.setGenre(text); });
    SetBackColour(genreCombo_, FieldBack);
    SetTextColour(genreCombo_, CaptionGrey);
    PlaceTwips(genreCombo_, 150, 4500, 2190);
    genreCaption_ =
        MakeCaption(frame2, QStringLiteral("Label11"), QStringLiteral("Genre"), 2440, 4560);

    MakeWatermark(frame2, QStringLiteral("Label18"), QStringLiteral("Tags"), 1650, 5100, 40);
    QLabel *label16 =
        MakeCaption(frame2, QStringLiteral("Label16"), QStringLiteral("Wijzigen tags"), 165, 5340);
    SetTextColour(label16, QColor(128, 128, 128));
    MakeBox(frame2, QStringLiteral("Label10"), Qt::black, 150, 5670, 1200, 390);
    updateButton_ = new QPushButton(QStringLiteral("Update"), frame2);
    updateButton_->setObjectName(QStringLiteral("UpdateKnop"));
    updateButton_->setToolTip(QStringLiteral(" Wijzigen tags "));
    SetBackColour(updateButton_, QColor(250, 190, 190));
    updateButton_->setAutoFillBackground(false);
    PlaceTwips(updateButton_, 180, 5700, 1140, 330);
    connect(updateButton_, &QPushButton::clicked, this, [this] { presenter_.update(); });
}
