#include "ColourWindow.h"

#include "Controls.h"
#include "Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// The window is 4200 x 2775 twips outside; a fixed dialog's frame takes
// 3 pixels on every side and its title bar 24 more at the top.
const QSize ClientSize(Px(4200) - 6, Px(2775) - 30);

// Qt's horizontal scroll bar takes Left as "more" (its controls are
// inverted for the wheel's sake); on a colour bar Right means more.
class ColourBar : public QScrollBar {
public:
    explicit ColourBar(QWidget *parent) : QScrollBar(Qt::Horizontal, parent) {}

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Left && event->modifiers() == Qt::NoModifier)
            triggerAction(SliderSingleStepSub);
        else if (event->key() == Qt::Key_Right && event->modifiers() == Qt::NoModifier)
            triggerAction(SliderSingleStepAdd);
        else
            QScrollBar::keyPressEvent(event);
    }
};

int clampComponent(int value)
{
    return qBound(0, value, 255);
}

QLabel *captionLabel(QWidget *parent, const QString &name, const QString &text,
                     const QColor &colour, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(ArialFont(9.75));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAutoFillBackground(false); // the window's colour shows through
    label->move(Px(left), Px(top));
    label->adjustSize();
    return label;
}

QPushButton *faceButton(QWidget *parent, const QString &name, const QString &caption,
                        const QColor &face, const QRect &rect)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, face);
    button->setPalette(palette);
    button->setAutoDefault(false);
    button->setGeometry(rect);
    return button;
}

} // namespace

ColourWindow::ColourWindow(BackgroundColour &colour, std::function<void()> applyBackground,
                           QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      colour_(colour), applyBackground_(std::move(applyBackground))
{
    setObjectName(QStringLiteral("Config"));
    setWindowTitle(QStringLiteral(" Configuratie"));
    setModal(true);
    setFixedSize(ClientSize);
    setAutoFillBackground(true);

    // A hand-edited settings file may hold any number; the bars hold 0..255.
    colour_ =
        BackgroundColour{clampComponent(colour_.red), clampComponent(colour_.green), colour_.blue};

    buildControls();
    showValues();
    // The main window may not be showing the colour the bars start at (a
    // settings file read only in part leaves it at the default), so both
    // are painted now, as after any change.
    paintBackgrounds();
}

void ColourWindow::buildControls()
{
    MakeBox(this, QStringLiteral("Label1"), Qt::black, 240, 240, 1740, 960);
    const QString letters[] = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    const QColor textColours[] = {QColor(64, 0, 0), QColor(0, 64, 0), QColor(0, 0, 64)};
    int top = 270;
    for (int i = 0; i < 3; ++i, top += 300) {
        auto *bar = new ColourBar(this);
        bar->setObjectName(QStringLiteral("ColorScroll%1").arg(i + 1));
        bar->setAccessibleName(letters[i]);
        bar->setRange(0, 255);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setTracking(false); // a dragged thumb paints when it is let go
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setGeometry(TwipsRect(270, top, 1680, 300));
        connect(bar, &QScrollBar::valueChanged, this,
                [this, i](int value) { barChanged(i, value); });
        bars_[i] = bar;
        valueLabels_[i] = captionLabel(this, QStringLiteral("ColorLabel%1").arg(i + 1), QString(),
                                       textColours[i], 2080, top + 30);
    }
    captionLabel(this, QStringLiteral("Label2"), QStringLiteral("Achtergrondkleuren"), CaptionGrey,
                 270, 1290);
    MakeBox(this, QStringLiteral("Label3"), Qt::black, 240, 1740, 930, 390);
    resetButton_ = faceButton(this, QStringLiteral("ResetKnop"), QStringLiteral("Reset"),
                              QColor(190, 220, 220), TwipsRect(270, 1770, 870, 330));
    captionLabel(this, QStringLiteral("Label4"), QStringLiteral("Reset kleuren"), CaptionGrey, 1260,
                 1800);
    MakeBox(this, QStringLiteral("BackKnoppen"), Qt::black, 3000, 1755, 900, 390);
    okButton_ = faceButton(this, QStringLiteral("CancelKnop"), QStringLiteral("Ok"),
                           QColor(255, 224, 192), TwipsRect(3030, 1785, 840, 330));
    connect(resetButton_, &QPushButton::clicked, this, &ColourWindow::resetColour);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(okButton_, bars_[0]);
    setTabOrder(bars_[0], bars_[1]);
    setTabOrder(bars_[1], bars_[2]);
    setTabOrder(bars_[2], resetButton_);
    okButton_->setFocus();
}

void ColourWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    okButton_->setFocus();
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void ColourWindow::barChanged(int index, int value)
{
    switch (index) {
    case 0:
        colour_.red = value;
        break;
    case 1:
        colour_.green = value;
        break;
    default:
        colour_.blue = static_cast<quint8>(value);
        break;
    }
    showValues();
    paintBackgrounds();
}

void ColourWindow::resetColour()
{
    colour_ = BackgroundColour{}; // the start-up default, 220/220/190
    showValues();
    paintBackgrounds();
}

// Bars and labels follow the stored colour. Moving a bar here is no change
// by the user: the colour is painted once by whoever changed it.
void ColourWindow::showValues()
{
    const int values[] = {colour_.red, colour_.green, colour_.blue};
    const QString prefixes[] = {QStringLiteral("R: "), QStringLiteral("G: "),
                                QStringLiteral("B: ")};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker quiet(bars_[i]);
        bars_[i]->setValue(values[i]);
        valueLabels_[i]->setText(prefixes[i] + QString::number(values[i]));
        valueLabels_[i]->adjustSize();
    }
}

void ColourWindow::paintBackgrounds()
{
    paintOwnBackground();
    if (applyBackground_)
        applyBackground_();
}

void ColourWindow::paintOwnBackground()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(colour_.red, colour_.green, colour_.blue));
    setPalette(palette);
}
