#include "ImageButton.h"

#include <QPainter>

ImageButton::ImageButton(const QImage &picture, QWidget *parent)
    : QAbstractButton(parent), picture_(picture)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
}
