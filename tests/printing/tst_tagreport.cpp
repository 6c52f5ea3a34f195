#include "PrintFakes.h"
#include "TagReport.h"

#include <QPainter>
#include <QtTest>

namespace {

// The page as the user should find it: every text at its place in twips,
// in its colour and weight.
struct ExpectedText {
    int x, y;
    QString text;
    QColor colour;
    bool bold;
};

// v: file name, six tag values, date and size, path.
QVector<ExpectedText> expectedPage(const QStringList &v)
{
    const QColor red(90, 0, 0), green(0, 90, 0), blue(0, 0, 90);
    QVector<ExpectedText> page{{450, 2100, "Data : " + v[0], red, true}};
    const QStringList labels{"Titel.............. ", "Artiest.......... ",   "Album.......... ",
                             "Jaar.............. ",  "Info............... ", "Genre........... ",
                             "Bestand....... ",      "Size.............. ",  "Pathname..... "};
    const QStringList values{v[1], v[2], v[3], v[4], v[5], v[6], v[0], v[7], v[8]};
    const int ys[] = {2700, 3000, 3300, 3600, 3900, 4200, 4800, 5100, 5400};
    for (int i = 0; i < 9; ++i) {
        const QColor colour = i < 6 ? green : blue;
        page.append({450, ys[i], labels[i], colour, false});
        page.append({1860, ys[i], ":", colour, false});
        if (!values[i].isEmpty()) // an empty value draws nothing
            page.append({1980, ys[i], values[i], colour, false});
    }
    return page;
}

} // namespace

class TagReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void page_data();
    void page();
};

void TagReportTest::page_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QStringList>("v");
    QTest::newRow("1200 dpi") << 1200
                              << QStringList{
                                     "song.mp3",   "Titel",
                                     "Artiest",    "Album",
                                     "1999",       "Commentaar",
                                     "Jazz",       "02-01-2024 09:05:07 / Grootte : 4 Bytes",
                                     "/m/song.mp3"};
    QTest::newRow("300 dpi, edited")
        << 300 << QStringList{"song.mp3", "  Nieuw  ",           "Artiest",    "Album",      "2001",
                              " x",       "Unknown Genre Entry", "02-01-2024", "/m/song.mp3"};
    QTest::newRow("600 dpi, empty fields")
        << 600 << QStringList{"song.mp3", "", "", "", "", "", "", "0 Bytes", "/m/song.mp3"};
    QTest::newRow("360 dpi, no selection")
        << 360 << QStringList{"", "Titel", "", "", "", "", "Blues", "4 Bytes", "/m/old.mp3"};
}

void TagReportTest::page()
{
    QFETCH(int, dpi);
    QFETCH(QStringList, v);
    RecordingPrinter device(dpi);
    const QImage banner = ReportBanner();
    QCOMPARE(banner.size(), QSize(1000, 150));
    QPainter painter(&device);
    PaintTagReport(painter, TagReportInput{{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[8]}, v[7]},
                   banner);
    painter.end();

    const qreal unit = dpi / 1440.0; // device units in a twip
    QCOMPARE(device.images.size(), 1);
    QCOMPARE(device.images[0].second, QRectF(0, 0, 1000, 150));
    QCOMPARE(device.images[0].first, QRectF(390 * unit, 300 * unit, 11100 * unit, 1500 * unit));
    const QVector<ExpectedText> expected = expectedPage(v);
    QCOMPARE(device.texts.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const ExpectedText &want = expected[i];
        const RecordedText &got = device.texts[i];
        QCOMPARE(got.text, want.text);
        const qreal top = got.baseline.y() - QFontMetricsF(got.font, &device).ascent();
        QVERIFY2(qAbs(got.baseline.x() - want.x * unit) <= 1 && qAbs(top - want.y * unit) <= 1,
                 qPrintable(want.text));
        QCOMPARE(got.font.family(), QStringLiteral("Arial"));
        QCOMPARE(got.font.pointSizeF(), 12.0);
        QCOMPARE(got.font.bold(), want.bold);
        QCOMPARE(got.colour, want.colour);
    }
}

QTEST_MAIN(TagReportTest)
#include "tst_tagreport.moc"
