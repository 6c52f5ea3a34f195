#include "JournalRecord.h"

#include <QtTest>

namespace {

JournalRecord Sample(JournalRecord::Type type)
{
    JournalRecord r;
    r.type = type;
    r.id = 0xFEDCBA9876543210ull;
    r.path = QStringLiteral("/music/with space/and\nnewline");
    if (type == JournalRecord::Type::Rename) {
        r.oldName = QStringLiteral("Old name.MP3");
        r.newName = QStringLiteral("Café € - Ünïcode.mp3");
    }
    r.state.size = 123456789012ll;
    r.state.mtimeNs = 1796585988450333990ll;
    if (type != JournalRecord::Type::Rename)
        r.state.trailer = QByteArray("TAG") + QByteArray(124, '\0') + char(0xFF);
    return r;
}

void CompareRecords(const JournalRecord &a, const JournalRecord &b)
{
    QCOMPARE(a.type, b.type);
    QCOMPARE(a.id, b.id);
    QCOMPARE(a.path, b.path);
    QCOMPARE(a.oldName, b.oldName);
    QCOMPARE(a.newName, b.newName);
    QVERIFY(a.state == b.state);
}

} // namespace

class TestJournalRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void damageIsRecognised_data();
    void damageIsRecognised();
    void segmentSkipsBadLines();
    void crc32KnownValue();
};

void TestJournalRecord::roundTrip_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("write") << int('W');
    QTest::newRow("rename") << int('R');
    QTest::newRow("done") << int('D');
    QTest::newRow("undone") << int('U');
}

void TestJournalRecord::roundTrip()
{
    QFETCH(int, type);
    const JournalRecord record = Sample(JournalRecord::Type(char(type)));
    const QByteArray line = EncodeRecord(record);
    QVERIFY(line.endsWith('\n'));
    QCOMPARE(line.count('\n'), 1); // names with newlines cannot break the line
    JournalRecord back;
    QVERIFY(DecodeRecord(line.chopped(1), back));
    CompareRecords(back, record);
}

void TestJournalRecord::damageIsRecognised_data()
{
    QTest::addColumn<QByteArray>("line");
    const QByteArray good = EncodeRecord(Sample(JournalRecord::Type::Write)).chopped(1);
    QByteArray flipped = good;
    flipped[10] = flipped[10] == 'A' ? 'B' : 'A';
    QTest::newRow("flipped byte") << flipped;
    QTest::newRow("torn") << good.left(good.size() / 2);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("not a journal line at all");
    QByteArray unknownType = good;
    unknownType[0] = 'X';
    QTest::newRow("unknown type") << unknownType;
}

void TestJournalRecord::damageIsRecognised()
{
    QFETCH(QByteArray, line);
    JournalRecord record;
    QVERIFY(!DecodeRecord(line, record));
}

void TestJournalRecord::segmentSkipsBadLines()
{
    const QByteArray first = EncodeRecord(Sample(JournalRecord::Type::Write));
    const QByteArray second = EncodeRecord(Sample(JournalRecord::Type::Done));
    const QByteArray segment = first + "garbage\n" + second + second.left(20); // torn tail
    const QVector<JournalRecord> records = DecodeRecords(segment);
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[0].type, JournalRecord::Type::Write);
    QCOMPARE(records[1].type, JournalRecord::Type::Done);
}

void TestJournalRecord::crc32KnownValue()
{
    QCOMPARE(Crc32("123456789"), 0xCBF43926u); // the standard check value
}

QTEST_GUILESS_MAIN(TestJournalRecord)
#include "tst_JournalRecord.moc"
