#pragma once

#include <QListView>

// The list of MP3 files. A file is chosen by a click, also on the entry that
// is already selected, and by moving the selection with the keyboard; each
// choice is reported once.
class Mp3ListView : public QListView {
    Q_OBJECT
public:
    explicit Mp3ListView(QWidget *parent = nullptr);

    // The selected row, or -1.
    int selectedRow() const;

Q_SIGNALS:
    void chosen(int row);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool choiceReported_ = false;
};
