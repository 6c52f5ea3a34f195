#include "Genres.h"

#include <QtTest>

class TestGenres : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void table()
    {
        const QStringList &table = GenreTable();
        QCOMPARE(QSet<QString>(table.cbegin(), table.cend()).size(), GenreCount);
        QCOMPARE(table.size(), GenreCount);
        for (int i = 0; i < GenreCount; ++i)
            QCOMPARE(GenreNumber(GenreCode(table.at(i))), i);
    }

    void nameOfField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << QString(QChar(0)) << "Blues";
        QTest::newRow("12") << QString(QChar(12)) << "Other";
        QTest::newRow("125") << QString(QChar(125)) << "Dance Hall";
        QTest::newRow("126") << QString(QChar(126)) << "Unknown Genre Entry";
        QTest::newRow("255") << QString(QChar(255)) << "Unknown Genre Entry";
        QTest::newRow("euro sign is byte 0x80") << QString(QChar(0x20AC)) << "Unknown Genre Entry";
        QTest::newRow("empty counts as 255") << QString() << "Unknown Genre Entry";
    }

    void nameOfField()
    {
        QFETCH(QString, field);
        QFETCH(QString, name);
        QCOMPARE(GenreName(field), name);
    }

    void codeOfName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::newRow("Blues") << "Blues" << 0;
        QTest::newRow("Dance Hall") << "Dance Hall" << 125;
        QTest::newRow("Poweer Ballad") << "Poweer Ballad" << 117;
        QTest::newRow("corrected spelling is not a name") << "Power Ballad" << 12;
        QTest::newRow("unknown entry text") << "Unknown Genre Entry" << 12;
        QTest::newRow("empty") << "" << 12;
        QTest::newRow("lower case") << "rock" << 12;
        QTest::newRow("trailing space") << "Rock " << 12;
    }

    void codeOfName()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        QCOMPARE(GenreCode(name), QString(QChar(code)));
    }
};

QTEST_GUILESS_MAIN(TestGenres)
#include "tst_genres.moc"
