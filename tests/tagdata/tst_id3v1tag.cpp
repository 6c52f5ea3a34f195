#include "CodePage.h"
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
        QTest::newRow("shorter is padded")
            << "Song" << 30 << QStringLiteral("Song").leftJustified(30);
        QTest::newRow("empty is all spaces") << "" << 30 << QString(30, ' ');
        QTest::newRow("31 keeps first 30") << QString(30, 'a') + "b" << 30 << QString(30, 'a');
        QTest::newRow("year of five") << "20245" << 4 << "2024";
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
        Id3v1Tag tag;
        QString emoji; // 15 emoji fill 30 UTF-16 units but encode to 15 bytes
        for (int i = 0; i < 15; ++i)
            emoji += QStringLiteral("\U0001F600");
        AssignField(tag.Title, emoji, 30);
        const QByteArray bytes = tag.render();
        QCOMPARE(bytes.size(), 128);
        QCOMPARE(bytes.mid(3, 30), QByteArray(15, '?') + QByteArray(15, ' '));
    }

    void trackAndText_data()
    {
        QTest::addColumn<QByteArray>("comment");
        QTest::addColumn<int>("track");
        QTest::addColumn<QString>("text"); // what a user is shown
        QTest::newRow("v1.1 track 7")
            << QByteArray("hi").leftJustified(28, '\0') + '\0' + '\x07' << 7 << "hi";
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
};

QTEST_GUILESS_MAIN(TestId3v1Tag)
#include "tst_id3v1tag.moc"
