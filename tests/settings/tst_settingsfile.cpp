#include "SettingsFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kHeaderLines = "\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n";

// Writes data to path, making its folder; a null array writes no file.
bool Put(const QString &path, const QByteArray &data)
{
    return data.isNull() || (QDir().mkpath(QFileInfo(path).path()) && TryWriteFile(path, data));
}

QString Text(const BackgroundColour &c)
{
    return QStringLiteral("%1,%2,%3").arg(c.red).arg(c.green).arg(c.blue);
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What a file holds, read from the defaults on: values read before a
    // failure are kept.
    void parse()
    {
        // A value that begins with a quote is the whole file; the others
        // follow the two header lines.
        // clang-format off
        const char *rows[][3] = {
            {"10,20,30\r\n", "ok", "10,20,30"}, {"10\r\n20\r\n30\r\n", "ok", "10,20,30"},
            {" 10 , 20 ,  30 \r\n", "ok", "10,20,30"}, {"1,2,3", "ok", "1,2,3"}, // no last line end
            {"300,999,0\r\n", "ok", "300,999,0"}, {"-4,5,6\r\n", "ok", "-4,5,6"}, {"0,0,255", "ok", "0,0,255"},
            {"\"a\"\n\"b\"\n1,2,3\n", "ok", "1,2,3"},              // LF line ends
            {"\"Someone else\"\r\n\"x\"\r\n4,5,6", "ok", "4,5,6"}, // any header
            {"\"a,b\"\r\n\"--\"\r\n7,8,9\r\n", "ok", "7,8,9"},     // comma inside quotes
            {"", "bad", "220,220,190"}, {"\"Quarvel", "bad", "220,220,190"}, // header only, unended
            {"10,20,300\r\n", "bad", "10,20,190"}, {"10,20,-1\r\n", "bad", "10,20,190"},
            {"10,20,abc\r\n", "bad", "10,20,190"}, {"10,20\r\n", "bad", "10,20,190"},
            {"1,green,30\r\n", "bad", "1,220,190"}, {"99999999999,2,3\r\n", "bad", "220,220,190"}};
        // clang-format on
        for (const auto &[values, ok, colour] : rows) {
            const QByteArray data = *values == '"' ? QByteArray(values) : kHeaderLines + values;
            BackgroundColour read;
            QVERIFY2(ParseSettings(data, read) == (ok == QLatin1String("ok")), values);
            QCOMPARE(Text(read), QString(colour));
        }
    }

    // A missing or damaged file is rewritten whole with what was read; a file
    // in the former place is carried over once and never rewritten there.
    void readRecoverAndAdopt_data()
    {
        QTest::addColumn<QByteArray>("former");  // null: no file
        QTest::addColumn<QByteArray>("present"); // null: no file
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("after");
        const QByteArray none, colour = kHeaderLines + "1,2,3\r\n";
        const QByteArray defaults = kHeaderLines + "220,220,190\r\n";
        QTest::newRow("good file untouched") << none << kHeaderLines + "1\r\n2\r\n3\r\n"
                                             << true << kHeaderLines + "1\r\n2\r\n3\r\n";
        QTest::newRow("missing: created") << none << none << false << defaults;
        QTest::newRow("two lines rewritten") << none << kHeaderLines << false << defaults;
        QTest::newRow("blue 300 rewritten") << none << kHeaderLines + "10,20,300\r\n"
                                            << false << kHeaderLines + "10,20,190\r\n";
        QTest::newRow("former carried over") << colour << none << true << colour;
        QTest::newRow("present one stays") << colour << kHeaderLines + "4,5,6\r\n"
                                           << true << kHeaderLines + "4,5,6\r\n";
        QTest::newRow("former read in part") << kHeaderLines + "10,20,300\r\n"
                                             << none << true << kHeaderLines + "10,20,190\r\n";
    }

    void readRecoverAndAdopt()
    {
        QFETCH(QByteArray, former);
        QFETCH(QByteArray, present);
        QFETCH(bool, ok);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString formerPath = dir.filePath("Brelko/Brelko/Brelko.ini");
        const QString path = dir.filePath("Brelko/Brelko.ini");
        QVERIFY(Put(formerPath, former) && Put(path, present));
        QCOMPARE(AdoptFormerSettings(path, formerPath), !former.isNull() && present.isNull());
        BackgroundColour colour;
        QCOMPARE(SettingsFile(path).read(colour), ok);
        QCOMPARE(ReadFile(path), after);
        QCOMPARE(ReadFile(formerPath), former);
        QVERIFY(!AdoptFormerSettings(path, formerPath)); // only once
        // Written whole at once: no temporary file is left beside it.
        QCOMPARE(QDir(dir.filePath("Brelko")).entryList(QDir::Files), QStringList{"Brelko.ini"});
    }

    void unwritableLocationIsPassedOver()
    {
        QTemporaryDir dir; // a path under a regular file can never be created, even by root
        QVERIFY(TryWriteFile(dir.filePath("file"), ""));
        const SettingsFile settings(dir.filePath("file/Brelko.ini"));
        BackgroundColour colour;
        QVERIFY(!settings.read(colour));
        QCOMPARE(colour, BackgroundColour());
        QVERIFY(!settings.write({1, 2, 3}));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
