#include "CodePage.h"
#include "Genres.h"

#include <QtTest>

class TestGenres : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tableIsEmptyUntilFilled();
    void tableHoldsEachNameOnce();
    void nameOfField_data();
    void nameOfField();
    void codeOfName_data();
    void codeOfName();
    void everyNameRoundTrips();
};

void TestGenres::tableIsEmptyUntilFilled()
{
    QVERIFY(GenreTable().isEmpty());
    FillGenres();
    QCOMPARE(GenreTable().size(), GenreCount);
    FillGenres();
    QCOMPARE(GenreTable().size(), GenreCount);
}

void TestGenres::tableHoldsEachNameOnce()
{
    FillGenres();
    const QStringList &table = GenreTable();
    QCOMPARE(QSet<QString>(table.cbegin(), table.cend()).size(), GenreCount);
    QCOMPARE(table.at(0), QStringLiteral("Blues"));
    QCOMPARE(table.at(17), QStringLiteral("Rock"));
    QCOMPARE(table.at(117), QStringLiteral("Poweer Ballad"));
    QCOMPARE(table.at(125), QStringLiteral("Dance Hall"));
    QVERIFY(!table.contains(QString::fromLatin1(UnknownGenreName)));
}

void TestGenres::nameOfField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << QString(QChar(0)) << "Blues";
    QTest::newRow("12") << QString(QChar(12)) << "Other";
    QTest::newRow("63") << QString(QChar(63)) << "Jungle";
    QTest::newRow("125") << QString(QChar(125)) << "Dance Hall";
    QTest::newRow("126") << QString(QChar(126)) << "Unknown Genre Entry";
    QTest::newRow("255") << QString(QChar(255)) << "Unknown Genre Entry";
    QTest::newRow("0x80 as decoded") << QString(DecodeCodePageByte(0x80)) << "Unknown Genre Entry";
    QTest::newRow("empty counts as 255") << QString() << "Unknown Genre Entry";
    QTest::newRow("only first character") << QStringLiteral("\x11xyz") << "Rock";
}

void TestGenres::nameOfField()
{
    QFETCH(QString, field);
    QFETCH(QString, name);
    QCOMPARE(GenreName(field), name);
}

void TestGenres::codeOfName_data()
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
    QTest::newRow("leading space") << " Rock" << 12;
    QTest::newRow("trailing space") << "Rock " << 12;
    QTest::newRow("R&B") << "R&B" << 14;
    QTest::newRow("Pop/Funk") << "Pop/Funk" << 62;
}

void TestGenres::codeOfName()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    const QString field = GenreCode(name);
    QCOMPARE(field.size(), 1);
    QCOMPARE(int(field.at(0).unicode()), code);
}

void TestGenres::everyNameRoundTrips()
{
    FillGenres();
    for (int i = 0; i < GenreCount; ++i) {
        const QString field = GenreCode(GenreTable().at(i));
        QCOMPARE(GenreNumber(field), i);
        QCOMPARE(GenreName(field), GenreTable().at(i));
    }
}

QTEST_GUILESS_MAIN(TestGenres)
#include "tst_genres.moc"
