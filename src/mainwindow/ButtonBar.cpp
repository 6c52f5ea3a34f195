#include "ButtonBar.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPainter>

ButtonBar::ButtonBar(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ButtonBar::addButton(QAbstractButton *button)
{
    buttons_.append(button);
    if (buttons_.size() == 1)
        choose(0);
}

void ButtonBar::choose(int index)
{
    chosen_ = index;
    setAccessibleDescription(buttons_.at(index)->accessibleName());
    update();
}

void ButtonBar::keyPressEvent(QKeyEvent *event)
{
    if (!framed_) {
        framed_ = true;
        update();
    }
    const int count = int(buttons_.size());
    if (count == 0 || event->modifiers() != Qt::NoModifier)
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Left:
        choose((chosen_ + count - 1) % count);
        break;
    case Qt::Key_Right:
        choose((chosen_ + 1) % count);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        buttons_.at(chosen_)->click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ButtonBar::paintEvent(QPaintEvent *)
{
    if (!hasFocus() || !framed_ || buttons_.isEmpty())
        return;
    // The button moves while it is pressed; the frame stays where it was.
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(buttons_.at(chosen_)->geometry().adjusted(-3, -3, 2, 2));
}

void ButtonBar::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    // As native controls do, the frame shows once the keyboard is in use,
    // not when the window merely opens with the bar first in line.
    const Qt::FocusReason reason = event->reason();
    framed_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
              reason == Qt::ShortcutFocusReason;
    update();
}

void ButtonBar::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
