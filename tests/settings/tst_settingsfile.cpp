#include "SettingsFile.h"
#include "TestFiles.h"

namespace {

const QByteArray kHeaderLines = "\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n";

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What a file holds, read from the defaults on: values read before a
    // failure are kept.
    void parse()
    {
        // A value that begins with a quote is the whole file; the others
        // follow the two header lines. No last line end, LF line ends, any
        // header, a comma inside quotes; no values, a header never ended.
        // clang-format off
        const struct { const char *values; bool ok; const char *colour; } rows[] = {
            {"10,20,30\r\n", 1, "10,20,30"}, {"10\r\n20\r\n30\r\n", 1, "10,20,30"},
            {" 10 , 20 ,  30 \r\n", 1, "10,20,30"}, {"1,2,3", 1, "1,2,3"},
            {"300,999,0\r\n", 1, "300,999,0"}, {"-4,5,6\r\n", 1, "-4,5,6"},
            {"\"a\"\n\"b\"\n1,2,3\n", 1, "1,2,3"},
            {"\"Someone else\"\r\n\"x\"\r\n4,5,6", 1, "4,5,6"},
            {"\"a,b\"\r\n\"--\"\r\n7,8,9\r\n", 1, "7,8,9"}, {"", 0, "220,220,190"},
            {"\"Quarvel", 0, "220,220,190"}, {"10,20,300\r\n", 0, "10,20,190"},
            {"10,20,-1\r\n", 0, "10,20,190"}, {"10,20,abc\r\n", 0, "10,20,190"},
            {"10,20\r\n", 0, "10,20,190"}, {"1,green,30\r\n", 0, "1,220,190"},
            {"99999999999,2,3\r\n", 0, "220,220,190"}};
        // clang-format on
        for (const auto &[values, ok, colour] : rows) {
            const QByteArray data = *values == '"' ? QByteArray(values) : kHeaderLines + values;
            BackgroundColour read;
            QVERIFY2(ParseSettings(data, read) == ok, values);
            QCOMPARE(QString::asprintf("%d,%d,%d", read.red, read.green, read.blue), colour);
        }
    }

    // A missing or damaged file is rewritten whole with what was read; a file
    // in the former place is carried over once and never rewritten there.
    void readRecoverAndAdopt()
    {
        // What follows the header lines in the former file, the present one
        // (null: no file) and the present one after reading: a good file is
        // untouched, missing or damaged ones rewritten, a former one carried
        // over unless a present one stays, a former one read in part.
        // clang-format off
        const struct { const char *former, *present; bool ok; const char *after; } rows[] = {
            {{}, "1\r\n2\r\n3\r\n", 1, "1\r\n2\r\n3\r\n"}, {{}, {}, 0, "220,220,190\r\n"},
            {{}, "", 0, "220,220,190\r\n"}, {{}, "10,20,300\r\n", 0, "10,20,190\r\n"},
            {"1,2,3\r\n", {}, 1, "1,2,3\r\n"}, {"1,2,3\r\n", "4,5,6\r\n", 1, "4,5,6\r\n"},
            {"10,20,300\r\n", {}, 1, "10,20,190\r\n"}};
        // clang-format on
        const auto file = [](const char *s) { return s ? kHeaderLines + s : QByteArray(); };
        for (const auto &r : rows) {
            const QByteArray former = file(r.former), present = file(r.present);
            QTemporaryDir dir;
            const QString formerPath = dir.filePath("Brelko/Brelko/Brelko.ini");
            const QString path = dir.filePath("Brelko/Brelko.ini");
            QVERIFY((former.isNull() || TryWriteFile(formerPath, former)) &&
                    (present.isNull() || TryWriteFile(path, present)));
            QCOMPARE(AdoptFormerSettings(path, formerPath), !former.isNull() && present.isNull());
            BackgroundColour colour;
            QCOMPARE(SettingsFile(path).read(colour), r.ok);
            QCOMPARE(ReadFile(path), file(r.after));
            QCOMPARE(ReadFile(formerPath), former);
            QVERIFY(!AdoptFormerSettings(path, formerPath)); // only once
            // Written whole at once: no temporary file is left beside it.
            QCOMPARE(QDir(dir.filePath("Brelko")).entryList(QDir::Files),
                     QStringList{"Brelko.ini"});
        }
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
