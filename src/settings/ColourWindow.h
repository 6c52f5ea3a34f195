#pragma once

#include "SettingsFile.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;

// The " Configuratie" window: three bars for the red, green and blue of the
// background colour. Every change is stored in the colour at once and
// painted on this window and, through applyBackground, on the main window.
// There is no cancel: "Ok" only closes. Open it modally with exec().
class ColourWindow : public QDialog {
    Q_OBJECT
public:
    ColourWindow(BackgroundColour &colour, std::function<void()> applyBackground,
                 QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void barChanged(int index, int value);
    void resetColour();
    void showValues();
    void paintBackgrounds();
    void paintOwnBackground();

    BackgroundColour &colour_;
    std::function<void()> applyBackground_;
    std::array<QScrollBar *, 3> bars_{};
    std::array<QLabel *, 3> valueLabels_{};
    QPushButton *resetButton_ = nullptr;
    QPushButton *okButton_ = nullptr;
};
