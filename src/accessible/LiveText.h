#pragma once

#include <QString>

class QLabel;
class QWidget;

// A label's accessible name is its text, and Qt tells screen readers nothing
// when the text changes, so they keep announcing the first one. These keep
// what a screen reader hears equal to what the screen shows.

// Shows text in a label and announces the label's new name.
void SetLiveText(QLabel *label, const QString &text);

// Tells assistive technology that a widget's name changed (its text did).
void AnnounceNameChange(QWidget *widget);
