// brelko-tag fill on files whose ID3v2 tags another program (mutagen) wrote,
// read back by that program's own ID3v1 reader.
#include "TagToolProcess.h"

#include <QJsonDocument>
#include <QJsonObject>

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

const char kFullFrames[] = R"({"TIT2": ["Ωmega Café 🎵"], "TPE1": ["The Artist"],
    "TALB": ["An album title that runs past thirty"], "TDRC": ["2003-05-01"],
    "COMM:iTunNORM": ["000A 0B0C"], "COMM:": ["Nice"], "TRCK": ["3/12"], "TCON": ["(17)Rock"]})";

} // namespace

class TestFillCommand : public TagToolTest {
    Q_OBJECT

    QString tagged(int version, int encoding, const QString &frames)
    {
        return WriteV2(make("s.mp3", {}, 20), version, encoding, frames);
    }

private Q_SLOTS:
    void init() { fresh(); }

    // What the fill writes, read back by mutagen; the warnings it gives; and
    // undo, which gives back the file byte for byte.
    void fromV2_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("frames");
        QTest::addColumn<QByteArray>("trailer"); // the file's before the fill
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("warnings"); // '|'-separated, each on standard error
        const char *full = "?mega Café ?|The Artist|An album title that runs past|2003|Nice|Rock|3";
        const char *lossy = "title: characters outside Windows-1252 are written as \"?\"|"
                            "album: only the first 30 characters are written";
        const auto row = [](const char *name, int version, int encoding, const char *frames,
                            const QByteArray &trailer, const char *fields, const char *warnings) {
            QTest::newRow(name) << version << encoding << QString::fromUtf8(frames) << trailer
                                << QString::fromUtf8(fields) << QString(warnings);
        };
        // clang-format off
        row("2.3 UTF-16, appended", 3, kUtf16, kFullFrames, {}, full, lossy);
        row("2.4 UTF-8, over a trailer", 4, kUtf8, kFullFrames, Trailer("Old", "Old"), full, lossy);
        row("only some fields change", 4, kUtf8, R"({"TIT2": ["New"], "TCON": ["Krautrock"]})",
            Trailer("Old", "Quartet", "note"), "New|Quartet|Album|1999|note|Rock|-",
            "genre \"Krautrock\" is not an ID3v1 genre; the file's genre is kept");
        row("2.3 year, bare genre number, track beyond 255", 3, kUtf16,
            R"({"TDRC": ["1987"], "TCON": ["8"], "TRCK": ["300"]})", {}, "-|-|-|1987|-|Jazz|-",
            "track \"300\" is not a number from 1 to 255; the file's track is kept");
        row("several artists, genre name", 4, kUtf8, R"({"TPE1": ["Ann", "Bob"], "TCON": ["Hip-Hop"]})",
            {}, "-|Ann / Bob|-|-|-|Hip-Hop|-", "");
        // clang-format on
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

        Result r = run({"fill", "--from-v2", "s.mp3"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString("s.mp3: tag written\n"));
        for (const QString &warning : warnings.split('|', Qt::SkipEmptyParts))
            QVERIFY2(r.err.contains("s.mp3: " + warning), qPrintable(r.err));
        QCOMPARE(ReadV1(file), fields);
        // The ID3v2 tag and the audio are what they were, byte for byte.
        const QByteArray after = ReadFile(file);
        QCOMPARE(after.size(), before.size() + (trailer.isEmpty() ? 128 : 0));
        QCOMPARE(after.chopped(128), before.chopped(trailer.size()));
        QCOMPARE(run({"undo", "s.mp3"}).status, 0);
        QCOMPARE(ReadFile(file), before);
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
        // clang-format off
        const struct { const char *name; int cut, offset; const char *bytes; int status; } rows[] = {
            {"cut inside a frame", 24, -1, "", 1},
            {"cut after the header", 10, -1, "", 1},
            {"tag size beyond the file", 0, 6, "%7F%7F%7F%7F", 1},
            {"tag size zero", 0, 6, "%00%00%00%00", 1},
            {"frame size beyond the tag", 0, 14, "%7F%7F%7F%7F", 1},
            {"size byte with its high bit", 0, 9, "%80", 1},
            {"unsynchronised, extended header flags", 0, 5, "%C0", 0},
            {"version 5", 0, 3, "%05", 1},
        };
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.cut << row.offset
                                    << QByteArray::fromPercentEncoding(row.bytes) << row.status;
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

        QCOMPARE(run({"fill", "--from-v2", "s.mp3"}).status, status);
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
        QTest::newRow("name")
            << "--from-name=%artist% - %title%"
            << "x.mp3: the name does not match \"%artist% - %title%\"; left alone";
        QTest::newRow("v2") << "--from-v2"
                            << "x.mp3: no ID3v2 tag; left alone";
    }
    void leftAlone()
    {
        QFETCH(QString, source);
        QFETCH(QString, err);
        const QString left = make("x.mp3", Trailer("Keep", "Me"));
        WriteV2(make("A - B.mp3"), 4, kUtf8, R"({"TIT2": ["B"], "TPE1": ["A"]})");
        const Result r = run({"fill", source, "x.mp3", "A - B.mp3"});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err, "brelko-tag: " + err + '\n');
        QCOMPARE(r.out, QString("A - B.mp3: tag written\n"));
        QCOMPARE(ReadFile(left), MpegFrames(4) + Trailer("Keep", "Me"));
        QCOMPARE(ReadV1(path("A - B.mp3")), QString("B|A|-|-|-|-|-"));
    }
};

QTEST_GUILESS_MAIN(TestFillCommand)
#include "tst_FillCommand.moc"
