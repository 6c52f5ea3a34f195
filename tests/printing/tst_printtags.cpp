#include "PrintFakes.h"
#include "PrintTags.h"
#include "ReportPrinter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A printer whose page records what is painted. It can be missing, fail
// once the job has started or half way down the page, or refuse the job,
// and it logs what was done with it.
class FakePrinter : public ReportPrinter {
public:
    enum Fault { None, Missing, FailsWhenStarted, FailsWhilePainting, Refused };
    FakePrinter(Fault fault, QStringList &log) : fault_(fault), log_(log) {}

    QPaintDevice *open() override
    {
        log_ << "open";
        return fault_ == Missing ? nullptr : &page;
    }
    bool healthy() const override
    {
        // Half way: the banner has arrived, the texts have not.
        return fault_ != FailsWhenStarted &&
               (fault_ != FailsWhilePainting || page.images.isEmpty());
    }
    bool submit() override
    {
        log_ << "submit";
        return fault_ != Refused;
    }
    void abort() override { log_ << "abort"; }

    RecordingPage page{600};

private:
    Fault fault_;
    QStringList &log_;
};

} // namespace

class PrintTagsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void print_data();
    void print();
};

void PrintTagsTest::print_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("expectedLog");
    const QStringList none;
    QTest::newRow("printed") << "song.mp3" << int(FakePrinter::None)
                             << QStringList{"date", "open", "submit"};
    QTest::newRow("no printer") << "song.mp3" << int(FakePrinter::Missing)
                                << QStringList{"date", "open"};
    QTest::newRow("no file clicked") << "" << int(FakePrinter::None) << none;
    QTest::newRow("file vanished") << "gone.mp3" << int(FakePrinter::None) << none;
    QTest::newRow("path is a folder") << "." << int(FakePrinter::None) << none;
    QTest::newRow("fails at start")
        << "song.mp3" << int(FakePrinter::FailsWhenStarted) << QStringList{"date", "open", "abort"};
    QTest::newRow("fails half way") << "song.mp3" << int(FakePrinter::FailsWhilePainting)
                                    << QStringList{"date", "open", "abort"};
    QTest::newRow("refused by the queue") << "song.mp3" << int(FakePrinter::Refused)
                                          << QStringList{"date", "open", "submit", "abort"};
}

void PrintTagsTest::print()
{
    QFETCH(QString, file);
    QFETCH(int, fault);
    QFETCH(QStringList, expectedLog);
    QTemporaryDir dir;
    QFile song(dir.filePath("song.mp3"));
    QVERIFY(song.open(QIODevice::WriteOnly) && song.write("data") == 4);
    song.close();

    QStringList log;
    FakePrinter printer(FakePrinter::Fault(fault), log);
    FakeMessageService messages;
    const QString path = file.isEmpty() ? QString() : dir.filePath(file);
    // Edited, untrimmed box texts are printed as they stand.
    const ReportFields fields{"song.mp3", "  Nieuw  ", "A", "Al", "1999", "C", "Jazz", path};
    const auto dateSize = [&log](const QFileInfo &info) {
        log << "date";
        return info.fileName().prepend("size of ");
    };
    const bool printed = PrintTags(fields, QFileInfo(path), dateSize, printer, messages);
    QCOMPARE(log, expectedLog);
    QCOMPARE(printed, fault == FakePrinter::None && !expectedLog.isEmpty());
    if (printed) {
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(printer.page.images.size(), 1);
        QStringList texts;
        for (const RecordedText &text : printer.page.texts)
            texts << text.text;
        QVERIFY2(texts.contains("  Nieuw  ") && texts.contains("size of song.mp3"),
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
