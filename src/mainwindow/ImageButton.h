#pragma once

#include <QAbstractButton>
#include <QImage>

// A picture that answers clicks, as the buttons of the button bar are: no
// face or focus frame of its own, only its picture scaled to its size.
class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ImageButton(const QImage &picture, QWidget *parent = nullptr);

    const QImage &picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture_;
};
