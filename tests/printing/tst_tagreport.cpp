#include "RecordingPaintDevice.h"
#include "TagReport.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The page as the user should find it: texts by their twips position.
struct ExpectedText {
    int x, y;
    QString text;
    QColor colour;
    bool bold;
};

const QColor Red(90, 0, 0), Green(0, 90, 0), Blue(0, 0, 90);

QVector<ExpectedText> expectedPage(const QStringList &v)
{
    // v: file name, six tag values, date and size, path
    QVector<ExpectedText> page{{450, 2100, "Data : " + v[0], Red, true}};
    const QStringList labels{"Titel.............. ", "Artiest.......... ",   "Album.......... ",
                             "Jaar.............. ",  "Info............... ", "Genre........... ",
                             "Bestand....... ",      "Size.............. ",  "Pathname..... "};
    const QStringList values{v[1], v[2], v[3], v[4], v[5], v[6], v[0], v[7], v[8]};
    const int ys[] = {2700, 3000, 3300, 3600, 3900, 4200, 4800, 5100, 5400};
    for (int i = 0; i < 9; ++i) {
        const QColor colour = i < 6 ? Green : Blue;
        page.append({450, ys[i], labels[i], colour, false});
        page.append({1860, ys[i], ":", colour, false});
        page.append({1980, ys[i], values[i], colour, false});
    }
    return page;
}

TagReportInput inputOf(const QStringList &v)
{
    return TagReportInput{{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[8]}, v[7]};
}

} // namespace

class TagReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gather_data();
    void gather();
    void page_data();
    void page();
    void pdfPositions();
    void imageTarget();
};

void TagReportTest::gather_data()
{
    QTest::addColumn<QString>("path"); // relative to a folder holding song.mp3
    QTest::addColumn<bool>("gathered");
    QTest::newRow("file") << "song.mp3" << true;
    QTest::newRow("no path") << "" << false;
    QTest::newRow("vanished") << "gone.mp3" << false;
    QTest::newRow("folder") << "." << false;
}

void TagReportTest::gather()
{
    QFETCH(QString, path);
    QFETCH(bool, gathered);
    QTemporaryDir dir;
    QFile song(dir.filePath("song.mp3"));
    QVERIFY(song.open(QIODevice::WriteOnly));
    song.write("data");
    song.close();
    const QString full = path.isEmpty() ? QString() : dir.filePath(path);

    // Edited, untrimmed box texts travel unchanged.
    const ReportFields fields{"", "  Titel  ", "Artiest ", "", "19", "", "Jazz", full};
    int asked = 0;
    const auto dateSize = [&](const QFileInfo &info) -> QString {
        ++asked;
        return "size of " + info.fileName();
    };
    const auto input = GatherReportInput(fields, QFileInfo(full), dateSize);
    QCOMPARE(input.has_value(), gathered);
    QCOMPARE(asked, gathered ? 1 : 0);
    if (gathered) {
        QCOMPARE(input->dateAndSize, QStringLiteral("size of song.mp3"));
        QCOMPARE(input->fields.title, QStringLiteral("  Titel  "));
        QCOMPARE(input->fields.artist, QStringLiteral("Artiest "));
        QCOMPARE(input->fields.fileName, QString());
        QCOMPARE(input->fields.selectedFilePath, full);
    }
}

void TagReportTest::page_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QStringList>("values");
    const QStringList full{
        "song.mp3",   "Titel",      "Artiest", "Album",
        "1999",       "Commentaar", "Jazz",    "02-01-2024 09:05:07 / Grootte : 4 Bytes",
        "/m/song.mp3"};
    const QStringList edited{"song.mp3",
                             "  Nieuw  ",
                             "Artiest",
                             "Album",
                             "2001",
                             " x",
                             "Unknown Genre Entry",
                             "02-01-2024 / Grootte : 4 Bytes",
                             "/m/song.mp3"};
    const QStringList empty{"song.mp3",   "", "", "", "", "", "", "02-01-2024 / Grootte : 0 Bytes",
                            "/m/song.mp3"};
    const QStringList noSelection{
        "", "Titel", "", "", "", "", "Blues", "d / Grootte : 4 Bytes", "/m/old.mp3"};
    QTest::newRow("1200 dpi") << 1200 << full;
    QTest::newRow("600 dpi") << 600 << full;
    QTest::newRow("300 dpi edited") << 300 << edited;
    QTest::newRow("600 dpi empty fields") << 600 << empty;
    QTest::newRow("360 dpi no selection") << 360 << noSelection;
}

void TagReportTest::page()
{
    QFETCH(int, dpi);
    QFETCH(QStringList, values);
    RecordingPaintDevice device(dpi);
    const QImage banner = ReportBanner();
    QCOMPARE(banner.size(), QSize(1000, 150));
    QPainter painter(&device);
    PaintTagReport(painter, inputOf(values), banner);
    painter.end();

    const qreal unit = dpi / 1440.0;
    const auto &images = device.engine().images;
    QCOMPARE(images.size(), 1);
    QCOMPARE(images[0].source, QRectF(0, 0, 1000, 150));
    QCOMPARE(images[0].target, QRectF(390 * unit, 300 * unit, 11100 * unit, 1500 * unit));

    // Empty values draw nothing; every other text must be there exactly once.
    QVector<ExpectedText> expected = expectedPage(values);
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](const ExpectedText &e) { return e.text.isEmpty(); }),
                   expected.end());
    const auto &texts = device.engine().texts;
    QCOMPARE(texts.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const ExpectedText &want = expected[i];
        const RecordedText &got = texts[i];
        const QString where = QStringLiteral("text %1 \"%2\"").arg(i).arg(want.text);
        QVERIFY2(got.text == want.text, qPrintable(where + " got \"" + got.text + "\""));
        QVERIFY2(qAbs(got.baseline.x() - want.x * unit) <= 1, qPrintable(where));
        const qreal top = got.baseline.y() - QFontMetricsF(got.font, &device).ascent();
        QVERIFY2(qAbs(top - want.y * unit) <= 1, qPrintable(where));
        QCOMPARE(got.font.family(), QStringLiteral("Arial"));
        QCOMPARE(got.font.pointSizeF(), 12.0);
        QCOMPARE(got.font.bold(), want.bold);
        QCOMPARE(got.colour, want.colour);
    }
}

// The same page in a real PDF, read back by an independent tool.
void TagReportTest::pdfPositions()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QFAIL("pdftotext (poppler-utils) is missing; run scripts/install-deps");
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    {
        QPdfWriter writer(pdf);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0)); // printable area = page: 1 pt = 20 twips
        QPainter painter(&writer);
        PaintTagReport(painter,
                       inputOf({"a.mp3", "Titel", "Artiest", "Album", "1999", "Info", "Jazz",
                                "1-1-2024 / Grootte : 9 Bytes", "/m/a.mp3"}),
                       ReportBanner());
    }
    QProcess tool;
    tool.start("pdftotext", {"-bbox", pdf, "-"});
    QVERIFY(tool.waitForFinished(20000));
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    QCOMPARE(html.count("<page "), 1);

    const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QMultiHash<QString, QPointF> found; // word -> top-left in twips
    for (const auto &m : word.globalMatch(html))
        found.insert(m.captured(3),
                     QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * 20);

    const struct {
        QString word;
        int x, y;
    } cases[] = {{"Data", 450, 2100},
                 {"a.mp3", 1980, 4800},
                 {"Titel..............", 450, 2700},
                 {"Titel", 1980, 2700},
                 {"Genre...........", 450, 4200},
                 {"Jazz", 1980, 4200},
                 {"Pathname.....", 450, 5400},
                 {"/m/a.mp3", 1980, 5400}};
    for (const auto &c : cases) {
        const QList<QPointF> at = found.values(c.word);
        const bool placed = std::any_of(at.begin(), at.end(), [&](const QPointF &p) {
            return qAbs(p.x() - c.x) <= 10 && qAbs(p.y() - c.y) <= 20;
        });
        QVERIFY2(placed, qPrintable(c.word + " not at its place"));
    }
    // Nine colons lined up, and those inside "Data : " and " / Grootte : ".
    QCOMPARE(found.values(":").size(), 11);
    int lined = 0;
    for (const QPointF &p : found.values(":"))
        lined += qAbs(p.x() - 1860) <= 10;
    QCOMPARE(lined, 9);
}

void TagReportTest::imageTarget()
{
    QImage page(1275, 1650, QImage::Format_RGB32); // 150 dpi
    page.setDotsPerMeterX(5906);
    page.setDotsPerMeterY(5906);
    page.fill(Qt::white);
    QPainter painter(&page);
    PaintTagReport(painter, inputOf(QStringList(9, "x")), ReportBanner());
    painter.end();
    // Banner: 390/300 twips is 40.6/31.25 pixels, 11100 x 1500 twips is 1156 x 156 pixels.
    // The olive band along the banner's top edge, 7 of its 150 rows down.
    QCOMPARE(page.pixelColor(600, 38), ReportBanner().pixelColor(500, 7));
    QCOMPARE(page.pixelColor(600, 38), QColor(130, 130, 0));
    QCOMPARE(page.pixelColor(39, 100), QColor(Qt::white));
    QCOMPARE(page.pixelColor(1198, 100), QColor(Qt::white));
    QVERIFY(page.pixelColor(1195, 100) != QColor(Qt::white));
    QCOMPARE(page.pixelColor(600, 189), QColor(Qt::white));
}

QTEST_MAIN(TagReportTest)
#include "tst_tagreport.moc"
