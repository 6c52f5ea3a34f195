// The main window as it opens: every control where the layout puts it, in
// its colours and fonts, with its texts, names for screen readers and the
// keyboard order.
#include "Genres.h"
#include "PictureBox.h"
#include "Twips.h"
#include "WindowHarness.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class MainWindowLayoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void geometry_data();
    void geometry();
    void windowSize();
    void colours_data();
    void colours();
    void fonts_data();
    void fonts();
    void textsAtOpen_data();
    void textsAtOpen();
    void genreList();
    void accessibleNames_data();
    void accessibleNames();
    void buddies();
    void tabOrderAndFocus();
    void menus_data();
    void menus();
    void timerRunsEvery100ms();
    void welcomeText();

private:
    WindowHarness harness;
};

void MainWindowLayoutTest::initTestCase()
{
    harness.open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness.window.get()));
}

void MainWindowLayoutTest::geometry_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width"); // -1: the control keeps its own size
    QTest::addColumn<int>("height");
    struct Row {
        const char *name, *parent;
        int left, top, width, height;
    };
    const Row rows[] = {
        {"MenuPic", "MainClient", 105, 90, 14670, 960},
        {"Knop_0", "MenuPic", 120, 105, 720, 720},
        {"Knop_1", "MenuPic", 1050, 105, 720, 720},
        {"Knop_2", "MenuPic", 1980, 105, 720, 720},
        {"Knop_3", "MenuPic", 2910, 105, 720, 720},
        {"Knop_4", "MenuPic", 3840, 105, 720, 720},
        {"Label2", "MenuPic", 11520, 30, -1, -1},
        {"Frame1", "MainClient", 90, 1050, 3825, 8505},
        {"Drive1", "Frame1", 150, 240, 3540, -1},
        {"Dir1", "Frame1", 135, 720, 3540, 3060},
        {"List1", "Frame1", 135, 3915, 3540, 4140},
        {"Label13", "Frame1", 150, 8130, -1, -1},
        {"Frame2", "MainClient", 4050, 1050, 3825, 6225},
        {"Text1", "Frame2", 150, 240, 3510, 330},
        {"Label9", "Frame2", 165, 630, -1, -1},
        {"Text2", "Frame2", 150, 1140, 3510, 330},
        {"Label12", "Frame2", 165, 1530, -1, -1},
        {"Text3", "Frame2", 150, 2040, 3510, 330},
        {"Label1", "Frame2", 165, 2430, -1, -1},
        {"Text4", "Frame2", 150, 2940, 1200, 330},
        {"Label14", "Frame2", 1500, 3000, -1, -1},
        {"Text5", "Frame2", 150, 3660, 3510, 330},
        {"Label15", "Frame2", 165, 4050, -1, -1},
        {"Combo1", "Frame2", 150, 4500, 2190, -1},
        {"Label11", "Frame2", 2440, 4560, -1, -1},
        {"Label18", "Frame2", 1650, 5100, -1, -1},
        {"Label16", "Frame2", 165, 5340, -1, -1},
        {"Label10", "Frame2", 150, 5670, 1200, 390},
        {"UpdateKnop", "Frame2", 180, 5700, 1140, 330},
        {"Frame4", "MainClient", 8010, 1050, 6765, 6225},
        {"Label8", "Frame4", 135, 210, 6510, 5880},
        {"Pic", "Frame4", 255, 315, 6255, 5640},
        {"HelpFrame", "MainClient", 8010, 1050, 6765, 6225},
        {"HelpLabel", "HelpFrame", 135, 210, 6510, 5880},
        {"HelpPic", "HelpFrame", 255, 315, 6255, 5640},
        {"Frame5", "MainClient", 8010, 7290, 6765, 1125},
        {"Label6_0", "Frame5", 105, 195, 1200, 390},
        {"Label6_1", "Frame5", 105, 630, 1200, 390},
        {"RenameKnop_0", "Frame5", 135, 225, 1140, 330},
        {"RenameKnop_1", "Frame5", 135, 660, 1140, 330},
        {"Label7_0", "Frame5", 1440, 270, -1, -1},
        {"Label7_1", "Frame5", 1440, 705, -1, -1},
        {"Label17", "Frame5", 4890, 45, -1, -1},
        {"Frame6", "MainClient", 4050, 7290, 3825, 1125},
        {"KlokLabel", "Frame6", -135, 90, -1, -1},
        {"Frame3", "MainClient", 4020, 8430, 10770, 1125},
        {"Label3", "Frame3", 120, 180, -1, -1},
        {"Label4", "Frame3", 120, 480, -1, -1},
        {"Label5", "Frame3", 120, 780, -1, -1},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.parent) << row.left << row.top
                                << row.width << row.height;
}

void MainWindowLayoutTest::geometry()
{
    QFETCH(QString, parent);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);
    auto *control = harness.find<QWidget>(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->pos(), QPoint(Px(left), Px(top)));
    if (width >= 0)
        QCOMPARE(control->width(), Px(width));
    else
        QCOMPARE(control->width(), control->sizeHint().width()); // sized to its text
    if (height >= 0)
        QCOMPARE(control->height(), Px(height));
    else
        QCOMPARE(control->height(), control->sizeHint().height());
}

void MainWindowLayoutTest::windowSize()
{
    MainWindow &window = *harness.window;
    QCOMPARE(window.objectName(), QStringLiteral("Main"));
    QCOMPARE(window.centralWidget()->size(), QSize(992, 647));
    // Fixed size, no minimise or maximise box.
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(window.windowTitle().contains(QStringLiteral("Brelko")));
    // The button bar holds exactly the five image buttons and the title line.
    QCOMPARE(
        harness.find<QWidget>(QStringLiteral("MenuPic"))->findChildren<QAbstractButton *>().size(),
        5);
}

void MainWindowLayoutTest::colours_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("colour");
    const int back = QPalette::Window, base = QPalette::Base, button = QPalette::Button,
              text = QPalette::WindowText, typed = QPalette::Text;
    const QColor beige(220, 220, 190), field(250, 250, 190), nav(230, 250, 170);
    struct Row {
        const char *name;
        int role;
        QColor colour;
    };
    const Row rows[] = {
        {"MainClient", back, beige},
        {"Frame1", back, beige},
        {"Frame2", back, beige},
        {"Frame3", back, beige},
        {"Frame4", back, beige},
        {"Frame5", back, beige},
        {"Frame6", back, beige},
        {"HelpFrame", back, beige},
        {"MenuPic", back, QColor(130, 130, 0)},
        {"Label2", text, QColor(100, 100, 0)},
        {"Drive1", button, nav},
        {"Dir1", base, nav},
        {"List1", base, nav},
        {"Text1", base, field},
        {"Text4", base, field},
        {"Text5", typed, QColor(64, 64, 64)},
        {"Combo1", base, field},
        {"Label9", text, QColor(64, 64, 64)},
        {"Label13", text, QColor(64, 64, 64)},
        {"Label16", text, QColor(128, 128, 128)},
        {"Label18", text, QColor(200, 200, 200)},
        {"Label17", text, QColor(200, 200, 200)},
        {"KlokLabel", text, QColor(200, 200, 170)},
        {"Label10", back, Qt::black},
        {"Label6_0", back, Qt::black},
        {"Label6_1", back, Qt::black},
        {"UpdateKnop", button, QColor(250, 190, 190)},
        {"RenameKnop_0", button, QColor(180, 250, 180)},
        {"RenameKnop_1", button, QColor(180, 250, 180)},
        {"Label8", back, QColor(192, 192, 192)},
        {"HelpLabel", back, QColor(192, 192, 192)},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << row.role << row.colour;
}

void MainWindowLayoutTest::colours()
{
    QFETCH(int, role);
    QFETCH(QColor, colour);
    auto *control = harness.find<QWidget>(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(control->palette().color(QPalette::ColorRole(role)), colour);
    if (role == QPalette::Window)
        QVERIFY(control->autoFillBackground());
}

void MainWindowLayoutTest::fonts_data()
{
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Label2") << 36.0 << true;
    QTest::newRow("Label18") << 40.0 << true;
    QTest::newRow("Label17") << 48.0 << true;
    QTest::newRow("KlokLabel") << 44.0 << true;
    for (const char *name :
         {"Text1", "Label13", "Label3", "List1", "Combo1", "UpdateKnop", "Label7_0", "Drive1"})
        QTest::newRow(name) << 9.75 << false;
}

void MainWindowLayoutTest::fonts()
{
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    const QFont font = harness.find<QWidget>(QString::fromLatin1(QTest::currentDataTag()))->font();
    QCOMPARE(font.family(), QStringLiteral("Arial"));
    // Arial itself, or a face with its metrics standing in for it.
    const QString face = QFontInfo(font).family();
    QVERIFY2(face == QLatin1String("Arial") || face == QLatin1String("Liberation Sans"),
             qPrintable(face));
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.bold(), bold);
}

void MainWindowLayoutTest::textsAtOpen_data()
{
    QTest::addColumn<QString>("text");
    const char *const rows[][2] = {
        {"Label2", "Brelko"},
        {"Label13", "Files : 0"},
        {"Label9", "Titel"},
        {"Label12", "Artiest"},
        {"Label1", "Album"},
        {"Label14", "Jaar"},
        {"Label15", "Informatie"},
        {"Label11", "Genre"},
        {"Label16", "Wijzigen tags"},
        {"Label18", "Tags"},
        {"Label7_0", "Titel - Artiest"},
        {"Label7_1", "Artiest - Titel"},
        {"Label17", "File"},
        {"KlokLabel", "00:00:00"},
        {"Label3", "Bestand ..............: "},
        {"Label4", "Date ...................: "},
        {"Label5", "Pathname ...........: "},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[1]);
}

void MainWindowLayoutTest::textsAtOpen()
{
    QFETCH(QString, text);
    QCOMPARE(harness.find<QLabel>(QString::fromLatin1(QTest::currentDataTag()))->text(), text);
}

void MainWindowLayoutTest::genreList()
{
    auto *combo = harness.find<QComboBox>(QStringLiteral("Combo1"));
    QVERIFY(combo->isEditable());
    QCOMPARE(combo->currentText(), QString());
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    QCOMPARE(items.size(), GenreCount);
    QCOMPARE(QSet<QString>(items.cbegin(), items.cend()).size(), GenreCount);
    for (const QString &name : GenreTable())
        QVERIFY2(items.contains(name), qPrintable(name));
    for (int i = 1; i < items.size(); ++i)
        QVERIFY2(items[i - 1].compare(items[i], Qt::CaseInsensitive) < 0,
                 qPrintable(items[i - 1] + QStringLiteral(" / ") + items[i]));
    // Text boxes empty, with their lengths.
    const int maxLengths[] = {30, 30, 30, 4, 30};
    for (int i = 0; i < 5; ++i) {
        auto *box = harness.find<QLineEdit>(QStringLiteral("Text%1").arg(i + 1));
        QCOMPARE(box->text(), QString());
        QCOMPARE(box->maxLength(), maxLengths[i]);
    }
}

void MainWindowLayoutTest::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    const char *const rows[][3] = {
        {"Knop_0", "Velden leeg", " Velden leeg "},
        {"Knop_1", "Achtergrondkleuren", " Achtergrondkleuren "},
        {"Knop_2", "Copy Folders", " Copy Folders "},
        {"Knop_3", "Tags Afdrukken", " Tags Afdrukken "},
        {"Knop_4", "Meer Software", " Meer Software "},
        {"UpdateKnop", "Update", " Wijzigen tags "},
        {"RenameKnop_0", "Rename Titel - Artiest", " Rename bestand "},
        {"RenameKnop_1", "Rename Artiest - Titel", " Rename bestand "},
        {"Text1", "Titel", ""},
        {"Text2", "Artiest", ""},
        {"Text3", "Album", ""},
        {"Text4", "Jaar", ""},
        {"Text5", "Informatie", ""},
        {"Combo1", "Genre", "Genre"},
        {"Drive1", "Station", ""},
        {"Dir1", "Mappen", ""},
        {"List1", "Bestanden", ""},
        {"Pic", "Tags", ""},
        {"HelpPic", "Uitleg Brelko", ""},
        {"Label13", "Files : 0", ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << QString::fromLatin1(row[1]) << QString::fromLatin1(row[2]);
}

void MainWindowLayoutTest::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    auto *control = harness.find<QWidget>(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(control->accessibleName(), name);
    if (!description.isEmpty()) {
        QCOMPARE(control->accessibleDescription(), description);
        if (!control->toolTip().isEmpty())
            QCOMPARE(control->toolTip(), description);
    }
}

void MainWindowLayoutTest::buddies()
{
    const char *const pairs[][2] = {{"Label9", "Text1"},  {"Label12", "Text2"},
                                    {"Label1", "Text3"},  {"Label14", "Text4"},
                                    {"Label15", "Text5"}, {"Label11", "Combo1"}};
    for (const auto &pair : pairs)
        QCOMPARE(harness.find<QLabel>(QString::fromLatin1(pair[0]))->buddy(),
                 harness.find<QWidget>(QString::fromLatin1(pair[1])));
}

void MainWindowLayoutTest::tabOrderAndFocus()
{
    const QStringList order = {"MenuPic", "Drive1",     "Dir1",         "List1",       "Pic",
                               "Text1",   "Text2",      "Text3",        "Text4",       "Text5",
                               "Combo1",  "UpdateKnop", "RenameKnop_0", "RenameKnop_1"};
    QWidget *focus = harness.find<QWidget>(QStringLiteral("MenuPic"));
    QTRY_COMPARE(QApplication::focusWidget(), focus);
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        // An editable combo box hands the focus to its line edit.
        while (now && now->objectName().isEmpty() && now->parentWidget())
            now = now->parentWidget();
        QVERIFY(now);
        QCOMPARE(now->objectName(), order[i]); // HelpPic is hidden, so skipped
    }
}

void MainWindowLayoutTest::menus_data()
{
    QTest::addColumn<QString>("menuCaption");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("FileExit") << "Bestand"
                              << "Exit" << QKeySequence();
    QTest::newRow("ProjectStart") << "Player"
                                  << "Afspelen" << QKeySequence(Qt::Key_F5);
    QTest::newRow("HelpHelp") << "Help"
                              << "Help" << QKeySequence(Qt::Key_F1);
    QTest::newRow("HelpMeerSoftware") << "Help"
                                      << "Meer Software" << QKeySequence();
}

void MainWindowLayoutTest::menus()
{
    QFETCH(QString, menuCaption);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    auto *action = harness.find<QAction>(QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
    const QList<QAction *> menus = harness.window->menuBar()->actions();
    const auto menu = std::find_if(menus.cbegin(), menus.cend(), [&](QAction *m) {
        return m->menu() && m->menu()->actions().contains(action);
    });
    QVERIFY(menu != menus.cend());
    QCOMPARE((*menu)->text(), menuCaption);
    QStringList titles;
    for (QAction *m : menus)
        titles.append(m->text());
    QCOMPARE(titles, QStringList({"Bestand", "Player", "Help"}));
}

void MainWindowLayoutTest::timerRunsEvery100ms()
{
    auto *timer = harness.find<QTimer>(QStringLiteral("Timer1"));
    QCOMPARE(timer->interval(), 100);
    QVERIFY(timer->isActive());
}

void MainWindowLayoutTest::welcomeText()
{
    auto *pic = harness.find<PictureBox>(QStringLiteral("Pic"));
    QCOMPARE(pic->size(), QSize(417, 376));
    const QList<PictureBox::Drawn> &drawn = pic->drawn();
    QCOMPARE(drawn.size(), 6);
    const int ys[] = {10, 40, 55, 70, 85, 100};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(drawn[i].position, QPoint(10, ys[i]));
        QCOMPARE(drawn[i].pointSize, i == 0 ? 15.75 : 10.0);
        QCOMPARE(drawn[i].colour, i == 0 ? QColor(200, 0, 0) : QColor(100, 100, 100));
    }
    QCOMPARE(drawn[0].text, QStringLiteral("Welkom bij Brelko"));
    QCOMPARE(drawn[1].text,
             QStringLiteral("Wijzig zelf de tags en bestandsnaam van/in een mp3 bestand."));
    QCOMPARE(drawn[2].text,
             QStringLiteral("Lees onder het Helpmenu de beknopte handleiding van Brelko."));
    QVERIFY(drawn[3].text.startsWith(QStringLiteral("Brelko wordt gratis aangeboden door www.")));
    QCOMPARE(drawn[4].text, QStringLiteral("Voor meer gratis software klik onder het"));
    QCOMPARE(drawn[5].text, QStringLiteral("menu-item Help / Meer Software."));
    // The picture lies under the text: the surface is not plain white.
    QVERIFY(pic->surface().pixelColor(280, 250) != QColor(Qt::white));
    QCOMPARE(harness.find<QFrame>(QStringLiteral("HelpFrame"))->isHidden(), true);
}

QTEST_MAIN(MainWindowLayoutTest)
#include "tst_MainWindowLayout.moc"
