#include "ColourWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// The layout is drawn in twips; the screen counts 15 of them to a pixel.
int px(int twips)
{
    return qRound(twips / 15.0);
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// The window is 4200 x 2775 twips outside; a fixed dialog's frame takes
// 3 pixels on every side and its title bar 24 more at the top.
const QSize ClientSize(px(4200) - 6, px(2775) - 30);

const QColor LabelGrey(64, 64, 64);

QFont labelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    return font;
}

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
    label->setFont(labelFont());
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAutoFillBackground(false); // the window's colour shows through
    label->move(px(left), px(top));
    label->adjustSize();
    return label;
}

// A black box with a thin border, 30 twips larger than what stands in front.
QLabel *blackBox(QWidget *parent, const QString &name, const QRect &rect)
{
    auto *box = new QLabel(parent);
    box->setObjectName(name);
    box->setFrameShape(QFrame::Box);
    box->setLineWidth(1);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    box->setPalette(palette);
    box->setAutoFillBackground(true);
    box->setGeometry(rect);
    return box;
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
    const BackgroundColour clamped{clampComponent(colour_.red), clampComponent(colour_.green),
                                   colour_.blue};
    const bool changed = !(clamped == colour_);
    colour_ = clamped;

    buildControls();
    showValues();
    paintOwnBackground();
    if (changed && applyBackground_)
        applyBackground_();
}

void ColourWindow::buildControls()
{
    blackBox(this, QStringLiteral("Label1"), twipsRect(240, 240, 1740, 960));
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
        bar->setGeometry(twipsRect(270, top, 1680, 300));
        connect(bar, &QScrollBar::valueChanged, this,
                [this, i](int value) { barChanged(i, value); });
        bars_[i] = bar;
        valueLabels_[i] = captionLabel(this, QStringLiteral("ColorLabel%1").arg(i + 1), QString(),
                                       textColours[i], 2080, top + 30);
    }
    captionLabel(this, QStringLiteral("Label2"), QStringLiteral("Achtergrondkleuren"), LabelGrey,
                 270, 1290);
    blackBox(this, QStringLiteral("Label3"), twipsRect(240, 1740, 930, 390));
    resetButton_ = faceButton(this, QStringLiteral("ResetKnop"), QStringLiteral("Reset"),
                              QColor(190, 220, 220), twipsRect(270, 1770, 870, 330));
    captionLabel(this, QStringLiteral("Label4"), QStringLiteral("Reset kleuren"), LabelGrey, 1260,
                 1800);
    blackBox(this, QStringLiteral("BackKnoppen"), twipsRect(3000, 1755, 900, 390));
    okButton_ = faceButton(this, QStringLiteral("CancelKnop"), QStringLiteral("Ok"),
                           QColor(255, 224, 192), twipsRect(3030, 1785, 840, 330));
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
