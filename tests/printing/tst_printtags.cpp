#include "FakeServices.h"
#include "PrintFakes.h"
#include "PrintTags.h"
#include "TagReport.h"

#include <QTemporaryFile>
#include <QtTest>

// The report through the print path: the page laid out at the printer's
// resolution, or on any failure the message and no job left behind.
class PrintTagsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void print_data();
    void print();
};

void PrintTagsTest::print_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QStringList>("shown"); // the list entry and the six tag boxes
    QTest::addColumn<QString>("file");      // song, gone, folder or none
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("expectedLog");
    const QStringList tag{"song.mp3", "Titel", "Artiest", "Album", "1999", "Commentaar", "Jazz"};
    const QStringList printed{"date", "open", "submit"}, failed{"date", "open", "abort"}, none;
    using P = RecordingPrinter;
    QTest::newRow("1200 dpi") << 1200 << tag << "song" << int(P::None) << printed;
    QTest::newRow("300 dpi, edited, untrimmed")
        << 300 << QStringList{"song.mp3", "  Nieuw  ", "Artiest", "Album", "2001", " x", "Unknown"}
        << "song" << int(P::None) << printed;
    QTest::newRow("600 dpi, empty fields") << 600 << QStringList{"song.mp3", "", "", "", "", "", ""}
                                           << "song" << int(P::None) << printed;
    QTest::newRow("360 dpi, no selection")
        << 360 << QStringList{"", "Titel", "", "", "", "", "Blues"} << "song" << int(P::None)
        << printed;
    QTest::newRow("no printer") << 600 << tag << "song" << int(P::Missing)
                                << QStringList{"date", "open"};
    QTest::newRow("no file clicked") << 600 << tag << "none" << int(P::None) << none;
    QTest::newRow("file vanished") << 600 << tag << "gone" << int(P::None) << none;
    QTest::newRow("path is a folder") << 600 << tag << "folder" << int(P::None) << none;
    QTest::newRow("fails at start") << 600 << tag << "song" << int(P::FailsWhenStarted) << failed;
    QTest::newRow("fails half way") << 600 << tag << "song" << int(P::FailsWhilePainting) << failed;
    QTest::newRow("refused by the queue") << 600 << tag << "song" << int(P::Refused)
                                          << QStringList{"date", "open", "submit", "abort"};
}

void PrintTagsTest::print()
{
    QFETCH(int, dpi);
    QFETCH(QStringList, shown);
    QFETCH(QString, file);
    QFETCH(int, fault);
    QFETCH(QStringList, expectedLog);
    QTemporaryFile song;
    QVERIFY(song.open());
    const QString path = QMap<QString, QString>{
        {"song", song.fileName()},
        {"gone", song.fileName() + ".gone"},
        {"folder",
         QDir::tempPath()}}.value(file);
    const ReportFields fields{shown[0], shown[1], shown[2], shown[3],
                              shown[4], shown[5], shown[6], path};
    RecordingPrinter printer(dpi, RecordingPrinter::Fault(fault));
    const auto dateSize = [&printer](const QFileInfo &info) {
        printer.log << "date";
        return info.fileName().prepend("size of ");
    };
    FakeMessages messages;
    const bool printed = PrintTags(fields, QFileInfo(path), dateSize, printer, messages);
    QCOMPARE(printer.log, expectedLog);
    QCOMPARE(printed, expectedLog.endsWith("submit"));
    QCOMPARE(messages.shown.size(), printed ? 0 : 1);
    if (!printed) {
        const MessageRequest &m = messages.shown.first();
        QCOMPARE(m.text + '|' + m.caption,
                 "Geen printer aangesloten...\r\nof de printer staat niet aan!|Brelko");
        QVERIFY(m.buttons == MessageButtons::Ok && m.icon == MessageIcon::None);
        return;
    }

    const qreal unit = dpi / 1440.0; // device units in a twip
    QCOMPARE(printer.images.size(), 1);
    QCOMPARE(printer.images[0].first, QRectF(390 * unit, 300 * unit, 11100 * unit, 1500 * unit));
    QCOMPARE(printer.images[0].second, QRectF(0, 0, 1000, 150)); // the whole banner
    // Each text where its twips put it at this resolution; an empty value draws nothing.
    QVector<ReportText> expected = ReportTexts({fields, dateSize(QFileInfo(path))});
    expected.removeIf([](const ReportText &t) { return t.text.isEmpty(); });
    QCOMPARE(printer.texts.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const ReportText &want = expected[i];
        const RecordedText &got = printer.texts[i];
        QCOMPARE(got.text, want.text);
        const qreal top = got.baseline.y() - QFontMetricsF(got.font, &printer).ascent();
        QVERIFY2(qAbs(got.baseline.x() - want.x * unit) <= 1 && qAbs(top - want.y * unit) <= 1,
                 qPrintable(want.text));
        QCOMPARE(got.font.family(), QStringLiteral("Arial"));
        QCOMPARE(got.font.pointSizeF(), 12.0);
        QCOMPARE(got.font.bold(), want.bold);
        QCOMPARE(got.colour, want.colour);
    }
}

QTEST_MAIN(PrintTagsTest)
#include "tst_printtags.moc"
