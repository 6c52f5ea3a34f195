#include "SettingsFile.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kHeaderLines = "\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n";

using Colour = BackgroundColour;

} // namespace

Q_DECLARE_METATYPE(BackgroundColour)

// What is in the file at path; a null array when there is no file.
QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes data to path, making its folder; a null array writes no file.
bool Put(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return data.isNull() || (QDir().mkpath(QFileInfo(path).path()) &&
                             file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
}

class TestSettingsFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void readAndRecover_data();
    void readAndRecover();
    void unwritableLocationIsPassedOver();
    void writeReplacesWholeFile();
    void adoptFormer_data();
    void adoptFormer();
};

void TestSettingsFile::parse_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<BackgroundColour>("colour"); // starting from the defaults

    const Colour defaults, partly{10, 20, 190};
    // Most rows follow the two header lines.
    auto row = [](const char *name, const QByteArray &values, bool ok, Colour colour) {
        QTest::newRow(name) << kHeaderLines + values << ok << colour;
    };
    row("as written", "10,20,30\r\n", true, {10, 20, 30});
    row("values on three lines", "10\r\n20\r\n30\r\n", true, {10, 20, 30});
    row("spaces around values", " 10 , 20 ,  30 \r\n", true, {10, 20, 30});
    row("no final line end", "1,2,3", true, {1, 2, 3});
    row("red and green above 255 kept", "300,999,0\r\n", true, {300, 999, 0});
    row("negative red kept", "-4,5,6\r\n", true, {-4, 5, 6});
    row("blue 255", "0,0,255\r\n", true, {0, 0, 255});
    QTest::newRow("LF line ends") << QByteArray("\"a\"\n\"b\"\n1,2,3\n") << true << Colour{1, 2, 3};
    QTest::newRow("other header is not checked")
        << QByteArray("\"Someone else\"\r\n\"x\"\r\n4,5,6\r\n") << true << Colour{4, 5, 6};
    QTest::newRow("header with comma inside quotes")
        << QByteArray("\"a,b\"\r\n\"--\"\r\n7,8,9\r\n") << true << Colour{7, 8, 9};

    QTest::newRow("empty file") << QByteArray() << false << defaults;
    row("only the two text lines", "", false, defaults);
    row("blue 300 keeps red and green", "10,20,300\r\n", false, partly);
    row("blue negative", "10,20,-1\r\n", false, partly);
    row("blue not a number", "10,20,abc\r\n", false, partly);
    row("blue missing", "10,20\r\n", false, partly);
    row("red not a number", "red,20,30\r\n", false, defaults);
    row("green not a number", "1,green,30\r\n", false, {1, 220, 190});
    row("red beyond int", "99999999999,2,3\r\n", false, defaults);
    QTest::newRow("unterminated header") << QByteArray("\"Quarvel") << false << defaults;
}

void TestSettingsFile::parse()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, ok);
    QFETCH(BackgroundColour, colour);
    BackgroundColour read;
    QCOMPARE(ParseSettings(data, read), ok);
    QCOMPARE(QList<int>({read.red, read.green, read.blue}),
             QList<int>({colour.red, colour.green, colour.blue}));
}

void TestSettingsFile::readAndRecover_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("after");
    const QByteArray good = kHeaderLines + "1\r\n2\r\n3\r\n";
    QTest::newRow("good file untouched") << good << true << good;
    QTest::newRow("missing: created with defaults")
        << QByteArray() << false << kHeaderLines + "220,220,190\r\n";
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
    QVERIFY(Put(path, before));
    BackgroundColour colour;
    QCOMPARE(SettingsFile(path).read(colour), ok);
    QCOMPARE(Contents(path), after);
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
    QVERIFY(!settings.write(Colour{1, 2, 3}));
}

void TestSettingsFile::writeReplacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brelko.ini"));
    QVERIFY(Put(path, QByteArray(1000, 'x')));
    QVERIFY(SettingsFile(path).write(Colour{-5, 1000, 3}));
    QCOMPARE(Contents(path), kHeaderLines + "-5,1000,3\r\n");
    // Nothing but the file itself is left in the folder (no temporary files).
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Brelko.ini")});
}

void TestSettingsFile::adoptFormer_data()
{
    QTest::addColumn<QByteArray>("former");  // null: no file
    QTest::addColumn<QByteArray>("present"); // null: no file
    QTest::addColumn<bool>("adopted");
    QTest::addColumn<QByteArray>("after"); // null: still no file
    const QByteArray colour = kHeaderLines + "1,2,3\r\n";
    QTest::newRow("only the former: carried over") << colour << QByteArray() << true << colour;
    QTest::newRow("both: the present one stays") << colour << kHeaderLines + "4,5,6\r\n"
                                                 << false << kHeaderLines + "4,5,6\r\n";
    QTest::newRow("former read in part") << kHeaderLines + "10,20,300\r\n"
                                         << QByteArray() << true << kHeaderLines + "10,20,190\r\n";
    QTest::newRow("neither") << QByteArray() << QByteArray() << false << QByteArray();
}

void TestSettingsFile::adoptFormer()
{
    QFETCH(QByteArray, former);
    QFETCH(QByteArray, present);
    QFETCH(bool, adopted);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString formerPath = dir.filePath(QStringLiteral("Brelko/Brelko/Brelko.ini"));
    const QString path = dir.filePath(QStringLiteral("Brelko/Brelko.ini"));
    QVERIFY(Put(formerPath, former) && Put(path, present));
    QCOMPARE(AdoptFormerSettings(path, formerPath), adopted);
    QCOMPARE(Contents(path), after);
    // Read, never rewritten, and only once: the next start finds the new file.
    QCOMPARE(Contents(formerPath), former);
    QVERIFY(!AdoptFormerSettings(path, formerPath));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
