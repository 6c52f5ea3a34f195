#include "JournalRecord.h"

#include <QtTest>

namespace {

// Every field at an awkward value: the top bit of the id, a newline in the
// path, names outside ASCII and bytes that are no UTF-8 at all, a trailer with
// zeros and 0xFF.
JournalRecord Sample(JournalRecord::Type type)
{
    JournalRecord r;
    r.type = type;
    r.id = 0xFEDCBA9876543210ull;
    r.path = "/music/with space/and\nnewline";
    if (type == JournalRecord::Type::Rename) {
        r.oldName = "Old \xff name.MP3";
        r.newName = QStringLiteral("Café € - Ünïcode.mp3").toUtf8();
    }
    r.state.size = 123456789012ll;
    r.state.mtimeNs = 1796585988450333990ll;
    if (type != JournalRecord::Type::Rename)
        r.state.trailer = QByteArray("TAG") + QByteArray(124, '\0') + char(0xFF);
    return r;
}

} // namespace

class TestJournalRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<char>("type");
        for (char type : {'W', 'R', 'D', 'U'})
            QTest::newRow(QByteArray(1, type)) << type;
    }

    void roundTrip()
    {
        QFETCH(char, type);
        const JournalRecord record = Sample(JournalRecord::Type(type));
        const QByteArray line = EncodeRecord(record);
        QVERIFY(line.endsWith('\n'));
        QCOMPARE(line.count('\n'), 1); // names with newlines cannot break the line
        JournalRecord back;
        QVERIFY(DecodeRecord(line.chopped(1), back));
        QCOMPARE(back.type, record.type);
        QCOMPARE(back.id, record.id);
        QCOMPARE(back.path, record.path);
        QCOMPARE(back.oldName, record.oldName);
        QCOMPARE(back.newName, record.newName);
        QVERIFY(back.state == record.state);
    }

    void damageIsRecognised_data()
    {
        QTest::addColumn<QByteArray>("line");
        const QByteArray good = EncodeRecord(Sample(JournalRecord::Type::Write)).chopped(1);
        QByteArray flipped = good, unknownType = good;
        flipped[10] = flipped[10] == 'A' ? 'B' : 'A';
        unknownType[0] = 'X';
        QTest::newRow("flipped byte") << flipped;
        QTest::newRow("torn") << good.left(good.size() / 2);
        QTest::newRow("unknown type") << unknownType;
    }

    void damageIsRecognised()
    {
        QFETCH(QByteArray, line);
        JournalRecord record;
        QVERIFY(!DecodeRecord(line, record));
        QCOMPARE(Crc32("123456789"), 0xCBF43926u); // the checksum's standard check value
    }
};

QTEST_GUILESS_MAIN(TestJournalRecord)
#include "tst_JournalRecord.moc"
