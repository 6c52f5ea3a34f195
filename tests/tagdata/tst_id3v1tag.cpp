// The record's fields, the code page they are stored in, and the genres.
#include "CodePage.h"
#include "Genres.h"
#include "Id3v1Tag.h"

#include <QtTest>

class TestId3v1Tag : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void assignField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("field");
        QTest::newRow("shorter is padded") << "Song" << 6 << "Song  ";
        QTest::newRow("empty is all spaces") << "" << 30 << QString(30, ' ');
        QTest::newRow("31 keeps first 30") << QString(30, 'a') + "b" << 30 << QString(30, 'a');
        QTest::newRow("leading spaces kept") << "  x" << 4 << "  x ";
    }

    void assignField()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, field);
        QString result = QStringLiteral("previous contents");
        AssignField(result, text, width);
        QCOMPARE(result, field);
    }

    void renderKeepsShapeWhenCharactersCollapse()
    {
        Id3v1Tag tag; // 15 emoji fill 30 UTF-16 units but encode to 15 bytes
        AssignField(tag.Title, QStringLiteral("\U0001F600").repeated(15), 30);
        const QByteArray bytes = tag.render();
        QCOMPARE(bytes.size(), 128);
        QCOMPARE(bytes.mid(3, 30), QByteArray(15, '?') + QByteArray(15, ' '));
    }

    void trackAndText_data()
    {
        QTest::addColumn<QByteArray>("comment");
        QTest::addColumn<int>("track");
        QTest::addColumn<QString>("text"); // what a user is shown
        QTest::newRow("track 7") << QByteArray("hi").leftJustified(29, '\0') + '\x07' << 7 << "hi";
        QTest::newRow("track 200")
            << QByteArray(28, ' ') + '\0' + '\xC8' << 200 << QString(28, ' ');
        QTest::newRow("spaces") << QByteArray(30, ' ') << 0 << QString(30, ' ');
        QTest::newRow("all zero") << QByteArray(30, '\0') << 0 << "";
        QTest::newRow("full comment") << QByteArray(30, 'c') << 0 << QString(30, 'c');
    }

    void trackAndText()
    {
        QFETCH(QByteArray, comment);
        QFETCH(int, track);
        QFETCH(QString, text);
        Id3v1Tag tag;
        tag.Comment = DecodeCodePage(comment);
        QCOMPARE(tag.track(), track);
        QCOMPARE(FieldText(tag.Comment), text);
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
        const std::pair<QString, QByteArray> lossy[] = {{QString(QChar(0x80)), "?"},
                                                        {QStringLiteral("a\u03B1b"), "a?b"},
                                                        {QStringLiteral("x\U0001F600y"), "x?y"},
                                                        {QString(QChar(0xD800)), "?"}};
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
