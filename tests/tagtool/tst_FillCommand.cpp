// brelko-tag fill on files whose ID3v2 tags another program (mutagen) wrote,
// read back by that program's own ID3v1 reader.
#include "TagToolProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

const char kWriter[] = R"(
import sys, json
from mutagen.id3 import ID3, Frames
spec = json.loads(sys.argv[2])
tag = ID3()
for key, values in spec['frames'].items():
    if key.startswith('COMM'):
        tag.add(Frames['COMM'](encoding=spec['encoding'], lang='eng', desc=key[5:], text=values))
    else:
        tag.add(Frames[key](encoding=spec['encoding'], text=values))
tag.save(sys.argv[1], v2_version=spec['version'], v1=0)
)";

// title|artist|album|year|comment|genre|track as mutagen reads the trailer.
const char kReader[] = R"(
import sys
from mutagen.id3._id3v1 import ParseID3v1
with open(sys.argv[1], 'rb') as f:
    f.seek(-128, 2)
    frames = ParseID3v1(f.read()) or {}
def text(key):
    return str(frames[key].text[0]) if key in frames else '-'
genre = frames['TCON'].genres[0] if 'TCON' in frames else '-'
print('|'.join([text('TIT2'), text('TPE1'), text('TALB'), text('TDRC'), text('COMM'), genre,
                text('TRCK')]), end='')
)";

const char kUtf16 = 1, kUtf8 = 3;

// Debian's python3, which has python3-mutagen. The script's standard output.
QByteArray RunPython(const char *script, const QStringList &args)
{
    QProcess python;
    python.start("/usr/bin/python3", QStringList{"-c", script} + args);
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        qWarning("python3: %s", python.readAllStandardError().constData());
    return python.readAllStandardOutput();
}

QString WriteV2(const QString &path, int version, int encoding, const QString &frames)
{
    const QJsonObject spec{{"version", version},
                           {"encoding", encoding},
                           {"frames", QJsonDocument::fromJson(frames.toUtf8()).object()}};
    RunPython(kWriter, {path, QJsonDocument(spec).toJson(QJsonDocument::Compact)});
    return path;
}

QString ReadV1(const QString &path)
{
    return QString::fromUtf8(RunPython(kReader, {path}));
}

const QString kFullFrames = R"({"TIT2": ["Ωmega Café 🎵"], "TPE1": ["The Artist"],
    "TALB": ["An album title that runs past thirty"], "TDRC": ["2003-05-01"],
    "COMM:iTunNORM": ["000A 0B0C"], "COMM:": ["Nice"], "TRCK": ["3/12"], "TCON": ["(17)Rock"]})";

} // namespace

class TestFillCommand : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolders> dirs_;

    Result run(const QStringList &args) { return RunTagTool(*dirs_, args); }
    QString tagged(int version, int encoding, const QString &frames)
    {
        return WriteV2(dirs_->mp3("s.mp3", 20), version, encoding, frames);
    }

private Q_SLOTS:
    void init() { dirs_ = std::make_unique<TestFolders>(); }

    void fromV2_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("frames");
        QTest::addColumn<QByteArray>("trailer"); // the file's before the fill
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("warnings"); // '|'-separated, each on standard error
        const QString full = "?mega Café ?|The Artist|An album title that runs past|2003|Nice|"
                             "Rock|3";
        const QString lossy = "title: characters outside Windows-1252 are written as \"?\"|"
                              "album: only the first 30 characters are written";
        QTest::newRow("2.3 UTF-16, appended")
            << 3 << int(kUtf16) << kFullFrames << QByteArray() << full << lossy;
        QTest::newRow("2.4 UTF-8, over a trailer")
            << 4 << int(kUtf8) << kFullFrames << Trailer("Old", "Old") << full << lossy;
        QTest::newRow("only some fields change")
            << 4 << int(kUtf8) << R"({"TIT2": ["New"], "TCON": ["Krautrock"]})"
            << Trailer("Old", "Quartet", "note") << "New|Quartet|Album|1999|note|Rock|-"
            << "genre \"Krautrock\" is not an ID3v1 genre; the file's genre is kept";
        QTest::newRow("2.3 year, bare genre number, track beyond 255")
            << 3 << int(kUtf16) << R"({"TDRC": ["1987"], "TCON": ["8"], "TRCK": ["300"]})"
            << QByteArray() << "-|-|-|1987|-|Jazz|-"
            << "track \"300\" is not a number from 1 to 255; the file's track is kept";
        QTest::newRow("several artists, genre name")
            << 4 << int(kUtf8) << R"({"TPE1": ["Ann", "Bob"], "TCON": ["Hip-Hop"]})" << QByteArray()
            << "-|Ann / Bob|-|-|-|Hip-Hop|-"
            << "";
    }
    void fromV2()
    {
        QFETCH(int, version);
        QFETCH(int, encoding);
        QFETCH(QString, frames);
        QFETCH(QByteArray, trailer);
        QFETCH(QString, fields);
        QFETCH(QString, warnings);
        const QString file = tagged(version, encoding, frames);
        QVERIFY(TryWriteFile(file, ReadFile(file) + trailer));
        const QByteArray before = ReadFile(file);
        QVERIFY(before.startsWith("ID3"));

        const Result r = run({"fill", "--from-v2", "s.mp3"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString("s.mp3: tag written\n"));
        for (const QString &warning : warnings.split('|', Qt::SkipEmptyParts))
            QVERIFY2(r.err.contains("s.mp3: " + warning), qPrintable(r.err));
        QCOMPARE(ReadV1(file), fields);
        // The ID3v2 tag and the audio are what they were, byte for byte.
        const QByteArray after = ReadFile(file);
        QCOMPARE(after.size(), before.size() + (trailer.isEmpty() ? 128 : 0));
        QCOMPARE(after.chopped(128), before.chopped(trailer.size()));
    }

    // Tags cut short or with sizes that lie: the command neither crashes nor
    // touches anything before the trailer; when it finds nothing, not even
    // that.
    void damagedV2_data()
    {
        QTest::addColumn<int>("cut");    // bytes kept of the file, 0: all
        QTest::addColumn<int>("offset"); // a byte to overwrite, -1: none
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::newRow("cut inside a frame") << 24 << -1 << QByteArray() << 1;
        QTest::newRow("cut after the header") << 10 << -1 << QByteArray() << 1;
        QTest::newRow("tag size beyond the file") << 0 << 6 << QByteArray("\x7f\x7f\x7f\x7f") << 1;
        QTest::newRow("tag size zero") << 0 << 6 << QByteArray(4, '\0') << 1;
        QTest::newRow("frame size beyond the tag")
            << 0 << 14 << QByteArray("\x7f\x7f\x7f\x7f") << 1;
        QTest::newRow("size byte with its high bit") << 0 << 9 << QByteArray("\x80") << 1;
        QTest::newRow("unsynchronised, extended header flags") << 0 << 5 << QByteArray("\xc0") << 0;
        QTest::newRow("version 5") << 0 << 3 << QByteArray("\x05") << 1;
    }
    void damagedV2()
    {
        QFETCH(int, cut);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        const QString file = tagged(4, kUtf8, R"({"TIT2": ["Title"], "TPE1": ["Artist"]})");
        QByteArray damaged = ReadFile(file);
        if (cut > 0)
            damaged.truncate(cut);
        if (offset >= 0)
            damaged.replace(offset, bytes.size(), bytes);
        QVERIFY(TryWriteFile(file, damaged));

        const Result r = run({"fill", "--from-v2", "s.mp3"});
        QCOMPARE(r.status, status);
        const QByteArray after = ReadFile(file);
        QCOMPARE(after.left(damaged.size()), damaged);
        if (status != 0)
            QCOMPARE(after, damaged);
    }

    // A name that does not match, or a file without an ID3v2 tag, is left
    // alone and reported; the other files are filled.
    void leftAlone_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("err");
        QTest::newRow("name") << "--from-name=%artist% - %title%"
                              << "brelko-tag: x.mp3: the name does not match \"%artist% - "
                                 "%title%\"; left alone";
        QTest::newRow("v2") << "--from-v2"
                            << "brelko-tag: x.mp3: no ID3v2 tag; left alone";
    }
    void leftAlone()
    {
        QFETCH(QString, source);
        QFETCH(QString, err);
        const QString left = dirs_->mp3("x.mp3", 4, Trailer("Keep", "Me"));
        WriteV2(dirs_->mp3("A - B.mp3", 4), 4, kUtf8, R"({"TIT2": ["B"], "TPE1": ["A"]})");
        const Result r = run({"fill", source, "x.mp3", "A - B.mp3"});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err.trimmed(), err);
        QCOMPARE(r.out, QString("A - B.mp3: tag written\n"));
        QCOMPARE(ReadFile(left), MpegFrames(4) + Trailer("Keep", "Me"));
        QCOMPARE(ReadV1(dirs_->file("A - B.mp3")), QString("B|A|-|-|-|-|-"));
    }

    // The dry run shows what would be written and writes nothing; the fill
    // itself goes into the journal, so undo gives back the file byte for byte.
    void dryRunThenUndo()
    {
        const QString file = "07. Trio - Señor Ω.mp3";
        const QString path = dirs_->mp3(file, 20, Trailer("Old", "Quartet", "note"));
        const QByteArray before = ReadFile(path);
        const QStringList fill{"fill", "--from-name", "%track%. %artist% - %title%", file};

        Result r = run(fill + QStringList{"--dry-run"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, file + ":\n  Title:   \"Old\" -> \"Señor ?\"\n"
                               "  Artist:  \"Quartet\" -> \"Trio\"\n  Track:   none -> 7\n");
        QCOMPARE(ReadFile(path), before);
        QVERIFY(run({"undo", file}).err.contains("no change by Brelko is recorded"));

        r = run(fill);
        QCOMPARE(r.status, 0);
        QVERIFY(ReadFile(path) != before);
        r = run({"undo", file});
        QCOMPARE(r.status, 0);
        QCOMPARE(ReadFile(path), before);
    }

    void usage_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("err");
        QTest::newRow("no source")
            << QString("fill|a.mp3") << QString("give either --from-v2 or --from-name");
        QTest::newRow("both") << QString("fill|--from-v2|--from-name|%title%|a.mp3")
                              << QString("give either");
        QTest::newRow("pattern") << QString("fill|--from-name|%name%|a.mp3")
                                 << QString("unknown placeholder");
        QTest::newRow("no files") << QString("fill|--from-v2") << QString("no files given");
    }
    void usage()
    {
        QFETCH(QString, args);
        QFETCH(QString, err);
        const QString file = dirs_->mp3("a.mp3", 4);
        const Result r = run(args.split('|'));
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains("fill: " + err), qPrintable(r.err));
        QCOMPARE(ReadFile(file), MpegFrames(4));
    }
};

QTEST_GUILESS_MAIN(TestFillCommand)
#include "tst_FillCommand.moc"
