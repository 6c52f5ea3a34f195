#include "Genres.h"
#include "TagFile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

// Reads what Brelko writes with a tag reader we did not write (mutagen), field
// by field, so our files are shown to be standard and not merely consistent
// with our own reader.
namespace {

const char kReader[] = R"(
import json, sys
from mutagen.id3._id3v1 import ParseID3v1
with open(sys.argv[1], 'rb') as f:
    f.seek(-128, 2)
    frames = ParseID3v1(f.read())
out = {}
for key in ('TIT2', 'TPE1', 'TALB', 'TDRC', 'COMM', 'TRCK'):
    if key in frames:
        out[key] = str(frames[key].text[0])
if 'TCON' in frames:
    out['TCON'] = frames['TCON'].genres[0]
print(json.dumps(out))
)";

const char kPython[] = "/usr/bin/python3"; // Debian's, which has python3-mutagen

} // namespace

class TestIndependentReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mutagenReadsWhatWeWrite_data();
    void mutagenReadsWhatWeWrite();
};

void TestIndependentReader::initTestCase()
{
    QProcess probe;
    probe.start(QString::fromLatin1(kPython),
                {QStringLiteral("-c"), QStringLiteral("import mutagen")});
    QVERIFY2(probe.waitForFinished(20000) && probe.exitCode() == 0,
             "python3-mutagen is missing: run scripts/install-deps");
}

void TestIndependentReader::mutagenReadsWhatWeWrite_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("album");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("genre");
    QTest::addColumn<bool>("appended");
    QTest::newRow("append") << "Morning"
                            << "Quartet"
                            << "Days"
                            << "1999"
                            << "fine"
                            << "Jazz" << true;
    // mutagen reads the comment as ID3v1.1 (28 characters, then a track
    // byte), so 28 is the widest comment both readers agree on.
    QTest::newRow("overwrite, full widths, latin-1")
        << QStringLiteral("Caf\u00e9 \u00e0 la cr\u00e8me").leftJustified(30, 'x')
        << QString(30, 'A') << QStringLiteral("\u00c5ngstr\u00f6m") << "2024" << QString(28, 'C')
        << "Dance Hall" << false;
}

void TestIndependentReader::mutagenReadsWhatWeWrite()
{
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QFETCH(QString, album);
    QFETCH(QString, year);
    QFETCH(QString, comment);
    QFETCH(QString, genre);
    QFETCH(bool, appended);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song.mp3"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, '\x55'));
        if (!appended)
            file.write("TAG" + QByteArray(125, 'x'));
    }
    Id3v1Tag tag;
    AssignField(tag.Title, title, Id3v1Tag::TitleWidth);
    AssignField(tag.Artist, artist, Id3v1Tag::ArtistWidth);
    AssignField(tag.Album, album, Id3v1Tag::AlbumWidth);
    AssignField(tag.Year, year, Id3v1Tag::YearWidth);
    AssignField(tag.Comment, comment, Id3v1Tag::CommentWidth);
    tag.Genre = GenreCode(genre);
    QVERIFY(WriteTag(path, tag));

    QProcess reader;
    reader.start(QString::fromLatin1(kPython),
                 {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    QVERIFY(reader.waitForFinished(20000));
    QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
    const QJsonObject frames = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    QCOMPARE(frames.value(QStringLiteral("TIT2")).toString(), title);
    QCOMPARE(frames.value(QStringLiteral("TPE1")).toString(), artist);
    QCOMPARE(frames.value(QStringLiteral("TALB")).toString(), album);
    QCOMPARE(frames.value(QStringLiteral("TDRC")).toString(), year);
    QCOMPARE(frames.value(QStringLiteral("COMM")).toString(), comment);
    QCOMPARE(frames.value(QStringLiteral("TCON")).toString(), genre);
    QVERIFY(!frames.contains(QStringLiteral("TRCK")));
    QCOMPARE(QFileInfo(path).size(), qint64(4096 + 128));
}

QTEST_GUILESS_MAIN(TestIndependentReader)
#include "tst_independentreader.moc"
