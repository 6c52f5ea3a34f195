#include "CodePage.h"
#include "Id3v1Tag.h"

#include <QtTest>

class TestId3v1Tag : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void assignField_data();
    void assignField();
    void renderPlacesEveryField();
    void renderKeepsShapeWhenCharactersCollapse();
    void parseKeepsZeroBytes();
    void track_data();
    void track();
    void fieldText_data();
    void fieldText();
};

void TestId3v1Tag::assignField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("field");
    QTest::newRow("shorter is padded") << "Song" << 30 << QStringLiteral("Song").leftJustified(30);
    QTest::newRow("empty is all spaces") << "" << 30 << QString(30, ' ');
    QTest::newRow("31 keeps first 30") << QString(30, 'a') + "b" << 30 << QString(30, 'a');
    QTest::newRow("year of five") << "20245" << 4 << "2024";
    QTest::newRow("leading spaces kept") << "  x" << 4 << "  x ";
    QTest::newRow("header from empty marker") << "" << 3 << "   ";
}

void TestId3v1Tag::assignField()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, field);
    QString result = QStringLiteral("previous contents");
    AssignField(result, text, width);
    QCOMPARE(result, field);
}

void TestId3v1Tag::renderPlacesEveryField()
{
    Id3v1Tag tag;
    AssignField(tag.Header, QStringLiteral("TAG"), 3);
    AssignField(tag.Title, QStringLiteral("Title"), 30);
    AssignField(tag.Artist, QStringLiteral("Artist"), 30);
    AssignField(tag.Album, QStringLiteral("Album"), 30);
    AssignField(tag.Year, QStringLiteral("1999"), 4);
    AssignField(tag.Comment, QStringLiteral("Caf\u00e9 \u20ac"), 30);
    tag.Genre = QString(QChar(17));
    const QByteArray bytes = tag.render();
    QCOMPARE(bytes.size(), 128);
    QCOMPARE(bytes.left(3), QByteArray("TAG"));
    QCOMPARE(bytes.mid(3, 30), QByteArray("Title").leftJustified(30));
    QCOMPARE(bytes.mid(33, 30), QByteArray("Artist").leftJustified(30));
    QCOMPARE(bytes.mid(63, 30), QByteArray("Album").leftJustified(30));
    QCOMPARE(bytes.mid(93, 4), QByteArray("1999"));
    QCOMPARE(bytes.mid(97, 30), QByteArray("Caf\xE9 \x80").leftJustified(30));
    QCOMPARE(bytes.at(127), char(17));

    const Id3v1Tag back = Id3v1Tag::parse(bytes);
    QCOMPARE(back.Title, tag.Title);
    QCOMPARE(back.Comment, tag.Comment);
    QCOMPARE(back.Genre, tag.Genre);
    QVERIFY(back.hasHeader());
}

void TestId3v1Tag::renderKeepsShapeWhenCharactersCollapse()
{
    Id3v1Tag tag;
    // 15 emoji fill the 30 UTF-16 units of the title but encode to 15 bytes.
    QString emoji;
    for (int i = 0; i < 15; ++i)
        emoji += QStringLiteral("\U0001F600");
    AssignField(tag.Title, emoji, 30);
    AssignField(tag.Year, QStringLiteral("12345"), 4);
    const QByteArray bytes = tag.render();
    QCOMPARE(bytes.size(), 128);
    QCOMPARE(bytes.mid(3, 30), QByteArray(15, '?') + QByteArray(15, ' '));
    QCOMPARE(bytes.mid(93, 4), QByteArray("1234"));
}

void TestId3v1Tag::parseKeepsZeroBytes()
{
    QByteArray bytes(128, '\0');
    bytes.replace(0, 5, "TAGab");
    const Id3v1Tag tag = Id3v1Tag::parse(bytes);
    QCOMPARE(tag.Title.size(), 30);
    QCOMPARE(tag.Title.left(2), QStringLiteral("ab"));
    QCOMPARE(tag.Title.at(2), QChar(0));
    QCOMPARE(tag.Genre, QString(QChar(0)));
}

void TestId3v1Tag::track_data()
{
    QTest::addColumn<QByteArray>("comment");
    QTest::addColumn<int>("track");
    QTest::newRow("v1.1 track 7") << QByteArray("hi").leftJustified(28, '\0') + '\0' + '\x07' << 7;
    QTest::newRow("track 200") << QByteArray(28, ' ') + '\0' + '\xC8' << 200;
    QTest::newRow("spaces") << QByteArray(30, ' ') << 0;
    QTest::newRow("all zero") << QByteArray(30, '\0') << 0;
    QTest::newRow("full comment") << QByteArray(30, 'c') << 0;
    QTest::newRow("zero then space") << QByteArray(28, ' ') + '\0' + ' ' << 32;
}

void TestId3v1Tag::track()
{
    QFETCH(QByteArray, comment);
    QFETCH(int, track);
    Id3v1Tag tag;
    tag.Comment = DecodeCodePage(comment);
    QCOMPARE(tag.track(), track);
}

void TestId3v1Tag::fieldText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("no zero") << "abc  " << "abc  ";
    QTest::newRow("zero padded") << QStringLiteral("abc") + QString(27, QChar(0)) << "abc";
    QTest::newRow("starts with zero") << QString(QChar(0)) + "abc" << "";
    QTest::newRow("track bytes") << QStringLiteral("x ") + QChar(0) + QChar(5) << "x ";
}

void TestId3v1Tag::fieldText()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QCOMPARE(FieldText(field), text);
}

QTEST_GUILESS_MAIN(TestId3v1Tag)
#include "tst_id3v1tag.moc"
