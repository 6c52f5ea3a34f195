#include "ChangeJournal.h"
#include "JournaledChanges.h"
#include "Mp3Fixture.h"
#include "TagFile.h"

#include <QDir>
#include <QtTest>

class TestChangeJournal : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolders> dirs_;

    QString journalFolder() const { return dirs_->state.filePath("brelko"); }
    QString mp3(const QString &name, const QByteArray &t = {}) { return dirs_->mp3(name, 2, t); }

private Q_SLOTS:
    void init() { dirs_ = std::make_unique<TestFolders>(); }

    void batchIsRecordedBeforeAndDoneAfterAndSurvivesARestart()
    {
        const QString a = mp3("a.mp3", Trailer("Morning", "Quartet"));
        const QString b = mp3("b.mp3");
        QVector<JournalRecord> changes(2);
        {
            ChangeJournal journal(journalFolder());
            QVERIFY(ChangeJournal::prepareWrite(a, changes[0]));
            QVERIFY(ChangeJournal::prepareWrite(b, changes[1]));
            QVERIFY(journal.record(changes));
            QVERIFY(changes[0].id != changes[1].id);
            // Both intentions are on disk before either file is touched.
            QCOMPARE(journal.readAll().size(), 2);
            Id3v1Tag tag;
            QVERIFY(WriteTag(b, tag));
            journal.markDone(changes[1]);
            QVERIFY(journal.flush());
        }
        const QVector<JournalRecord> read = ChangeJournal(journalFolder()).readAll();
        QCOMPARE(read.size(), 3);
        QCOMPARE(read[0].path, a);
        QCOMPARE(read[0].state.trailer, Trailer("Morning", "Quartet"));
        QCOMPARE(read[2].type, JournalRecord::Type::Done);
        QCOMPARE(read[2].id, changes[1].id);
        QCOMPARE(read[2].state.size, qint64(MpegFrames(2).size() + 128));
        QCOMPARE(read[2].state.trailer, ReadFile(b).right(128));
    }

    void unusableJournalNeverStopsAWrite()
    {
        const QString a = mp3("a.mp3", Trailer("Morning", "Quartet"));
        // A file where the journal folder should be: nothing can be created there.
        QVERIFY(TryWriteFile(journalFolder(), "in the way"));
        ChangeJournal journal(journalFolder());
        Id3v1Tag tag;
        AssignField(tag.Title, QStringLiteral("Evening"), 30);
        QVERIFY(JournaledWriteTag(journal, a, tag));
        QVERIFY(ReadFile(a).right(128).startsWith("TAGEvening"));
        QVERIFY(!journal.error().isEmpty());
        QVERIFY(journal.readAll().isEmpty());
    }

    void damagedJournalIsReadAroundAndWrittenOn()
    {
        const QString a = mp3("a.mp3", Trailer("Morning", "Quartet"));
        QVERIFY(QDir().mkpath(journalFolder()));
        JournalRecord old;
        old.id = 7;
        old.path = a;
        const QByteArray line = EncodeRecord(old);
        QVERIFY(TryWriteFile(journalFolder() + "/changes.log",
                             "\x01\x02 binary junk\n" + line + line.left(30)));
        ChangeJournal journal(journalFolder());
        Id3v1Tag tag;
        QVERIFY(JournaledWriteTag(journal, a, tag));
        const QVector<JournalRecord> read = journal.readAll();
        QCOMPARE(read.size(), 3); // the whole old line, then our two
        QCOMPARE(read[0].id, quint64(7));
        QCOMPARE(read[1].type, JournalRecord::Type::Write);
        QCOMPARE(read[2].type, JournalRecord::Type::Done);
    }

    void keepsOnlyTheLastChanges()
    {
        const QString a = mp3("a.mp3");
        const ChangeJournal::Limits limits{5, 1000}; // a few changes per segment
        QVector<quint64> ids, kept;
        for (int i = 0; i < 40; ++i) {
            ChangeJournal journal(journalFolder(), limits); // a restart between changes
            JournalRecord change;
            QVERIFY(ChangeJournal::prepareWrite(a, change));
            QVERIFY(journal.record(change));
            ids.append(change.id);
            journal.markDone(change);
        }
        for (const JournalRecord &r : ChangeJournal(journalFolder(), limits).readAll()) {
            if (r.isChange())
                kept.append(r.id);
        }
        QCOMPARE(kept, ids.mid(35));
        // Old segments are removed, not just ignored: at most the segments the
        // kept changes need, plus a full and a new one; forty changes without
        // removal would be well over 15,000 bytes.
        qint64 bytes = 0;
        for (const QFileInfo &segment : QDir(journalFolder()).entryInfoList(QDir::Files))
            bytes += segment.size();
        QVERIFY2(bytes < 5 * 600 + 2 * (1000 + 600), // 600: a change's bytes, with room
                 qPrintable(QString::number(bytes)));
    }

    void defaultFolderFollowsXdgState()
    {
        qputenv("XDG_STATE_HOME", dirs_->state.path().toUtf8());
        QCOMPARE(ChangeJournal::defaultFolder(), dirs_->state.path() + "/brelko");
        qputenv("XDG_STATE_HOME", "relative/is/ignored");
        QCOMPARE(ChangeJournal::defaultFolder(), QDir::homePath() + "/.local/state/brelko");
        qunsetenv("XDG_STATE_HOME");
    }
};

QTEST_GUILESS_MAIN(TestChangeJournal)
#include "tst_ChangeJournal.moc"
