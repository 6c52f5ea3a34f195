#include "CodePage.h"
#include "TagEdits.h"

#include <QtTest>

namespace {

Id3v1Tag TagWithComment(const QByteArray &comment)
{
    QByteArray trailer = "TAG" + QByteArray(94, ' ') + comment + char(17);
    return Id3v1Tag::parse(trailer);
}

const QByteArray TrackNine = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(9);

} // namespace

class TestTagEdits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseGenre_data();
    void parseGenre();
    void parseTrack_data();
    void parseTrack();
    void warnings();
    void comment_data();
    void comment();
    void untouchedFieldsStay();
};

void TestTagEdits::parseGenre_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number"); // -1: refused
    QTest::newRow("name") << "Rock" << 17;
    QTest::newRow("odd spelling") << "Poweer Ballad" << 117;
    QTest::newRow("first") << "Blues" << 0;
    QTest::newRow("number") << "125" << 125;
    QTest::newRow("beyond the table") << "255" << 255;
    QTest::newRow("too big") << "256" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("wrong case") << "rock" << -1;
    QTest::newRow("spaces") << " Rock" << -1;
    QTest::newRow("unknown name shown") << "Unknown Genre Entry" << -1;
}

void TestTagEdits::parseGenre()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QString field, error;
    const bool ok = ParseGenre(text, field, error);
    QCOMPARE(ok, number >= 0);
    if (ok)
        QCOMPARE(EncodeCodePage(field), QByteArray(1, char(number)));
    else
        QVERIFY(!error.isEmpty());
}

void TestTagEdits::parseTrack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("255") << "255" << true;
    QTest::newRow("256") << "256" << false;
    QTest::newRow("word") << "five" << false;
    QTest::newRow("empty") << "" << false;
}

void TestTagEdits::parseTrack()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    int track = -1;
    QString error;
    QCOMPARE(ParseTrack(text, track, error), ok);
}

void TestTagEdits::warnings()
{
    TagEdits edits;
    edits.title = QString(30, 'a');
    edits.comment = QString(29, 'c');
    QVERIFY(EditWarnings(edits).isEmpty());
    edits.track = 4; // the comment now has 28 characters of room
    QCOMPARE(EditWarnings(edits),
             QStringList{"--comment: only the first 28 characters are written"});
    edits = TagEdits();
    edits.artist = QStringLiteral("Sigur Rós ✓");
    edits.year = QStringLiteral("1999✓"); // the fifth character is cut, so it is no loss
    QCOMPARE(EditWarnings(edits),
             QStringList({"--artist: characters outside Windows-1252 are written as \"?\"",
                          "--year: only the first 4 characters are written"}));
}

void TestTagEdits::comment_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("comment"); // "<none>": not given
    QTest::addColumn<int>("track");       // -1: not given
    QTest::addColumn<QByteArray>("after");
    const QByteArray blank(30, ' ');
    QTest::newRow("comment only") << TrackNine << "Studio" << -1
                                  << QByteArray("Studio").leftJustified(30, ' ');
    QTest::newRow("track only") << blank << "<none>" << 5 << QByteArray(28, ' ') + '\0' + char(5);
    QTest::newRow("new track over old")
        << TrackNine << "<none>" << 12 << TrackNine.left(29) + char(12);
    QTest::newRow("track cuts comment")
        << blank << QString(30, 'x') << 3 << QByteArray(28, 'x') + '\0' + char(3);
    QTest::newRow("remove track") << TrackNine << "<none>" << 0
                                  << TrackNine.left(28) + QByteArray(2, '\0');
    QTest::newRow("remove with comment")
        << TrackNine << "Hi" << 0 << QByteArray("Hi").leftJustified(28, ' ') + QByteArray(2, '\0');
    QTest::newRow("remove from full text")
        << QByteArray(30, 'y') << "<none>" << 0 << QByteArray(30, 'y');
}

void TestTagEdits::comment()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, comment);
    QFETCH(int, track);
    QFETCH(QByteArray, after);
    Id3v1Tag tag = TagWithComment(before);
    TagEdits edits;
    if (comment != QLatin1String("<none>"))
        edits.comment = comment;
    if (track >= 0)
        edits.track = track;
    ApplyEdits(edits, tag);
    QCOMPARE(tag.render().mid(Id3v1Tag::CommentOffset, 30), after);
}

void TestTagEdits::untouchedFieldsStay()
{
    Id3v1Tag tag = TagWithComment(TrackNine);
    AssignField(tag.Title, QStringLiteral("Morning"), 30);
    const QByteArray before = tag.render();
    TagEdits edits;
    edits.year = QStringLiteral("2001");
    ApplyEdits(edits, tag);
    QByteArray expected = before;
    expected.replace(Id3v1Tag::YearOffset, 4, "2001");
    QCOMPARE(tag.render(), expected);
}

QTEST_GUILESS_MAIN(TestTagEdits)
#include "tst_TagEdits.moc"
