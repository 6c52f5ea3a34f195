#include "PictureBox.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    font_ = QFont(QStringLiteral("Arial"));
    font_.setPointSizeF(9.75);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (surface_.size() == size())
        return;
    QImage grown(size(), QImage::Format_RGB32);
    grown.fill(background_);
    QPainter painter(&grown);
    painter.drawImage(0, 0, surface_);
    surface_ = grown;
}

void PictureBox::wipe(const QColor &background)
{
    background_ = background;
    if (surface_.size() != size())
        surface_ = QImage(size(), QImage::Format_RGB32);
    surface_.fill(background);
    drawn_.clear();
    describe();
    update();
}

void PictureBox::setPicture(const QImage &picture)
{
    QPainter painter(&surface_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), surface_.size()), picture);
    update();
}

void PictureBox::setFontSize(qreal points)
{
    font_.setPointSizeF(points);
}

void PictureBox::setBold(bool bold)
{
    font_.setBold(bold);
}

void PictureBox::setFontFamily(const QString &family)
{
    font_.setFamily(family);
}

void PictureBox::print(int x, int y, const QString &text)
{
    QPainter painter(&surface_);
    painter.setFont(font_);
    painter.setPen(foreColour_);
    const QFontMetrics metrics(font_, &surface_);
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    drawn_.append(
        Drawn{QPoint(x, y), text, QSize(), foreColour_, font_.pointSizeF(), font_.bold()});
    describe();
    update(QRect(x, y, metrics.horizontalAdvance(text) + 2, metrics.height()));
}

void PictureBox::drawPicture(const QRect &target, const QImage &picture)
{
    QPainter painter(&surface_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
    drawn_.append(Drawn{target.topLeft(), QString(), target.size(), QColor(), 0, false});
    update(target);
}

void PictureBox::describe()
{
    QList<Drawn> texts;
    std::copy_if(drawn_.cbegin(), drawn_.cend(), std::back_inserter(texts),
                 [](const Drawn &item) { return !item.text.trimmed().isEmpty(); });
    std::stable_sort(texts.begin(), texts.end(), [](const Drawn &a, const Drawn &b) {
        return std::make_pair(a.position.y(), a.position.x()) <
               std::make_pair(b.position.y(), b.position.x());
    });
    QStringList lines;
    int lineTop = -1;
    for (const Drawn &item : texts) {
        if (lines.isEmpty() || item.position.y() != lineTop)
            lines.append(item.text.trimmed());
        else
            lines.last() += QLatin1Char(' ') + item.text.trimmed();
        lineTop = item.position.y();
    }
    setAccessibleDescription(lines.join(QLatin1Char('\n')));
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_, event->rect());
}
