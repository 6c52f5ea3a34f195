#include "Genres.h"
#include "TagFile.h"
#include "TestFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

// Reads what Brelko writes with a tag reader we did not write (mutagen), field
// by field, so our files are shown to be standard and not merely consistent
// with our own reader.
namespace {

// A missing mutagen shows as the reader's error: run scripts/install-deps.
const char kReader[] = R"(
import json, sys
from mutagen.id3._id3v1 import ParseID3v1
f = open(sys.argv[1], 'rb'); f.seek(-128, 2); frames = ParseID3v1(f.read())
out = {k: str(frames[k].text[0]) for k in ('TIT2', 'TPE1', 'TALB', 'TDRC', 'COMM', 'TRCK') if k in frames}
if 'TCON' in frames: out['TCON'] = frames['TCON'].genres[0]
print(json.dumps(out))
)";

const char kPython[] = "/usr/bin/python3"; // Debian's, which has python3-mutagen

} // namespace

class TestIndependentReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mutagenReadsWhatWeWrite_data()
    {
        QTest::addColumn<QStringList>("fields"); // title, artist, album, year, comment, genre
        QTest::addColumn<bool>("appended");
        // clang-format off
        QTest::newRow("append") << QStringList{"Morning", "Quartet", "Days", "1999", "fine", "Jazz"} << true;
        // mutagen reads the comment as ID3v1.1 (28 characters, then a track
        // byte), so 28 is the widest comment both readers agree on.
        QTest::newRow("overwrite, full widths, latin-1")
            << QStringList{QStringLiteral("Caf\u00e9 \u00e0 la cr\u00e8me").leftJustified(30, 'x'), QString(30, 'A'),
                           QStringLiteral("\u00c5ngstr\u00f6m"), "2024", QString(28, 'C'), "Dance Hall"} << false;
        // clang-format on
    }

    void mutagenReadsWhatWeWrite()
    {
        QFETCH(QStringList, fields);
        QFETCH(bool, appended);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        WriteFile(path, QByteArray(4096, '\x55') +
                            (appended ? QByteArray() : "TAG" + QByteArray(125, 'x')));
        Id3v1Tag tag;
        QString *targets[] = {&tag.Title, &tag.Artist, &tag.Album, &tag.Year, &tag.Comment};
        const int widths[] = {30, 30, 30, 4, 30};
        for (int i = 0; i < 5; ++i)
            AssignField(*targets[i], fields.at(i), widths[i]);
        tag.Genre = GenreCode(fields.at(5));
        QVERIFY(WriteTag(path, tag));

        QProcess reader;
        reader.start(kPython, {"-c", kReader, path});
        QVERIFY(reader.waitForFinished(20000));
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
        const QJsonObject frames = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
        const char *keys[] = {"TIT2", "TPE1", "TALB", "TDRC", "COMM", "TCON"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(frames.value(keys[i]).toString(), fields.at(i));
        QVERIFY(!frames.contains(QStringLiteral("TRCK")));
        QCOMPARE(QFileInfo(path).size(), qint64(4096 + 128));
    }
};

QTEST_GUILESS_MAIN(TestIndependentReader)
#include "tst_independentreader.moc"
