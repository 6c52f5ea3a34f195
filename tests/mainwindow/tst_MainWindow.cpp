// The main window driven as a user drives it: layout, browsing, the tag view,
// clock, settings, help, update, rename and the button bar.
#include "Genres.h"
#include "Harness.h"
#include "MainTexts.h"
#include "PictureBox.h"
#include "Twips.h"

#include <QAction>
#include <QDir>
#include <QSet>
#include <QtTest>
#include <tuple>
#include <utility>

namespace {
const QString NoTag = QStringLiteral("No ID Version 1.1 Tag Found");
const char *const Surfaces[] = {"MainClient", "Frame1", "Frame2", "Frame3",
                                "Frame4",     "Frame5", "Frame6", "HelpFrame"};
const QByteArray SettingsHead = "\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n";

// Each control as "name.parent left top width height" in twips; a size left
// out or "-" is the control's own, fitted to its text.
// clang-format off
const char *const Layout =
    "MenuPic.MainClient 105 90 14670 960, Knop_0.MenuPic 120 105 720 720, Knop_1.MenuPic 1050 105 720 720,"
    "Knop_2.MenuPic 1980 105 720 720, Knop_3.MenuPic 2910 105 720 720, Knop_4.MenuPic 3840 105 720 720,"
    "Label2.MenuPic 11520 30, Frame1.MainClient 90 1050 3825 8505, Drive1.Frame1 150 240 3540 -,"
    "Dir1.Frame1 135 720 3540 3060, List1.Frame1 135 3915 3540 4140, Label13.Frame1 150 8130,"
    "Frame2.MainClient 4050 1050 3825 6225, Text1.Frame2 150 240 3510 330, Label9.Frame2 165 630,"
    "Text2.Frame2 150 1140 3510 330, Label12.Frame2 165 1530, Text3.Frame2 150 2040 3510 330,"
    "Label1.Frame2 165 2430, Text4.Frame2 150 2940 1200 330, Label14.Frame2 1500 3000,"
    "Text5.Frame2 150 3660 3510 330, Label15.Frame2 165 4050, Combo1.Frame2 150 4500 2190 -,"
    "Label11.Frame2 2440 4560, Label18.Frame2 1650 5100, Label16.Frame2 165 5340,"
    "Label10.Frame2 150 5670 1200 390, UpdateKnop.Frame2 180 5700 1140 330, Frame4.MainClient 8010 1050 6765 6225,"
    "Label8.Frame4 135 210 6510 5880, Pic.Frame4 255 315 6255 5640, HelpFrame.MainClient 8010 1050 6765 6225,"
    "HelpLabel.HelpFrame 135 210 6510 5880, HelpPic.HelpFrame 255 315 6255 5640,"
    "Frame5.MainClient 8010 7290 6765 1125, Label6_0.Frame5 105 195 1200 390, Label6_1.Frame5 105 630 1200 390,"
    "RenameKnop_0.Frame5 135 225 1140 330, RenameKnop_1.Frame5 135 660 1140 330, Label7_0.Frame5 1440 270,"
    "Label7_1.Frame5 1440 705, Label17.Frame5 4890 45, Frame6.MainClient 4050 7290 3825 1125,"
    "KlokLabel.Frame6 -135 90, Frame3.MainClient 4020 8430 10770 1125, Label3.Frame3 120 180,"
    "Label4.Frame3 120 480, Label5.Frame3 120 780";
// clang-format on

QStringList DrawnTexts(const PictureBox *box, int x = -1)
{
    QStringList texts;
    for (const PictureBox::Drawn &item : box->drawn()) {
        if (!item.text.isEmpty() && (x < 0 || item.position.x() == x))
            texts.append(item.text);
    }
    return texts;
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowHarness> h;
    PictureBox *pic() const { return h->find<PictureBox>(QStringLiteral("Pic")); }
    QColor colour(const char *name, QPalette::ColorRole role = QPalette::Window) const
    {
        return h->find(QString::fromLatin1(name))->palette().color(role);
    }
    QStringList texts(const QStringList &names) const
    {
        QStringList shown;
        for (const QString &name : names)
            shown.append(h->text(name));
        return shown;
    }
    QStringList boxes() const
    {
        return texts({"Text1", "Text2", "Text3", "Text4", "Text5", "Combo1"});
    }

private Q_SLOTS:
    void init() { h = std::make_unique<WindowHarness>(); }
    void cleanup() { h.reset(); }

    void geometry()
    {
        h->open();
        for (const QString &entry : QString(Layout).split(',')) {
            const QStringList f = entry.simplified().split(' '), names = f[0].split('.');
            QWidget *control = h->find(names[0]);
            auto twips = [&f](int i, int own) {
                return f.value(i, "-") == "-" ? own : Px(f[i].toInt());
            };
            const QRect expected(twips(1, 0), twips(2, 0), twips(3, control->sizeHint().width()),
                                 twips(4, control->sizeHint().height()));
            QCOMPARE(entry.simplified() + " is " + control->parentWidget()->objectName() + ' ' +
                         QVariant(control->geometry()).toString(),
                     entry.simplified() + " is " + names[1] + ' ' + QVariant(expected).toString());
        }
        MainWindow &window = *h->window;
        QCOMPARE(window.centralWidget()->size(), QSize(992, 647));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void looks()
    {
        h->open();
        const auto back = QPalette::Window, base = QPalette::Base, button = QPalette::Button,
                   text = QPalette::WindowText;
        const QColor field(250, 250, 190), nav(230, 250, 170), grey(64, 64, 64),
            pale(200, 200, 200), silver(192, 192, 192), green(180, 250, 180), black(Qt::black);
        const struct {
            const char *name;
            QPalette::ColorRole role;
            QColor colour;
        } colours[] = {// clang-format off
            {"MenuPic", back, QColor(130, 130, 0)}, {"Label2", text, QColor(100, 100, 0)},
            {"Drive1", button, nav}, {"Dir1", base, nav}, {"List1", base, nav}, {"Text1", base, field},
            {"Text4", base, field}, {"Combo1", base, field}, {"Text5", QPalette::Text, grey},
            {"Label9", text, grey}, {"Label13", text, grey}, {"Label16", text, QColor(128, 128, 128)},
            {"Label18", text, pale}, {"Label17", text, pale}, {"KlokLabel", text, QColor(200, 200, 170)},
            {"Label10", back, black}, {"Label6_0", back, black}, {"Label6_1", back, black},
            {"UpdateKnop", button, QColor(250, 190, 190)}, {"RenameKnop_0", button, green},
            {"RenameKnop_1", button, green}, {"Label8", back, silver}, {"HelpLabel", back, silver}};
        // clang-format on
        for (const auto &row : colours)
            QVERIFY2(colour(row.name, row.role) == row.colour, row.name);
        for (const char *name : Surfaces)
            QVERIFY2(colour(name) == QColor(220, 220, 190) && h->find(name)->autoFillBackground(),
                     name);
        // clang-format off
        const QList<QPair<const char *, qreal>> fonts = {
            {"Label2", 36}, {"Label18", 40}, {"Label17", 48}, {"KlokLabel", 44}, {"Text1", 9.75},
            {"Label13", 9.75}, {"Label3", 9.75}, {"List1", 9.75}, {"Combo1", 9.75},
            {"UpdateKnop", 9.75}, {"Label7_0", 9.75}, {"Drive1", 9.75}};
        // clang-format on
        for (const auto &[name, points] : fonts) {
            const QFont font = h->find(QString::fromLatin1(name))->font();
            const QString face = QFontInfo(font).family(); // Arial, or a face with its metrics
            QVERIFY2(font.family() == "Arial" && (face == "Arial" || face == "Liberation Sans"),
                     name);
            QVERIFY2(font.pointSizeF() == points && font.bold() == (points > 10), name);
        }
    }

    void textsAndNames()
    {
        h->open();
        // clang-format off
        const char *const shown[][2] = {
            {"Label2", "Brelko"}, {"Label13", "Files : 0"}, {"Label9", "Titel"}, {"Label12", "Artiest"},
            {"Label1", "Album"}, {"Label14", "Jaar"}, {"Label15", "Informatie"}, {"Label11", "Genre"},
            {"Label16", "Wijzigen tags"}, {"Label18", "Tags"}, {"Label7_0", "Titel - Artiest"},
            {"Label7_1", "Artiest - Titel"}, {"Label17", "File"}, {"KlokLabel", "00:00:00"},
            {"Label3", "Bestand ..............: "}, {"Label4", "Date ...................: "},
            {"Label5", "Pathname ...........: "}, {"Text1", ""}, {"Text5", ""}, {"Combo1", ""}};
        const char *const buddies[][2] = {{"Label9", "Text1"}, {"Label12", "Text2"}, {"Label1", "Text3"},
                                          {"Label14", "Text4"}, {"Label15", "Text5"}, {"Label11", "Combo1"}};
        // clang-format on
        for (const auto &row : shown)
            QCOMPARE(QString(row[0]) + ": " + h->text(row[0]), QString(row[0]) + ": " + row[1]);
        for (const auto &pair : buddies)
            QCOMPARE(h->find<QLabel>(pair[0])->buddy(), h->find(pair[1]));
        // The genre box holds every name once, in name order.
        auto *combo = h->find<QComboBox>(QStringLiteral("Combo1"));
        QStringList items, sorted = GenreTable();
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(items, sorted);
        QCOMPARE(QSet<QString>(items.cbegin(), items.cend()).size(), GenreCount);
        // clang-format off
        QCOMPARE(DrawnTexts(pic()).join('|'), "Welkom bij Brelko|Wijzig zelf de tags en bestandsnaam van/in een mp3 bestand.|"
            "Lees onder het Helpmenu de beknopte handleiding van Brelko.|Brelko wordt gratis aangeboden door " + QString(MakerHost) +
            "|Voor meer gratis software klik onder het|menu-item Help / Meer Software.");
        // clang-format on
    }

    void browse()
    {
        const QString folder = h->path(QStringLiteral("Muziek")), sub = folder + "/Weg";
        for (const char *name : {"Weg", "Zeta", "alpha", ".verborgen"})
            QVERIFY(QDir().mkpath(folder + '/' + name));
        for (const char *file : {"a.mp3", "B.MP3", "c.txt", ".x.mp3", "Weg/w.mp3"})
            QVERIFY(TryWriteFile(folder + '/' + file, Audio()));
        h->open();
        QCOMPARE(h->listed(), QStringList()); // empty at start, in the start folder
        QCOMPARE(h->dirPath(), h->dir.path());
        auto *tree = h->find<QTreeWidget>(QStringLiteral("Dir1"));
        tree->setFocus();
        tree->setCurrentItem(tree->findItems("Muziek", Qt::MatchRecursive).value(0));
        QCOMPARE(h->listed(), QStringList()); // highlighting alone opens nothing
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(h->dirPath(), folder);
        QCOMPARE(h->listed(), QStringList({"a.mp3", "B.MP3"}));
        QCOMPARE(h->listed(), SystemFolderLister().mp3Files(folder, nullptr)); // List1 is File1
        QCOMPARE(h->text("Label13"), QStringLiteral("Files : 2"));
        QStringList children; // the subfolders, hidden ones left out, in name order
        for (int i = 0; i < tree->currentItem()->childCount(); ++i)
            children.append(tree->currentItem()->child(i)->text(0));
        QCOMPARE(children, QStringList({"alpha", "Weg", "Zeta"}));
        // A folder that vanished: a real double click opens it empty, never
        // with the previous folder's names, and without a message.
        QVERIFY(QDir(sub).removeRecursively());
        const QPoint centre = tree->visualItemRect(tree->currentItem()->child(1)).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(h->dirPath(), sub);
        QCOMPARE(h->listed(), QStringList());
        QCOMPARE(h->text("Label13"), QStringLiteral("Files : 0"));
        QVERIFY(h->messages.shown.isEmpty());
    }

    void folderArgument()
    {
        // More files than an old list box could hold.
        QVERIFY(QDir(h->dir.path()).mkdir("Groot"));
        for (int i = 0; i < 33000; ++i)
            QVERIFY(TryWriteFile(h->path(QStringLiteral("Groot/%1.mp3").arg(i, 5, 10, QChar('0'))),
                                 {}));
        h->open().openFolder(QStringLiteral("Groot/")); // relative to the start folder
        QCOMPARE(h->dirPath(), h->path("Groot"));
        QCOMPARE(h->listed().size(), 33000);
        QCOMPARE(h->listed().last() + ' ' + h->text("Label13"), "32999.mp3 Files : 33000");
        h->window->openFile(QStringLiteral("Groot/01234.mp3")); // a file: its folder, chosen
        QCOMPARE(h->selectedRow(), 1234);
        QCOMPARE(h->window->selectedFilePath(), h->path("Groot/01234.mp3"));
    }

    void tagView()
    {
        QByteArray track = Trailer({"T", "A", "B", "2002", "Comment"}, 2); // ID3v1.1 track number
        track.replace(104, 23, QByteArray(22, '\0').append('\x05'));
        const QStringList noTag = {NoTag, "", "", "", "", "Jazz"}; // the genre stays
        const QList<QPair<QByteArray, QStringList>> rows = {
            // clang-format off
            {Trailer({"  Song", "  Quartet  ", "Al bum ", "99", " "}, 0), {"Song", "Quartet", "Al bum", "99", "", "Blues"}},
            {Trailer({"Titel", "Artiest", "Album", "2001", "Info"}, 13, 0), {"Titel", "Artiest", "Album", "2001", "Info", "Pop"}},
            {track, {"T", "A", "B", "2002", "Comment", "Country"}},
            {Trailer({"T", "A", "B", "C", "D"}, 255), {"T", "A", "B", "C", "D", "Unknown Genre Entry"}},
            {Trailer({"Caf\xe9", "\x80uro"}, 8), {"Caf\u00e9", "\u20acuro", "", "", "", "Jazz"}},
            {Audio(2), noTag}, {"TAG short", noTag}, {"", noTag}, {"gone", noTag}}; // "gone": vanished
        // clang-format on
        for (const auto &[bytes, shown] : rows) {
            init();
            h->openWith(
                {{"a.mp3", Audio() + Trailer({"T", "A", "B", "1", "C"}, 8)}, {"b.mp3", bytes}}, 0);
            if (bytes == "gone")
                QVERIFY(QFile::remove(h->path("b.mp3")));
            h->clickRow(1);
            QCOMPARE(boxes(), shown);
            QCOMPARE(h->window->tagMarker(), QString(shown[0] == NoTag ? "" : "TAG"));
            QStringList summary = shown[0] == NoTag ? QStringList({NoTag}) : shown;
            summary.removeAll(QString()); // the summary shows the same texts; blanks draw nothing
            QCOMPARE(DrawnTexts(pic(), 70), summary);
            QCOMPARE(h->text("Label4") == "Date ...................: ", bytes == "gone");
            QVERIFY(QFile::exists(h->path("b.mp3")) != (bytes == "gone") &&
                    h->messages.shown.isEmpty());
        }
    }

    void informationAndSummary()
    {
        h->openWith({{"a.mp3", "x"}, {"song.mp3", Audio(3) + Trailer({"Morning", "Quartet"}, 8)}},
                    1);
        const QString path = h->path(QStringLiteral("song.mp3"));
        QCOMPARE(texts({"Label3", "Label5"}), QStringList({"Bestand ..............: song.mp3",
                                                           "Pathname ...........: " + path}));
        QVERIFY(h->text("Label4").startsWith("Date ...................: ") &&
                h->text("Label4").endsWith(" / Grootte : 1379 Bytes"));
        QCOMPARE(h->window->selectedFilePath() + ' ' + h->window->selectedFolder(),
                 path + ' ' + h->dir.path() + '/');
        // White captions, colons and values on black, the big grey word low down.
        QCOMPARE(pic()->background(), QColor(Qt::black));
        QStringList drawn;
        for (const PictureBox::Drawn &d : pic()->drawn())
            drawn.append(QStringLiteral("%1@%2,%3 %4 %5%6")
                             .arg(d.text)
                             .arg(d.position.x())
                             .arg(d.position.y())
                             .arg(d.colour.name())
                             .arg(d.pointSize)
                             .arg(d.bold ? " bold" : ""));
        // clang-format off
        QCOMPARE(drawn.join('|'), "Titel...... @10,10 #ffffff 10|Artiest... @10,30 #ffffff 10|Album... @10,50 #ffffff 10|"
            "Jaar...... @10,70 #ffffff 10|Info....... @10,90 #ffffff 10|Genre... @10,110 #ffffff 10|"
            ":@60,10 #ffffff 10|:@60,30 #ffffff 10|:@60,50 #ffffff 10|:@60,70 #ffffff 10|:@60,90 #ffffff 10|"
            ":@60,110 #ffffff 10|Morning@70,10 #ffffff 10|Quartet@70,30 #ffffff 10|@70,50 #ffffff 10|"
            "@70,70 #ffffff 10|@70,90 #ffffff 10|Jazz@70,110 #ffffff 10|Info@10,300 #282828 50 bold");
        // clang-format on
        QCOMPARE(pic()->surface().pixelColor(300, 200),
                 QColor(Qt::black)); // what is drawn is shown
        QVERIFY(pic()->surface().copy(10, 10, 50, 20) != pic()->surface().copy(200, 150, 50, 20));
    }

    void keyboardSelection()
    {
        h->openWith(
            {{"a.mp3", Audio() + Trailer({"Een"})}, {"b.mp3", Audio() + Trailer({"Twee"})}});
        h->list()->setFocus();
        QTRY_VERIFY(h->list()->hasFocus());
        QCOMPARE(h->window->selectedFilePath(), QString()); // taking the focus chooses nothing
        QStringList seen;
        QTest::keyClick(h->list(), Qt::Key_Down);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) {
            QTest::keyClick(h->list(), key);
            seen.append(h->text("Text1"));
        }
        QCOMPARE(seen, QStringList({"Twee", "Een"}));
        QCOMPARE(h->window->selectedFilePath(), h->path("a.mp3"));
    }

    void clockAndTitle()
    {
        h->open();
        const QString host = QString::fromLatin1(MakerHost);
        // Started late in the minute: "Brelko" until the next one begins; the
        // host stays in view through the last slots.
        const QList<QPair<int, QString>> steps = {
            {45, "Brelko"}, {6, "Gratis software"}, {32, host}, {42, host}, {59, host}};
        for (const auto &[second, title] : steps) {
            h->clock.time = QDateTime(QDate(2024, 3, 7), QTime(9, 5, second));
            h->window->tick();
            QCOMPARE(
                texts({"Label2", "KlokLabel"}),
                QStringList({title, QStringLiteral("9:05:%1 ").arg(second, 2, 10, QChar('0'))}));
        }
        QCOMPARE(h->find("KlokLabel")->size(), h->find("KlokLabel")->sizeHint());
    }

    void settingsWrittenAtClose()
    {
        for (bool throughMenu : {false, true}) {
            init();
            MainWindow &window = h->open(); // without a settings file: the standard colour, stored
            QCOMPARE(ReadFile(h->settingsPath), SettingsHead + "220,220,190\r\n");
            window.setBackground({1, 2, 3});
            for (const char *name : Surfaces)
                QCOMPARE(colour(name), QColor(1, 2, 3));
            QCOMPARE(colour("MenuPic"), QColor(130, 130, 0)); // nothing else takes the colour
            QCOMPARE(colour("Text1", QPalette::Base), QColor(250, 250, 190));
            if (throughMenu) // "Bestand" > "Exit", else the close box
                h->find<QAction>(QStringLiteral("FileExit"))->trigger();
            else
                QVERIFY(window.close());
            QVERIFY(!window.isVisible());
            QCOMPARE(ReadFile(h->settingsPath), SettingsHead + "1,2,3\r\n");
            h->open(); // the next start opens in that colour
            QCOMPARE(colour("Frame3"), QColor(1, 2, 3));
        }
    }

    void clearFields()
    {
        h->openWith({{"a.mp3", Audio() + Trailer({"T", "A", "B", "Y", "C"}, 8)}}, 0);
        QString titleDuringPress; // "Velden leeg" clears after its press animation
        h->pauser.during = [&] { titleDuringPress = h->text("Text1"); };
        h->click(QStringLiteral("Knop_0"));
        QCOMPARE(titleDuringPress, QStringLiteral("T"));
        QCOMPARE(boxes() + texts({"Label13", "Label3", "Label4", "Label5"}),
                 QStringList({"", "", "", "", "", "Jazz", "Files : 0", "Bestand ..............: ",
                              "Date ...................: ", "Pathname ...........: "}));
        QCOMPARE(h->listed(), QStringList());
        QCOMPARE(h->dirPath(), h->dir.path()); // the folder list keeps its folder
        QCOMPARE(h->window->selectedFilePath() + h->window->selectedFolder(), QString());
        QCOMPARE(h->window->tagMarker(), QStringLiteral("TAG"));
        QCOMPARE(pic()->background(), QColor(Qt::black));
        QCOMPARE(
            DrawnTexts(pic()).join('|'),
            "Titel...... |Artiest... |Album... |Jaar...... |Info....... |Genre... |:|:|:|:|:|:");
    }

    void help()
    {
        for (bool byKey : {true, false}) {
            init();
            h->open();
            auto *action = h->find<QAction>(QStringLiteral("HelpHelp"));
            for (bool shown : {true, false, true}) {
                byKey ? QTest::keyClick(h->window.get(), Qt::Key_F1) : action->trigger();
                QCOMPARE(h->find("HelpFrame")->isVisible(), shown);
                QCOMPARE(h->find("Frame4")->isVisible(), !shown);
                QCOMPARE(action->isChecked(), shown);
            }
        }
        const PictureBox *help = h->find<PictureBox>(QStringLiteral("HelpPic"));
        QCOMPARE(help->drawn().size(), 16); // the texts and the five button pictures
        // clang-format off
        QCOMPARE(DrawnTexts(help).join('|'), "Uitleg Brelko|  1. Zoek m.b.v. het navigatiemenu mp3-files op uw computer op.|"
            "  2. Selecteer in de lijst met gevonden mp3-files \u00e9\u00e9n bestand.|"
            "  3. De tags (gegevens) zijn nu zichtbaar indien voorhanden.|"
            "  4. Met de rode button (Update) kunt u de tags wijzigen.|"
            "  5. Met de 2 groene buttons kunt u de bastandsnaam wijzigen.|Alle velden leegmaken|Achtergrondkleuren wijzigen|"
            "Copyeren of verplaatsen van folders inclusief bestanden|Afdrukken van de tags|Website met veel meer gratis software");
        // clang-format on
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
