#include "FakeMessageService.h"
#include "PrintTags.h"
#include "ReportPrinter.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A printer whose page is an image. It can be missing, or fail once the
// job has started, and keeps a log of what was done with it.
class ImagePrinter : public ReportPrinter {
public:
    enum class Fault { None, Missing, FailsWhenStarted, FailsWhilePainting, Refused };

    ImagePrinter(Fault fault, QStringList &log) : fault_(fault), log_(log) {}

    QPaintDevice *open() override
    {
        log_ << "open";
        if (fault_ == Fault::Missing)
            return nullptr;
        page = QImage(1275, 1650, QImage::Format_RGB32); // 8.5 x 11 inches at 150 dpi
        page.setDotsPerMeterX(5906);
        page.setDotsPerMeterY(5906);
        page.fill(Qt::white);
        return &page;
    }
    bool healthy() const override
    {
        if (fault_ == Fault::FailsWhenStarted)
            return false;
        if (fault_ == Fault::FailsWhilePainting)
            return page.pixelColor(640, 38) == Qt::white; // the banner has arrived
        return true;
    }
    bool submit() override
    {
        log_ << "submit";
        return fault_ != Fault::Refused;
    }
    void abort() override { log_ << "abort"; }

    QImage page;

private:
    Fault fault_;
    QStringList &log_;
};

} // namespace

class PrintTagsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void print_data();
    void print();

private:
    QTemporaryDir dir_;
};

void PrintTagsTest::initTestCase()
{
    QFile song(dir_.filePath("song.mp3"));
    QVERIFY(song.open(QIODevice::WriteOnly));
    song.write(QByteArray(300, 'x'));
}

void PrintTagsTest::print_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("expectedLog");
    QTest::addColumn<bool>("printed");
    using F = ImagePrinter::Fault;
    QTest::newRow("printed") << "song.mp3" << int(F::None) << QStringList{"date", "open", "submit"}
                             << true;
    QTest::newRow("no printer") << "song.mp3" << int(F::Missing) << QStringList{"date", "open"}
                                << false;
    QTest::newRow("no file clicked") << "" << int(F::None) << QStringList{} << false;
    QTest::newRow("file vanished") << "gone.mp3" << int(F::None) << QStringList{} << false;
    QTest::newRow("refused at start")
        << "song.mp3" << int(F::FailsWhenStarted) << QStringList{"date", "open", "abort"} << false;
    QTest::newRow("refused by the queue")
        << "song.mp3" << int(F::Refused) << QStringList{"date", "open", "submit", "abort"} << false;
    QTest::newRow("fails half way") << "song.mp3" << int(F::FailsWhilePainting)
                                    << QStringList{"date", "open", "abort"} << false;
}

void PrintTagsTest::print()
{
    QFETCH(QString, file);
    QFETCH(int, fault);
    QFETCH(QStringList, expectedLog);
    QFETCH(bool, printed);

    QStringList log;
    ImagePrinter printer(ImagePrinter::Fault(fault), log);
    FakeMessageService messages;
    const QString path = file.isEmpty() ? QString() : dir_.filePath(file);
    const ReportFields fields{"song.mp3", "T", "A", "Al", "1999", "C", "Jazz", path};
    const auto dateSize = [&log](const QFileInfo &) {
        log << "date";
        return QStringLiteral("1-1-2024 / Grootte : 300 Bytes");
    };

    QCOMPARE(PrintTags(fields, QFileInfo(path), dateSize, printer, messages), printed);
    QCOMPARE(log, expectedLog);
    if (printed) {
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(!printer.page.isNull());
        QCOMPARE(printer.page.pixelColor(640, 38), QColor(130, 130, 0)); // banner band
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
