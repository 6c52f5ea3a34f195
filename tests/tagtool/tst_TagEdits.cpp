#include "CodePage.h"
#include "TagEdits.h"

#include <QtTest>

namespace {

const QByteArray TrackNine = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(9);

} // namespace

class TestTagEdits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<char>("option"); // genre or track
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number"); // -1: refused
        QTest::newRow("genre name") << 'g' << "Rock" << 17;
        QTest::newRow("first genre") << 'g' << "Blues" << 0;
        QTest::newRow("beyond the table") << 'g' << "255" << 255;
        QTest::newRow("unknown genre shown") << 'g' << "Unknown Genre Entry" << -1;
        QTest::newRow("track 255") << 't' << "255" << 255;
        QTest::newRow("track 256") << 't' << "256" << -1;
    }

    void parse()
    {
        QFETCH(char, option);
        QFETCH(QString, text);
        QFETCH(int, number);
        QString field, error;
        int track = -1;
        const bool ok =
            option == 'g' ? ParseGenre(text, field, error) : ParseTrack(text, track, error);
        QCOMPARE(ok, number >= 0);
        QCOMPARE(error.isEmpty(), ok);
        if (ok && option == 'g')
            QCOMPARE(EncodeCodePage(field), QByteArray(1, char(number)));
        if (ok && option == 't')
            QCOMPARE(track, number);
    }

    // The comment and the track share 30 bytes. (Keeping the track under a
    // new comment, cutting the comment for a track, and a track on a blank
    // comment are checked through brelko-tag.)
    void comment_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("comment"); // "<none>": not given
        QTest::addColumn<int>("track");       // -1: not given
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new track over old")
            << TrackNine << "<none>" << 12 << TrackNine.left(29) + char(12);
        QTest::newRow("remove track")
            << TrackNine << "<none>" << 0 << TrackNine.left(28) + QByteArray(2, '\0');
        QTest::newRow("remove with comment")
            << TrackNine << "Hi" << 0 << QByteArray("Hi").leftJustified(28) + QByteArray(2, '\0');
        QTest::newRow("remove from full text")
            << QByteArray(30, 'y') << "<none>" << 0 << QByteArray(30, 'y');
    }

    void comment()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, comment);
        QFETCH(int, track);
        QFETCH(QByteArray, after);
        Id3v1Tag tag = Id3v1Tag::parse("TAG" + QByteArray(94, ' ') + before + char(17));
        TagEdits edits;
        if (comment != QLatin1String("<none>"))
            edits.comment = comment;
        if (track >= 0)
            edits.track = track;
        ApplyEdits(edits, tag);
        QCOMPARE(tag.render().mid(Id3v1Tag::CommentOffset, 30), after);
    }
};

QTEST_GUILESS_MAIN(TestTagEdits)
#include "tst_TagEdits.moc"
