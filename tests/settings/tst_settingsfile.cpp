#include "SettingsFile.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kHeaderLines = "\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n";

BackgroundColour Colour(int red, int green, int blue)
{
    BackgroundColour colour;
    colour.red = red;
    colour.green = green;
    colour.blue = quint8(blue);
    return colour;
}

} // namespace

Q_DECLARE_METATYPE(BackgroundColour)

class TestSettingsFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void format();
    void parse_data();
    void parse();
    void readAndRecover_data();
    void readAndRecover();
    void missingFileIsCreatedWithDefaults();
    void unwritableLocationIsPassedOver();
    void writeReplacesWholeFile();
};

void TestSettingsFile::format()
{
    QCOMPARE(FormatSettings(BackgroundColour()), kHeaderLines + "220,220,190\r\n");
    QCOMPARE(FormatSettings(Colour(-5, 1000, 0)), kHeaderLines + "-5,1000,0\r\n");
}

void TestSettingsFile::parse_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<BackgroundColour>("colour"); // starting from the defaults

    const BackgroundColour defaults;
    QTest::newRow("as written") << kHeaderLines + "10,20,30\r\n" << true << Colour(10, 20, 30);
    QTest::newRow("values on three lines") << kHeaderLines + "10\r\n20\r\n30\r\n"
                                           << true << Colour(10, 20, 30);
    QTest::newRow("spaces around values") << kHeaderLines + " 10 , 20 ,  30 \r\n"
                                          << true << Colour(10, 20, 30);
    QTest::newRow("LF line ends") << QByteArray("\"a\"\n\"b\"\n1,2,3\n") << true << Colour(1, 2, 3);
    QTest::newRow("no final line end") << kHeaderLines + "1,2,3" << true << Colour(1, 2, 3);
    QTest::newRow("other header is not checked")
        << QByteArray("\"Someone else\"\r\n\"x\"\r\n4,5,6\r\n") << true << Colour(4, 5, 6);
    QTest::newRow("header with comma inside quotes")
        << QByteArray("\"a,b\"\r\n\"--\"\r\n7,8,9\r\n") << true << Colour(7, 8, 9);
    QTest::newRow("red and green above 255 kept") << kHeaderLines + "300,999,0\r\n"
                                                  << true << Colour(300, 999, 0);
    QTest::newRow("negative red kept") << kHeaderLines + "-4,5,6\r\n" << true << Colour(-4, 5, 6);
    QTest::newRow("blue 255") << kHeaderLines + "0,0,255\r\n" << true << Colour(0, 0, 255);

    QTest::newRow("empty file") << QByteArray() << false << defaults;
    QTest::newRow("only the two text lines") << kHeaderLines << false << defaults;
    QTest::newRow("blue 300 keeps red and green") << kHeaderLines + "10,20,300\r\n"
                                                  << false << Colour(10, 20, 190);
    QTest::newRow("blue negative") << kHeaderLines + "10,20,-1\r\n" << false << Colour(10, 20, 190);
    QTest::newRow("blue not a number") << kHeaderLines + "10,20,abc\r\n"
                                       << false << Colour(10, 20, 190);
    QTest::newRow("blue missing") << kHeaderLines + "10,20\r\n" << false << Colour(10, 20, 190);
    QTest::newRow("red not a number") << kHeaderLines + "red,20,30\r\n" << false << defaults;
    QTest::newRow("green not a number") << kHeaderLines + "1,green,30\r\n"
                                        << false << Colour(1, 220, 190);
    QTest::newRow("red beyond int") << kHeaderLines + "99999999999,2,3\r\n" << false << defaults;
    QTest::newRow("unterminated header") << QByteArray("\"Quarvel") << false << defaults;
}

void TestSettingsFile::parse()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, ok);
    QFETCH(BackgroundColour, colour);
    BackgroundColour read;
    QCOMPARE(ParseSettings(data, read), ok);
    QCOMPARE(read.red, colour.red);
    QCOMPARE(read.green, colour.green);
    QCOMPARE(int(read.blue), int(colour.blue));
}

void TestSettingsFile::readAndRecover_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("good file untouched") << kHeaderLines + "10,20,30\r\n"
                                         << true << kHeaderLines + "10,20,30\r\n";
    QTest::newRow("three lines of values untouched") << kHeaderLines + "1\r\n2\r\n3\r\n"
                                                     << true << kHeaderLines + "1\r\n2\r\n3\r\n";
    QTest::newRow("two lines rewritten")
        << kHeaderLines << false << kHeaderLines + "220,220,190\r\n";
    QTest::newRow("blue 300 rewritten") << kHeaderLines + "10,20,300\r\n"
                                        << false << kHeaderLines + "10,20,190\r\n";
}

void TestSettingsFile::readAndRecover()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, ok);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brelko.ini"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    BackgroundColour colour;
    QCOMPARE(SettingsFile(path).read(colour), ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
}

void TestSettingsFile::missingFileIsCreatedWithDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brelko.ini"));
    BackgroundColour colour;
    QVERIFY(!SettingsFile(path).read(colour));
    QCOMPARE(colour, BackgroundColour());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), kHeaderLines + "220,220,190\r\n");
}

void TestSettingsFile::unwritableLocationIsPassedOver()
{
    QTemporaryDir dir;
    // A path under a regular file can never be created, even by root.
    const QString blocker = dir.filePath(QStringLiteral("file"));
    QFile(blocker).open(QIODevice::WriteOnly);
    const SettingsFile settings(blocker + QStringLiteral("/Brelko.ini"));
    BackgroundColour colour;
    QVERIFY(!settings.read(colour));
    QCOMPARE(colour, BackgroundColour());
    QVERIFY(!settings.write(Colour(1, 2, 3)));
}

void TestSettingsFile::writeReplacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brelko.ini"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1000, 'x'));
    }
    QVERIFY(SettingsFile(path).write(Colour(1, 2, 3)));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), kHeaderLines + "1,2,3\r\n");
    // Nothing but the file itself is left in the folder (no temporary files).
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Brelko.ini")});
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
