#include "LiveText.h"

#include <QAccessible>
#include <QLabel>

void SetLiveText(QLabel *label, const QString &text)
{
    // The clock writes the same text ten times a second; only a change is news.
    if (label->text() == text)
        return;
    label->setText(text);
    AnnounceNameChange(label);
}

void AnnounceNameChange(QWidget *widget)
{
    // A name set by hand would hide the text; the text is the name.
    widget->setAccessibleName(QString());
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
