#include "Controls.h"

#include "Twips.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPalette>

const QColor CaptionGrey(64, 64, 64);

void PlaceTwips(QWidget *widget, int left, int top, int width, int height)
{
    const QSize own = widget->sizeHint();
    widget->setGeometry(Px(left), Px(top), width < 0 ? own.width() : Px(width),
                        height < 0 ? own.height() : Px(height));
}

void SetBackColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

QFont ArialFont(qreal points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFrame *MakeFrame(QWidget *parent, const QString &name, int left, int top, int width, int height)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setAutoFillBackground(true);
    PlaceTwips(frame, left, top, width, height);
    return frame;
}

QLabel *MakeCaption(QWidget *parent, const QString &name, const QString &text, int left, int top)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    // File names are shown as they are, never read as markup. No accessible
    // name: then the text is the name, and Qt announces every change of it
    // to screen readers, which a fixed name would hide.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    SetTextColour(label, CaptionGrey);
    PlaceTwips(label, left, top);
    return label;
}

void SetCaption(QLabel *label, const QString &text)
{
    label->setText(text);
    label->resize(label->sizeHint());
}

QLabel *MakeBox(QWidget *parent, const QString &name, const QColor &colour, int left, int top,
                int width, int height)
{
    auto *box = new QLabel(parent);
    box->setObjectName(name);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    SetBackColour(box, colour);
    PlaceTwips(box, left, top, width, height);
    return box;
}

QLabel *MakeWatermark(QWidget *parent, const QString &name, const QString &text, int left, int top,
                      qreal points)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(ArialFont(points, true));
    SetTextColour(label, QColor(200, 200, 200));
    PlaceTwips(label, left, top);
    label->lower();
    return label;
}
