// A file chosen in the list: its information lines, its tag in the boxes and
// the summary drawn in the picture box.
#include "Mp3Files.h"
#include "PictureBox.h"
#include "WindowHarness.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using Mp3Files::Tag;

class MainWindowTagViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void fields_data();
    void fields();
    void informationLines();
    void summaryPanel();
    void noTagKeepsGenre_data();
    void noTagKeepsGenre();
    void keyboardSelection();
    void sameRowClickedAgain();
    void vanishedFile();

private:
    void openWith(const QList<QPair<QString, QByteArray>> &files);
    QStringList shownFields() const;
    std::unique_ptr<WindowHarness> harness;
};

void MainWindowTagViewTest::init()
{
    harness = std::make_unique<WindowHarness>();
}

void MainWindowTagViewTest::cleanup()
{
    harness.reset();
}

void MainWindowTagViewTest::openWith(const QList<QPair<QString, QByteArray>> &files)
{
    for (const auto &file : files)
        QVERIFY(Mp3Files::Write(harness->dir.filePath(file.first), file.second));
    harness->open().show();
    QVERIFY(QTest::qWaitForWindowExposed(harness->window.get()));
    harness->window->openFolder(harness->dir.path());
}

QStringList MainWindowTagViewTest::shownFields() const
{
    QStringList fields;
    for (int i = 1; i <= 5; ++i)
        fields.append(harness->find<QLineEdit>(QStringLiteral("Text%1").arg(i))->text());
    fields.append(harness->find<QComboBox>(QStringLiteral("Combo1"))->currentText());
    return fields;
}

void MainWindowTagViewTest::fields_data()
{
    QTest::addColumn<QByteArray>("trailer");
    QTest::addColumn<QStringList>("shown"); // Text1..Text5, Combo1
    QTest::newRow("plain") << Mp3Files::Trailer({"Morning", "Quartet", "Blue", "1999", "Nice", 8})
                           << QStringList{"Morning", "Quartet", "Blue", "1999", "Nice", "Jazz"};
    QTest::newRow("spaces trimmed")
        << Mp3Files::Trailer({"  Song", "  Quartet  ", "Al bum ", "99", " x", 0})
        << QStringList{"Song", "Quartet", "Al bum", "99", "x", "Blues"};
    QTest::newRow("all spaces") << Mp3Files::Trailer({"   ", "", " ", "    ", "  ", 17})
                                << QStringList{"", "", "", "", "", "Rock"};
    // Zero padding is no part of the text.
    QTest::newRow("zero padded") << Mp3Files::Trailer(
                                        {"Titel", "Artiest", "Album", "2001", "Info", 13}, '\0')
                                 << QStringList{"Titel", "Artiest", "Album", "2001", "Info", "Pop"};
    QByteArray track = Mp3Files::Trailer({"T", "A", "B", "2002", "Comment", 2});
    track.replace(97 + 7, 23, QByteArray(QByteArray(22, '\0') + QByteArray(1, '\x05')));
    QTest::newRow("ID3v1.1 track")
        << track << QStringList{"T", "A", "B", "2002", "Comment", "Country"};
    QTest::newRow("genre 255") << Mp3Files::Trailer({"T", "A", "B", "C", "D", 255})
                               << QStringList{"T", "A", "B", "C", "D", "Unknown Genre Entry"};
    QTest::newRow("genre 126") << Mp3Files::Trailer({"T", "A", "B", "C", "D", 126})
                               << QStringList{"T", "A", "B", "C", "D", "Unknown Genre Entry"};
    QTest::newRow("code page") << Mp3Files::Trailer({"Caf\xe9", "\x80uro", "", "", "", 8})
                               << QStringList{"Caf\u00e9", "\u20acuro", "", "", "", "Jazz"};
}

void MainWindowTagViewTest::fields()
{
    QFETCH(QByteArray, trailer);
    QFETCH(QStringList, shown);
    openWith({{QStringLiteral("song.mp3"), Mp3Files::Audio(2) + trailer}});
    harness->clickRow(0);
    QCOMPARE(shownFields(), shown);
    QCOMPARE(harness->window->tagMarker(), QStringLiteral("TAG"));
    // The summary shows the same texts at x = 70.
    const auto &drawn = harness->find<PictureBox>(QStringLiteral("Pic"))->drawn();
    QStringList values;
    for (const PictureBox::Drawn &item : drawn) {
        if (item.position.x() == 70)
            values.append(item.text);
    }
    QCOMPARE(values, shown);
}

void MainWindowTagViewTest::informationLines()
{
    openWith({{QStringLiteral("a.mp3"), QByteArray(10, 'x')},
              {QStringLiteral("song.mp3"), Mp3Files::Audio(3) + Mp3Files::Trailer({"S"})}});
    harness->clickRow(1);
    const QString path = harness->dir.filePath(QStringLiteral("song.mp3"));
    QCOMPARE(harness->text(QStringLiteral("Label3")),
             QStringLiteral("Bestand ..............: song.mp3"));
    const QString date = harness->text(QStringLiteral("Label4"));
    QVERIFY2(date.startsWith(QStringLiteral("Date ...................: ")), qPrintable(date));
    QVERIFY2(date.endsWith(QStringLiteral(" / Grootte : %1 Bytes").arg(3 * 417 + 128)),
             qPrintable(date));
    QCOMPARE(harness->text(QStringLiteral("Label5")),
             QStringLiteral("Pathname ...........: ") + path);
    QCOMPARE(harness->window->selectedFilePath(), path);
    QCOMPARE(harness->window->selectedFolder(), harness->dir.path() + QLatin1Char('/'));
    // Each label is sized to its text, so nothing is cut off.
    auto *label5 = harness->find<QLabel>(QStringLiteral("Label5"));
    QCOMPARE(label5->size(), label5->sizeHint());
}

void MainWindowTagViewTest::summaryPanel()
{
    openWith({{QStringLiteral("song.mp3"),
               Mp3Files::Audio(1) + Mp3Files::Trailer({"Morning", "  Quartet  ", "", "", "", 8})}});
    harness->clickRow(0);
    auto *pic = harness->find<PictureBox>(QStringLiteral("Pic"));
    QCOMPARE(pic->background(), QColor(Qt::black));
    const QStringList captions = {"Titel...... ", "Artiest... ",  "Album... ",
                                  "Jaar...... ",  "Info....... ", "Genre... "};
    const QStringList values = {"Morning", "Quartet", "", "", "", "Jazz"};
    const auto &drawn = pic->drawn();
    QCOMPARE(drawn.size(), 6 + 6 + 6 + 1);
    for (int i = 0; i < 6; ++i) {
        const int y = 10 + 20 * i;
        QCOMPARE(drawn[i].text, captions[i]);
        QCOMPARE(drawn[i].position, QPoint(10, y));
        QCOMPARE(drawn[6 + i].text, QStringLiteral(":"));
        QCOMPARE(drawn[6 + i].position, QPoint(60, y));
        QCOMPARE(drawn[12 + i].text, values[i]);
        QCOMPARE(drawn[12 + i].position, QPoint(70, y));
        for (int part : {i, 6 + i, 12 + i}) {
            QCOMPARE(drawn[part].colour, QColor(Qt::white));
            QCOMPARE(drawn[part].pointSize, 10.0);
            QVERIFY(!drawn[part].bold);
        }
    }
    const PictureBox::Drawn &info = drawn.last();
    QCOMPARE(info.text, QStringLiteral("Info"));
    QCOMPARE(info.position, QPoint(10, 300));
    QCOMPARE(info.pointSize, 50.0);
    QVERIFY(info.bold);
    QCOMPARE(info.colour, QColor(40, 40, 40));
    // What is recorded is what is on the surface: white text on black where
    // the captions are, the grey word low down, black elsewhere.
    const QImage surface = pic->surface();
    auto countPixels = [&surface](const QRect &area, const QColor &colour) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += surface.pixelColor(x, y) == colour;
        return count;
    };
    int bright = 0;
    for (int y = 10; y < 130; ++y)
        for (int x = 10; x < 60; ++x)
            bright += surface.pixelColor(x, y).lightness() > 128;
    QVERIFY2(bright > 50, qPrintable(QString::number(bright)));
    QVERIFY(countPixels(QRect(10, 300, 120, 60), QColor(40, 40, 40)) > 100);
    QCOMPARE(countPixels(QRect(200, 150, 200, 100), Qt::black), 200 * 100);
}

void MainWindowTagViewTest::noTagKeepsGenre_data()
{
    QTest::addColumn<QByteArray>("bare");
    QTest::newRow("no trailer") << Mp3Files::Audio(2);
    QTest::newRow("shorter than a trailer") << QByteArray("TAG short");
    QTest::newRow("empty file") << QByteArray();
}

void MainWindowTagViewTest::noTagKeepsGenre()
{
    QFETCH(QByteArray, bare);
    openWith({{QStringLiteral("a.mp3"),
               Mp3Files::Audio(1) + Mp3Files::Trailer({"T", "A", "B", "1", "C", 8})},
              {QStringLiteral("b.mp3"), bare}});
    harness->clickRow(0);
    QCOMPARE(harness->window->tagMarker(), QStringLiteral("TAG"));
    harness->clickRow(1);
    QCOMPARE(shownFields(), QStringList({"No ID Version 1.1 Tag Found", "", "", "", "", "Jazz"}));
    QCOMPARE(harness->window->tagMarker(), QString());
    const auto &drawn = harness->find<PictureBox>(QStringLiteral("Pic"))->drawn();
    QCOMPARE(drawn.size(), 6 + 6 + 1 + 1);
    QCOMPARE(drawn[12].text, QStringLiteral("No ID Version 1.1 Tag Found"));
    QCOMPARE(drawn[12].position, QPoint(70, 10));
    QCOMPARE(drawn[13].text, QStringLiteral("Info"));
    QVERIFY(harness->messages.shown.isEmpty());
}

void MainWindowTagViewTest::keyboardSelection()
{
    openWith({{QStringLiteral("a.mp3"), Mp3Files::Audio(1) + Mp3Files::Trailer({"Een"})},
              {QStringLiteral("b.mp3"), Mp3Files::Audio(1) + Mp3Files::Trailer({"Twee"})}});
    auto *list = harness->find<QAbstractItemView>(QStringLiteral("List1"));
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    // Taking the focus chooses nothing.
    QCOMPARE(harness->window->selectedFilePath(), QString());
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(harness->selectedRow(), 1);
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("Twee"));
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("Een"));
    QCOMPARE(harness->window->selectedFilePath(), harness->dir.filePath(QStringLiteral("a.mp3")));
}

void MainWindowTagViewTest::sameRowClickedAgain()
{
    openWith({{QStringLiteral("a.mp3"), Mp3Files::Audio(1) + Mp3Files::Trailer({"Een"})}});
    harness->clickRow(0);
    auto *title = harness->find<QLineEdit>(QStringLiteral("Text1"));
    title->setText(QStringLiteral("edited"));
    harness->clickRow(0);
    QCOMPARE(title->text(), QStringLiteral("Een"));
}

void MainWindowTagViewTest::vanishedFile()
{
    openWith({{QStringLiteral("a.mp3"), Mp3Files::Audio(1) + Mp3Files::Trailer({"Een"})},
              {QStringLiteral("gone.mp3"), Mp3Files::Audio(1) + Mp3Files::Trailer({"Weg"})}});
    QVERIFY(QFile::remove(harness->dir.filePath(QStringLiteral("gone.mp3"))));
    harness->clickRow(1);
    QCOMPARE(harness->text(QStringLiteral("Label3")),
             QStringLiteral("Bestand ..............: gone.mp3"));
    QCOMPARE(harness->text(QStringLiteral("Label4")), QStringLiteral("Date ...................: "));
    QCOMPARE(harness->text(QStringLiteral("Text1")), QStringLiteral("No ID Version 1.1 Tag Found"));
    QCOMPARE(harness->window->tagMarker(), QString());
    QVERIFY(harness->messages.shown.isEmpty());
    QVERIFY(!QFile::exists(harness->dir.filePath(QStringLiteral("gone.mp3"))));
}

QTEST_MAIN(MainWindowTagViewTest)
#include "tst_MainWindowTagView.moc"
