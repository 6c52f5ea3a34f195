#pragma once

#include <QList>
#include <QWidget>

class QAbstractButton;

// The bar that holds the picture buttons. The buttons take no focus of
// their own, so they keep their place out of the keyboard order; the bar
// takes it instead: Left and Right choose a button, marked by a dotted
// frame, and Space or Enter presses it. A screen reader hears the chosen
// button as the bar's description.
class ButtonBar : public QWidget {
    Q_OBJECT
public:
    explicit ButtonBar(QWidget *parent = nullptr);

    void addButton(QAbstractButton *button);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void choose(int index);

    QList<QAbstractButton *> buttons_;
    int chosen_ = 0;
    bool framed_ = false; // the keyboard has been used on the bar
};
