// Builds the controls of the copy window where and as the user expects them.
// Positions are kept in twips, as the window was designed, and turned into
// pixels at 15 twips per pixel.

#include "CopyFoldersWindow.h"

#include "Controls.h"
#include "Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace {
// A folder with an arrow leaving it, drawn so it scales to any size.
QPixmap FolderPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);
    painter.setPen(QPen(QColor(96, 72, 0), 1.5));
    painter.setBrush(QColor(240, 200, 80));
    painter.drawRect(QRectF(4, 14, 34, 26));
    painter.drawRect(QRectF(4, 10, 14, 5));
    painter.setPen(QPen(QColor(0, 96, 0), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(24, 27), QPointF(42, 27));
    painter.drawLine(QPointF(42, 27), QPointF(35, 20));
    painter.drawLine(QPointF(42, 27), QPointF(35, 34));
    return picture;
}

QPalette WithColours(QPalette palette, const QColor &background, const QColor &text)
{
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

QLabel *CaptionLabel(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setPalette(WithColours(label->palette(), Qt::transparent, QColor(64, 64, 0)));
    label->move(Px(left), Px(top));
    label->adjustSize();
    return label;
}

QLineEdit *PathBox(QWidget *parent, const char *name, const QString &accessibleName, int top)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(accessibleName);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(200, 200, 230));
    palette.setColor(QPalette::Text, QColor(64, 64, 0));
    box->setPalette(palette);
    box->setGeometry(TwipsRect(240, top, 4500, 300));
    return box;
}

QGroupBox *Frame(QWidget *parent, const char *name, const QString &caption, const QRect &place,
                 const QPalette &coloured)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setAccessibleName(caption.trimmed());
    frame->setPalette(WithColours(coloured, coloured.color(QPalette::Window), Qt::black));
    frame->setAutoFillBackground(true);
    frame->setGeometry(place);
    return frame;
}

// The designed boxes are 12 pixels high, less than the font; they grow to
// show their whole caption, about the same middle line and never past the
// edge of their frame.
void FitToText(QWidget *box, const QRect &place)
{
    const QSize wanted = box->sizeHint();
    const int right = box->parentWidget()->width() - 2;
    const int width =
        qBound(place.width(), wanted.width(), qMax(place.width(), right - place.left()));
    const int height = qMax(place.height(), wanted.height());
    box->setGeometry(place.left(), place.top() - (height - place.height()) / 2, width, height);
}

template <typename Box>
Box *ColouredBox(QWidget *parent, const QString &name, const QString &text, const QRect &place,
                 const QPalette &coloured)
{
    auto *box = new Box(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(text);
    box->setPalette(WithColours(coloured, coloured.color(QPalette::Window), QColor(64, 64, 64)));
    box->setBackgroundRole(QPalette::Window);
    box->setAutoFillBackground(true);
    box->setGeometry(place);
    FitToText(box, place);
    return box;
}

// A button with a coloured face in front of a black box 30 twips larger on
// every side, which shows as a black outline.
QPushButton *FacedButton(QWidget *parent, const char *name, const char *boxName,
                         const QString &text, int left, int top, const QColor &face)
{
    MakeBox(parent, QLatin1String(boxName), Qt::black, left - 30, top - 30, 1500, 390);
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black; "
                                         "border: none; }"
                                         "QPushButton:focus { border: 1px dotted black; }"
                                         "QPushButton:pressed { background-color: %2; }")
                              .arg(face.name(), face.darker(115).name()));
    button->setGeometry(TwipsRect(left, top, 1440, 330));
    return button;
}
} // namespace

void CopyFoldersWindow::buildControls(const BackgroundColour &colour)
{
    // The user's colour, as the settings keep it: out-of-range parts are
    // clamped, as the platform would.
    const QColor background(qBound(0, colour.red, 255), qBound(0, colour.green, 255), colour.blue);
    setWindowTitle(QStringLiteral(" Copy Folders"));
    setWindowIcon(QIcon(FolderPicture(16)));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9.75);
    setFont(arial);
    // 7200 x 5400 twips outside; the title bar and borders take about 8 x 31.
    setFixedSize(Px(7200) - 8, Px(5400) - 31);
    const QPalette coloured = WithColours(palette(), background, QColor(64, 64, 64));
    setPalette(coloured);
    setAutoFillBackground(true);

    QGroupBox *frame1 = Frame(this, "Frame1", QString(), TwipsRect(90, 0, 6930, 4830), coloured);
    frame1->setAccessibleName(QString());
    CaptionLabel(frame1, "Label1", QStringLiteral("Move or copy this folder"), 255, 300);
    sourceEdit_ = PathBox(frame1, "Text1", QStringLiteral("Move or copy this folder"), 540);
    CaptionLabel(frame1, "Label2", QStringLiteral("And put it to..."), 270, 900);
    destinationEdit_ = PathBox(frame1, "Text2", QStringLiteral("And put it to..."), 1140);
    auto *image = new QLabel(frame1);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(FolderPicture(48));
    image->setGeometry(TwipsRect(5490, 1770, 720, 720));

    QGroupBox *frame2 = Frame(frame1, "Frame2", QStringLiteral(" Action to Perform "),
                              TwipsRect(240, 1800, 4500, 900), coloured);
    actionOptions_[1] = ColouredBox<QRadioButton>(frame2, QStringLiteral("Option1_1"), QString(),
                                                  TwipsRect(150, 270, 3300, 180), coloured);
    actionOptions_[2] = ColouredBox<QRadioButton>(frame2, QStringLiteral("Option1_2"), QString(),
                                                  TwipsRect(150, 540, 3300, 180), coloured);
    // The choice follows the checked state however it was made: a click, an
    // arrow key or the toggle action of assistive technology.
    for (int index : {1, 2})
        connect(actionOptions_[index], &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                optionChosen(index);
        });
    // Every opening starts with copying selected.
    actionOptions_[2]->setChecked(true);
    optionChosen(2);
    actionOptions_[1]->setText(QStringLiteral("Move Source Folder to Destination"));
    actionOptions_[2]->setText(QStringLiteral("Copy Source Folder to Destination"));
    for (int index : {1, 2}) {
        actionOptions_[index]->setAccessibleName(actionOptions_[index]->text());
        FitToText(actionOptions_[index], TwipsRect(150, 270 * index, 3300, 180));
    }

    buildOptions(frame1, coloured);
    buildButtons(frame1, coloured);
    setKeyboardOrder();
}

void CopyFoldersWindow::buildOptions(QWidget *frame1, const QPalette &coloured)
{
    QGroupBox *frame3 = Frame(frame1, "Frame3", QStringLiteral(" Options "),
                              TwipsRect(240, 3000, 4500, 1590), coloured);
    const QString captions[4] = {QStringLiteral("Don't show operation (no copy dialog)"),
                                 QStringLiteral("Don't show filenames for multiple deletes"),
                                 QStringLiteral("Don't prompt for confirmation"),
                                 QStringLiteral("Rename file if target name already exists")};
    int top = 330;
    for (int index = 0; index < 4; ++index, top += 300)
        optionChecks_[index] =
            ColouredBox<QCheckBox>(frame3, QStringLiteral("Check1_%1").arg(index), captions[index],
                                   TwipsRect(210, top, 3600, 180), coloured);
}

void CopyFoldersWindow::buildButtons(QWidget *frame1, const QPalette &coloured)
{
    const QColor green(192, 255, 192);
    const QColor red(255, 192, 192);
    QPushButton *source = FacedButton(frame1, "Command1_0", "Label3",
                                      QStringLiteral("Select Source"), 5130, 495, green);
    QPushButton *target = FacedButton(frame1, "Command1_1", "Label4",
                                      QStringLiteral("Select Target"), 5130, 1095, green);
    optionChecks_[4] = ColouredBox<QCheckBox>(frame1, QStringLiteral("Check1_4"),
                                              QStringLiteral("Prompt me before"),
                                              TwipsRect(5040, 2790, 1860, 180), coloured);
    QPushButton *start =
        FacedButton(frame1, "Command2", "Label5", QStringLiteral("Start Copy"), 5130, 3630, red);
    QPushButton *exit =
        FacedButton(frame1, "Command3", "Label6", QStringLiteral("Exit"), 5130, 4200, red);
    connect(source, &QPushButton::clicked, this, [this] { selectClicked(0); });
    connect(target, &QPushButton::clicked, this, [this] { selectClicked(1); });
    connect(start, &QPushButton::clicked, this, &CopyFoldersWindow::startClicked);
    connect(exit, &QPushButton::clicked, this, &CopyFoldersWindow::exitClicked);
}

void CopyFoldersWindow::setKeyboardOrder()
{
    const QList<QWidget *> order = {sourceEdit_,
                                    destinationEdit_,
                                    actionOptions_[1],
                                    actionOptions_[2],
                                    optionChecks_[0],
                                    optionChecks_[1],
                                    optionChecks_[2],
                                    optionChecks_[3],
                                    findChild<QWidget *>(QStringLiteral("Command1_0")),
                                    findChild<QWidget *>(QStringLiteral("Command1_1")),
                                    findChild<QWidget *>(QStringLiteral("Command2")),
                                    findChild<QWidget *>(QStringLiteral("Command3")),
                                    optionChecks_[4]};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget *widget : findChildren<QLabel *>())
        widget->setFocusPolicy(Qt::NoFocus);
    sourceEdit_->setFocus();
}
