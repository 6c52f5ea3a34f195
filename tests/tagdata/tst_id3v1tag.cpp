// The record's fields, the code page they are stored in, and the genres.
#include "CodePage.h"
#include "Genres.h"
#include "Id3v1Tag.h"

#include <QtTest>

class TestId3v1Tag : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fields()
    {
        // Padded, cut, leading spaces kept; nothing of the old contents left.
        // clang-format off
        const std::tuple<QString, int, QString> assigned[] = {
            {"Song", 6, "Song  "}, {"", 30, QString(30, ' ')}, {"  x", 4, "  x "},
            {QString(30, 'a') + "b", 30, QString(30, 'a')}};
        // clang-format on
        for (const auto &[text, width, field] : assigned) {
            QString result = QStringLiteral("previous contents");
            AssignField(result, text, width);
            QCOMPARE(result, field);
        }
        // 15 emoji fill 30 UTF-16 units but encode to 15 bytes.
        Id3v1Tag tag;
        AssignField(tag.Title, QStringLiteral("\U0001F600").repeated(15), 30);
        QCOMPARE(tag.render().size(), 128);
        QCOMPARE(tag.render().mid(3, 30), QByteArray(15, '?') + QByteArray(15, ' '));
        // A comment's track number, and the text a user is shown.
        // clang-format off
        const std::tuple<QByteArray, int, QString> comments[] = {
            {QByteArray("hi").leftJustified(29, '\0') + '\x07', 7, "hi"},
            {QByteArray(28, ' ') + '\0' + '\xC8', 200, QString(28, ' ')},
            {QByteArray(30, ' '), 0, QString(30, ' ')}, {QByteArray(30, '\0'), 0, ""}};
        // clang-format on
        for (const auto &[comment, track, text] : comments) {
            tag.Comment = DecodeCodePage(comment);
            QCOMPARE(tag.track(), track);
            QCOMPARE(FieldText(tag.Comment), text);
        }
    }

    void codePage()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = DecodeCodePage(all);
        bool lossless = false;
        QCOMPARE(EncodeCodePage(text, &lossless), all);
        QVERIFY(lossless);
        // No two bytes may share a character, or the round trip would be lucky.
        QCOMPARE(QSet<QChar>(text.cbegin(), text.cend()).size(), 256);
        // 0x80..0x9F is where a typo would hide; a round trip can't see it.
        QCOMPARE(DecodeCodePage("\x80\x81\x91\x99\x9D\x9F\xA0"),
                 QStringLiteral("\u20AC\u0081\u2018\u2122\u009D\u0178\u00A0"));
        // Each character it cannot hold is one '?', an emoji too.
        // clang-format off
        const std::pair<QString, QByteArray> lossy[] = {{QString(QChar(0x80)), "?"},
            {"a\u03B1b", "a?b"}, {"x\U0001F600y", "x?y"}, {QString(QChar(0xD800)), "?"}};
        // clang-format on
        for (const auto &[text, bytes] : lossy) {
            QCOMPARE(EncodeCodePage(text, &lossless), bytes);
            QVERIFY(!lossless);
        }
    }

    void genres()
    {
        const QStringList &table = GenreTable();
        QCOMPARE(QSet<QString>(table.cbegin(), table.cend()).size(), GenreCount);
        for (int i = 0; i < GenreCount; ++i)
            QCOMPARE(GenreNumber(GenreCode(table.at(i))), i);
        // Numbers past the table, the euro sign (byte 0x80) and an empty field.
        for (const QString &field :
             {QString(QChar(126)), QString(QChar(255)), QString(QChar(0x20AC)), QString()})
            QCOMPARE(GenreName(field), QStringLiteral("Unknown Genre Entry"));
        QCOMPARE(GenreName(QString(QChar(125))), QStringLiteral("Dance Hall"));
        // Names are matched exactly, the old misspelling included.
        QCOMPARE(GenreCode(QStringLiteral("Poweer Ballad")), QString(QChar(117)));
        for (const char *name : {"Power Ballad", "Unknown Genre Entry", "", "rock", "Rock "})
            QCOMPARE(GenreCode(QString::fromLatin1(name)), QString(QChar(OtherGenre)));
    }
};

QTEST_GUILESS_MAIN(TestId3v1Tag)
#include "tst_id3v1tag.moc"
