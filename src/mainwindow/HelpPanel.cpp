// The built-in manual, shown in place of the tag picture.
#include "MainWindow.h"

#include "ImageButton.h"
#include "PictureBox.h"

#include <QAction>
#include <QFrame>

namespace {

const char *const Steps[5] = {
    "  1. Zoek m.b.v. het navigatiemenu mp3-files op uw computer op.",
    "  2. Selecteer in de lijst met gevonden mp3-files \u00e9\u00e9n bestand.",
    "  3. De tags (gegevens) zijn nu zichtbaar indien voorhanden.",
    "  4. Met de rode button (Update) kunt u de tags wijzigen.",
    "  5. Met de 2 groene buttons kunt u de bastandsnaam wijzigen.",
};

const char *const Legend[MainWindow::ButtonCount] = {
    "Alle velden leegmaken", "Achtergrondkleuren wijzigen",
    "Copyeren of verplaatsen van folders inclusief bestanden", "Afdrukken van de tags",
    "Website met veel meer gratis software"};

} // namespace

void MainWindow::toggleHelp()
{
    // Which panel is in view decides, not the check mark.
    if (!summaryFrame_->isHidden()) {
        summaryFrame_->hide();
        helpAction_->setChecked(true);
        drawHelp();
        helpFrame_->show();
    } else {
        helpFrame_->hide();
        summaryFrame_->show();
        helpAction_->setChecked(false);
    }
}

void MainWindow::drawHelp()
{
    // Drawing the same contents twice must give the same picture; anti-aliased
    // text drawn over itself would darken, so the surface starts afresh.
    helpPicture_->wipe(helpPicture_->palette().color(QPalette::Base));
    helpPicture_->setFontFamily(QStringLiteral("Arial"));
    helpPicture_->setFontSize(12);
    helpPicture_->setBold(true);
    helpPicture_->setForeColour(QColor(0, 120, 0));
    helpPicture_->print(10, 10, QStringLiteral("Uitleg Brelko"));

    helpPicture_->setFontSize(10);
    helpPicture_->setBold(false);
    helpPicture_->setForeColour(QColor(100, 100, 0));
    for (int i = 0; i < 5; ++i)
        helpPicture_->print(10, 39 + 17 * i, QString::fromUtf8(Steps[i]));

    helpPicture_->setForeColour(QColor(200, 0, 0));
    for (int i = 0; i < ButtonCount; ++i) {
        const int x = i % 2 == 0 ? 20 : 50;
        const int y = 140 + 30 * i;
        helpPicture_->drawPicture(QRect(x, y, 32, 32), barButtons_[size_t(i)]->picture());
        helpPicture_->print(x + 40, y + 8, QString::fromLatin1(Legend[i]));
    }
}
