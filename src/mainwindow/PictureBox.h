#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QWidget>

// A picture box that keeps what is drawn on it: text and pictures are drawn
// once onto its own image at pixel positions, and every repaint shows that
// image. It also keeps a list of what was drawn since the surface was last
// wiped, so tests can read back the texts and where they went, and screen
// readers hear those texts, line by line, as the box's description.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    struct Drawn {
        QPoint position; // top-left corner of a text, or of a picture
        QString text;    // empty for a picture
        QSize pictureSize;
        QColor colour;
        qreal pointSize = 0;
        bool bold = false;
    };

    explicit PictureBox(QWidget *parent = nullptr);

    // Wipes the surface in a colour; the list of drawn items starts afresh.
    void wipe(const QColor &background);
    // Shows a picture filling the surface (the drawing stays on top of it).
    void setPicture(const QImage &picture);

    void setForeColour(const QColor &colour) { foreColour_ = colour; }
    void setFontSize(qreal points);
    void setBold(bool bold);
    void setFontFamily(const QString &family);

    // Writes text with its top-left corner at (x, y).
    void print(int x, int y, const QString &text);
    // Draws a picture scaled into a rectangle.
    void drawPicture(const QRect &target, const QImage &picture);

    const QList<Drawn> &drawn() const { return drawn_; }
    const QImage &surface() const { return surface_; }
    QColor background() const { return background_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void describe();

    QImage surface_;
    QColor background_ = Qt::white;
    QColor foreColour_ = Qt::black;
    QFont font_;
    QList<Drawn> drawn_;
};
