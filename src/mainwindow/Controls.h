#pragma once

#include <QColor>
#include <QString>

class QFont;
class QFrame;
class QLabel;
class QWidget;

// Small helpers for laying out controls in twips, with the colours and
// texts the window gives them.

// Places a widget at a position and size in twips; a height (or width) of
// -1 keeps the widget's own.
void PlaceTwips(QWidget *widget, int left, int top, int width = -1, int height = -1);

// Sets the colour of one palette role (all colour groups) and tells the
// widget to fill its background when the role is the window's.
void SetBackColour(QWidget *widget, const QColor &colour);
void SetTextColour(QWidget *widget, const QColor &colour);

// A frame without a caption: an etched border, filled with its colour.
QFrame *MakeFrame(QWidget *parent, const QString &name, int left, int top, int width, int height);

// A caption label: transparent, sized to its text, dark grey text unless
// changed afterwards.
QLabel *MakeCaption(QWidget *parent, const QString &name, const QString &text, int left, int top);

// Changes a caption label's text and sizes the label to it.
void SetCaption(QLabel *label, const QString &text);

// A box label: no caption, opaque, a thin single border; it stands behind
// another control as a coloured frame.
QLabel *MakeBox(QWidget *parent, const QString &name, const QColor &colour, int left, int top,
                int width, int height);

// A large, faint word behind the other controls of a panel.
QLabel *MakeWatermark(QWidget *parent, const QString &name, const QString &text, int left, int top,
                      qreal points);

// Font of most controls (Arial 9.75 point) and of the big labels.
QFont ArialFont(qreal points, bool bold = false);

extern const QColor CaptionGrey; // 64/64/64
