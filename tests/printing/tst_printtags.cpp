#include "PrintFakes.h"
#include "PrintTags.h"

#include <QTemporaryFile>
#include <QtTest>

class PrintTagsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void print_data();
    void print();
};

void PrintTagsTest::print_data()
{
    QTest::addColumn<QString>("file"); // song, gone, folder or none
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("expectedLog");
    const QStringList none;
    QTest::newRow("printed") << "song" << int(RecordingPrinter::None)
                             << QStringList{"date", "open", "submit"};
    QTest::newRow("no printer") << "song" << int(RecordingPrinter::Missing)
                                << QStringList{"date", "open"};
    QTest::newRow("no file clicked") << "" << int(RecordingPrinter::None) << none;
    QTest::newRow("file vanished") << "gone" << int(RecordingPrinter::None) << none;
    QTest::newRow("path is a folder") << "folder" << int(RecordingPrinter::None) << none;
    QTest::newRow("fails at start") << "song" << int(RecordingPrinter::FailsWhenStarted)
                                    << QStringList{"date", "open", "abort"};
    QTest::newRow("fails half way") << "song" << int(RecordingPrinter::FailsWhilePainting)
                                    << QStringList{"date", "open", "abort"};
    QTest::newRow("refused by the queue") << "song" << int(RecordingPrinter::Refused)
                                          << QStringList{"date", "open", "submit", "abort"};
}

void PrintTagsTest::print()
{
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
    RecordingPrinter printer(600, RecordingPrinter::Fault(fault));
    FakeMessageService messages;
    // Edited, untrimmed box texts are printed as they stand.
    const ReportFields fields{"song.mp3", "  Nieuw  ", "A", "Al", "1999", "C", "Jazz", path};
    const auto dateSize = [&printer](const QFileInfo &info) {
        printer.log << "date";
        return info.fileName().prepend("size of ");
    };
    const bool printed = PrintTags(fields, QFileInfo(path), dateSize, printer, messages);
    QCOMPARE(printer.log, expectedLog);
    QCOMPARE(printed, fault == RecordingPrinter::None && !expectedLog.isEmpty());
    if (printed) {
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(printer.images.size(), 1);
        QStringList texts;
        for (const RecordedText &text : printer.texts)
            texts << text.text;
        QVERIFY2(texts.contains("  Nieuw  ") &&
                     texts.contains("size of " + QFileInfo(path).fileName()),
                 qPrintable(texts.join('|')));
        return;
    }
    QCOMPARE(messages.shown.size(), 1);
    const MessageRequest &shown = messages.shown.first();
    QCOMPARE(shown.text,
             QStringLiteral("Geen printer aangesloten...\r\nof de printer staat niet aan!"));
    QCOMPARE(shown.caption, QStringLiteral("Brelko"));
    QCOMPARE(shown.buttons, MessageButtons::Ok);
    QCOMPARE(shown.icon, MessageIcon::None);
}

QTEST_MAIN(PrintTagsTest)
#include "tst_printtags.moc"
