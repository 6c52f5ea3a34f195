// brelko-tag fill on files whose ID3v2 tags another program (mutagen) wrote,
// read back by that program's own ID3v1 reader.
#include "TagToolProcess.h"

namespace {

const char kWriter[] = R"(
import sys, json; from mutagen.id3 import ID3, Frames
tag = ID3()
for key, values in json.loads(sys.argv[4]).items():
    extra = {'lang': 'eng', 'desc': key[5:]} if key.startswith('COMM') else {}
    tag.add(Frames[key[:4]](encoding=int(sys.argv[3]), text=values, **extra))
tag.save(sys.argv[1], v2_version=int(sys.argv[2]), v1=0)
)";

// title|artist|album|year|comment|genre|track as mutagen reads the trailer.
const char kReader[] = R"(
import sys; from mutagen.id3._id3v1 import ParseID3v1
f = open(sys.argv[1], 'rb'); f.seek(-128, 2); frames = ParseID3v1(f.read()) or {}
text = lambda key: str(frames[key].text[0]) if key in frames else '-'
genre = frames['TCON'].genres[0] if 'TCON' in frames else '-'
print('|'.join([text(k) for k in ('TIT2', 'TPE1', 'TALB', 'TDRC', 'COMM')] + [genre, text('TRCK')]), end='')
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

const char kFull[] = R"({"TIT2": ["Ωmega Café 🎵"], "TPE1": ["The Artist"],
    "TALB": ["An album title that runs past thirty"], "TDRC": ["2003-05-01"],
    "COMM:iTunNORM": ["000A 0B0C"], "COMM:": ["Twenty-eight characters long"], "TRCK": ["3/12"], "TCON": ["(17)Rock"]})";
const char kFullFields[] = "?mega Café ?|The Artist|An album title that runs "
                           "past|2003|Twenty-eight characters long|Rock|3";
const char kLossy[] = "title: characters outside Windows-1252 are written as \"?\"|"
                      "album: only the first 30 characters are written";

// What the fill writes from ID3v2 frames over the file's trailer (title,
// artist and comment '|'-separated, "": none), read back by mutagen; the
// warnings ('|'-separated) each on standard error.
// clang-format off
const struct { const char *name; int version, encoding; const char *frames, *trailer, *fields, *warnings; } kFills[] = {
    {"2.3 UTF-16, appended", 3, kUtf16, kFull, "", kFullFields, kLossy},
    {"2.4 UTF-8, over a trailer", 4, kUtf8, kFull, "Old|Old|", kFullFields, kLossy},
    {"only some fields change", 4, kUtf8, R"({"TIT2": ["New"], "TCON": ["Krautrock"]})", "Old|Quartet|note",
     "New|Quartet|Album|1999|note|Rock|-", "genre \"Krautrock\" is not an ID3v1 genre; the file's genre is kept"},
    {"2.3 year, bare genre number, track beyond 255", 3, kUtf16, R"({"TDRC": ["1987"], "TCON": ["8"], "TRCK": ["300"]})",
     "", "-|-|-|1987|-|Jazz|-", "track \"300\" is not a number from 1 to 255; the file's track is kept"},
    {"several artists, genre name", 4, kUtf8, R"({"TPE1": ["Ann", "Bob"], "TCON": ["Hip-Hop"]})", "",
     "-|Ann / Bob|-|-|-|Hip-Hop|-", ""},
};

// Tags cut short (cut: the bytes kept) or with sizes that lie (bytes, %XX,
// written at offset): status 0 when the tag is still read.
const struct { const char *name; int cut, offset; const char *bytes; int status; } kDamage[] = {
    {"cut inside a frame", 24, 0, "", 1}, {"cut after the header", 10, 0, "", 1},
    {"tag size beyond the file", 0, 6, "%7F%7F%7F%7F", 1}, {"tag size zero", 0, 6, "%00%00%00%00", 1},
    {"frame size beyond the tag", 0, 14, "%7F%7F%7F%7F", 1}, {"size byte with its high bit", 0, 9, "%80", 1},
    {"unsynchronised, extended header flags", 0, 5, "%C0", 0}, {"version 5", 0, 3, "%05", 1},
};
// clang-format on

} // namespace

class TestFillCommand : public TagToolTest {
    Q_OBJECT

    // s.mp3 with the ID3v2 tag mutagen writes.
    QString tagged(int version, int encoding, const QString &frames)
    {
        RunPython(kWriter, {make("s.mp3", {}, 20), QString::number(version),
                            QString::number(encoding), frames});
        return path("s.mp3");
    }

private Q_SLOTS:
    void init() { fresh(); }

    // The ID3v2 tag and the audio stay byte for byte; undo gives back the file.
    void fromV2_data() { AddRows(kFills); }
    void fromV2()
    {
        const auto &fill = CurrentRow(kFills);
        const QList<QByteArray> fields = QByteArray(fill.trailer).split('|');
        const QByteArray trailer =
            fields.size() < 3 ? QByteArray() : Trailer(fields[0], fields[1], fields[2]);
        const QString file = tagged(fill.version, fill.encoding, QString::fromUtf8(fill.frames));
        const QByteArray before = ReadFile(file) + trailer;
        QVERIFY(TryWriteFile(file, before));

        const Result r = run({"fill", "--from-v2", "s.mp3"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString("s.mp3: tag written\n"));
        for (const QString &warning : QString(fill.warnings).split('|', Qt::SkipEmptyParts))
            QVERIFY2(r.err.contains("s.mp3: " + warning), qPrintable(r.err));
        QCOMPARE(QString::fromUtf8(RunPython(kReader, {file})), QString::fromUtf8(fill.fields));
        QCOMPARE(ReadFile(file).chopped(128), before.chopped(trailer.size()));
        QCOMPARE(run({"undo", "s.mp3"}).status, 0);
        QCOMPARE(ReadFile(file), before);
    }

    // The command neither crashes nor touches anything before the trailer;
    // when it finds nothing, not even that.
    void damagedV2_data() { AddRows(kDamage); }
    void damagedV2()
    {
        const auto &damage = CurrentRow(kDamage);
        const QString file = tagged(4, kUtf8, R"({"TIT2": ["Title"], "TPE1": ["Artist"]})");
        QByteArray damaged = ReadFile(file);
        if (damage.cut > 0)
            damaged.truncate(damage.cut);
        const QByteArray bytes = QByteArray::fromPercentEncoding(damage.bytes);
        damaged.replace(damage.offset, bytes.size(), bytes);
        QVERIFY(TryWriteFile(file, damaged));

        QCOMPARE(run({"fill", "--from-v2", "s.mp3"}).status, damage.status);
        const QByteArray after = ReadFile(file);
        QCOMPARE(after.left(damaged.size()), damaged);
        QVERIFY(damage.status == 0 || after == damaged);
    }
};

QTEST_GUILESS_MAIN(TestFillCommand)
#include "tst_FillCommand.moc"
