#include "ChangeJournal.h"
#include "JournaledChanges.h"
#include "Mp3Fixture.h"
#include "TagFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestChangeJournal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void batchIsRecordedBeforeAndDoneAfter();
    void survivesARestart();
    void renameIsRecorded();
    void unusableJournalNeverStopsAWrite();
    void damagedJournalIsReadAroundAndWrittenOn();
    void keepsOnlyTheLastChanges();
    void defaultFolderFollowsXdgState();

private:
    QString file(const QString &name) const { return files_->filePath(name); }
    QString journalFolder() const { return state_->filePath("brelko"); }
    QString makeFile(const QString &name, const QByteArray &trailer = QByteArray());

    std::unique_ptr<QTemporaryDir> files_;
    std::unique_ptr<QTemporaryDir> state_;
};

void TestChangeJournal::init()
{
    files_ = std::make_unique<QTemporaryDir>();
    state_ = std::make_unique<QTemporaryDir>();
}

QString TestChangeJournal::makeFile(const QString &name, const QByteArray &trailer)
{
    const QString path = file(name);
    if (!WriteBytes(path, MpegFrames(2) + trailer))
        qFatal("cannot write fixture");
    return path;
}

void TestChangeJournal::batchIsRecordedBeforeAndDoneAfter()
{
    const QString a = makeFile("a.mp3", Trailer("Morning", "Quartet"));
    const QString b = makeFile("b.mp3");
    ChangeJournal journal(journalFolder());
    QVector<JournalRecord> changes(2);
    QVERIFY(ChangeJournal::prepareWrite(a, changes[0]));
    QVERIFY(ChangeJournal::prepareWrite(b, changes[1]));
    QCOMPARE(changes[0].state.trailer, Trailer("Morning", "Quartet"));
    QVERIFY(changes[1].state.trailer != Trailer("Morning", "Quartet"));
    QCOMPARE(changes[1].state.size, qint64(MpegFrames(2).size()));
    QVERIFY(journal.record(changes));
    QVERIFY(changes[0].id != 0 && changes[1].id != 0 && changes[0].id != changes[1].id);

    // Both intentions are on disk before either file is touched.
    QVector<JournalRecord> read = journal.readAll();
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[0].path, a);
    QCOMPARE(read[1].path, b);

    Id3v1Tag tag;
    QVERIFY(WriteTag(b, tag));
    journal.markDone(changes[1]);
    QVERIFY(journal.flush());
    read = journal.readAll();
    QCOMPARE(read.size(), 3);
    QCOMPARE(read[2].type, JournalRecord::Type::Done);
    QCOMPARE(read[2].id, changes[1].id);
    QCOMPARE(read[2].state.size, qint64(MpegFrames(2).size() + 128));
    QCOMPARE(read[2].state.trailer, ReadBytes(b).right(128));
}

void TestChangeJournal::survivesARestart()
{
    const QString a = makeFile("a.mp3", Trailer("Morning", "Quartet"));
    {
        ChangeJournal journal(journalFolder());
        Id3v1Tag tag;
        QVERIFY(JournaledWriteTag(journal, a, tag));
    }
    ChangeJournal again(journalFolder());
    const QVector<JournalRecord> read = again.readAll();
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[0].state.trailer, Trailer("Morning", "Quartet"));
}

void TestChangeJournal::renameIsRecorded()
{
    makeFile("old.mp3", Trailer("Morning", "Quartet"));
    ChangeJournal journal(journalFolder());
    QVERIFY(JournaledRename(journal, files_->path(), "old.mp3", "Morning - Quartet.mp3"));
    QVERIFY(!JournaledRename(journal, files_->path(), "gone.mp3", "x.mp3")); // recorded, not done
    const QVector<JournalRecord> read = journal.readAll();
    QCOMPARE(read.size(), 3);
    QCOMPARE(read[0].type, JournalRecord::Type::Rename);
    QCOMPARE(read[0].oldName, QStringLiteral("old.mp3"));
    QCOMPARE(read[0].newName, QStringLiteral("Morning - Quartet.mp3"));
    QCOMPARE(read[1].type, JournalRecord::Type::Done);
    QCOMPARE(read[1].state.trailer, Trailer("Morning", "Quartet"));
    QCOMPARE(read[2].type, JournalRecord::Type::Rename);
}

void TestChangeJournal::unusableJournalNeverStopsAWrite()
{
    const QString a = makeFile("a.mp3", Trailer("Morning", "Quartet"));
    // A file where the journal folder should be: nothing can be created there.
    QVERIFY(WriteBytes(journalFolder(), "in the way"));
    ChangeJournal journal(journalFolder());
    Id3v1Tag tag;
    AssignField(tag.Title, QStringLiteral("Evening"), 30);
    QVERIFY(JournaledWriteTag(journal, a, tag));
    QVERIFY(ReadBytes(a).right(128).startsWith("TAGEvening"));
    QVERIFY(!journal.error().isEmpty());
    QVERIFY(journal.readAll().isEmpty());
}

void TestChangeJournal::damagedJournalIsReadAroundAndWrittenOn()
{
    const QString a = makeFile("a.mp3", Trailer("Morning", "Quartet"));
    QVERIFY(QDir().mkpath(journalFolder()));
    JournalRecord old;
    old.id = 7;
    old.path = a;
    const QByteArray torn = EncodeRecord(old).left(30);
    QVERIFY(WriteBytes(journalFolder() + "/changes.log",
                       "\x01\x02 binary junk\n" + EncodeRecord(old) + torn));
    ChangeJournal journal(journalFolder());
    Id3v1Tag tag;
    QVERIFY(JournaledWriteTag(journal, a, tag));
    const QVector<JournalRecord> read = journal.readAll();
    QCOMPARE(read.size(), 3); // the whole old line, then our two
    QCOMPARE(read[0].id, quint64(7));
    QCOMPARE(read[1].type, JournalRecord::Type::Write);
    QCOMPARE(read[2].type, JournalRecord::Type::Done);
}

void TestChangeJournal::keepsOnlyTheLastChanges()
{
    const QString a = makeFile("a.mp3");
    ChangeJournal::Limits limits;
    limits.maxChanges = 5;
    limits.segmentBytes = 1000; // a few changes per segment
    QVector<quint64> ids;
    for (int i = 0; i < 40; ++i) {
        ChangeJournal journal(journalFolder(), limits); // a restart between changes
        JournalRecord change;
        QVERIFY(ChangeJournal::prepareWrite(a, change));
        QVERIFY(journal.record(change));
        ids.append(change.id);
        journal.markDone(change);
    }
    ChangeJournal journal(journalFolder(), limits);
    QVector<quint64> kept;
    for (const JournalRecord &r : journal.readAll()) {
        if (r.isChange())
            kept.append(r.id);
    }
    QCOMPARE(kept, ids.mid(35));
    // Old segments are removed, not just ignored.
    const QStringList segments = QDir(journalFolder()).entryList(QDir::Files);
    qint64 bytes = 0;
    for (const QString &segment : segments)
        bytes += QFileInfo(QDir(journalFolder()).filePath(segment)).size();
    // At most the segments the kept changes need, plus a full and a new
    // one; forty changes without removal would be well over 15,000 bytes.
    constexpr qint64 changeBytes = 600;
    QVERIFY2(bytes < limits.maxChanges * changeBytes + 2 * (limits.segmentBytes + changeBytes),
             qPrintable(QString::number(bytes)));
}

void TestChangeJournal::defaultFolderFollowsXdgState()
{
    qputenv("XDG_STATE_HOME", state_->path().toUtf8());
    QCOMPARE(ChangeJournal::defaultFolder(), state_->path() + "/brelko");
    qputenv("XDG_STATE_HOME", "relative/is/ignored");
    QCOMPARE(ChangeJournal::defaultFolder(), QDir::homePath() + "/.local/state/brelko");
    qunsetenv("XDG_STATE_HOME");
}

QTEST_GUILESS_MAIN(TestChangeJournal)
#include "tst_ChangeJournal.moc"
