// Undo of writes, appends and renames, and refusal after an outside change,
// are tested through brelko-tag on real files (tests/tagtool); here the
// cases only the library can set up.
#include "ChangeJournal.h"
#include "JournaledChanges.h"
#include "JournalUndo.h"
#include "TagFile.h"
#include "TestFiles.h"

#include <unistd.h>

namespace {

// Every field at an awkward value: the top bit of the id, a newline in the
// path, names outside ASCII and bytes that are no UTF-8 at all, a trailer with
// zeros and 0xFF.
JournalRecord Sample(JournalRecord::Type type)
{
    const bool rename = type == JournalRecord::Type::Rename;
    JournalRecord r;
    r.type = type, r.id = 0xFEDCBA9876543210ull, r.path = "/music/with space/and\nnewline";
    r.oldName = rename ? "Old \xff name.MP3" : "";
    r.newName = rename ? QStringLiteral("Café € - Ünïcode.mp3").toUtf8() : "";
    r.state = {123456789012ll, 1796585988450333990ll,
               rename ? QByteArray() : "TAG" + QByteArray(124, '\0') + char(0xFF)};
    return r;
}

} // namespace

class TestChangeJournal : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolders> dirs_;

    QString journalFolder() const { return dirs_->state.filePath("brelko"); }
    QString mp3(const QString &name, const QByteArray &t = {}) { return dirs_->mp3(name, 2, t); }
    // Each undo in a fresh journal and history, as a new run of the program.
    UndoOutcome undo(const QString &name)
    {
        ChangeJournal journal(journalFolder());
        JournalHistory history(journal.readAll());
        return UndoLastChange(journal, history, ToFilePath(dirs_->file(name)));
    }

private Q_SLOTS:
    void init() { dirs_ = std::make_unique<TestFolders>(); }

    void recordRoundTrip()
    {
        for (const char type : {'W', 'R', 'D', 'U'}) {
            const QByteArray line = EncodeRecord(Sample(JournalRecord::Type(type)));
            // Names with newlines cannot break the line.
            QVERIFY(line.endsWith('\n') && line.count('\n') == 1);
            JournalRecord back;
            QVERIFY(DecodeRecord(line.chopped(1), back));
            QCOMPARE(EncodeRecord(back), line);
        }
        // Journals written by earlier versions must keep reading: the
        // checksum is the standard CRC-32 of the line before it.
        QCOMPARE(EncodeRecord(Sample(JournalRecord::Type::Done)).right(10), " cef52645\n");
    }

    void batchIsRecordedBeforeAndDoneAfterAndSurvivesARestart()
    {
        const QString a = mp3("a.mp3", Trailer("Morning", "Quartet"));
        const QString b = mp3("b.mp3");
        QVector<JournalRecord> changes(2);
        {
            ChangeJournal journal(journalFolder());
            QVERIFY(ChangeJournal::prepareWrite(ToFilePath(a), changes[0]) &&
                    ChangeJournal::prepareWrite(ToFilePath(b), changes[1]));
            changes.insert(1, 1000, changes[0]); // lines for more than one write
            QVERIFY(journal.record(changes));
            QSet<quint64> ids;
            for (const JournalRecord &change : changes)
                ids.insert(change.id);
            QCOMPARE(ids.size(), changes.size());
            // All intentions are on disk before any file is touched.
            QCOMPARE(journal.readAll().size(), changes.size());
            Id3v1Tag tag;
            QVERIFY(WriteTag(b, tag));
            journal.markDone(changes.last());
            QVERIFY(journal.flush());
        }
        const QVector<JournalRecord> read = ChangeJournal(journalFolder()).readAll();
        QCOMPARE(read.size(), changes.size() + 1);
        QCOMPARE(read[0].path, ToFilePath(a));
        QCOMPARE(read[0].state.trailer, Trailer("Morning", "Quartet"));
        const JournalRecord &done = read.last();
        QVERIFY(done.type == JournalRecord::Type::Done && done.id == changes.last().id);
        QCOMPARE(done.state.size, qint64(MpegFrames(2).size() + 128));
        QCOMPARE(done.state.trailer, ReadFile(b).right(128));
    }

    // A passing fault (here a file in the folder's way, then gone) costs the
    // changes made during it, never the later ones.
    void unusableJournalNeverStopsAWriteAndRecovers()
    {
        const QString a = mp3("a.mp3", Trailer("Morning", "Quartet"));
        QVERIFY(TryWriteFile(journalFolder(), "in the way"));
        ChangeJournal journal(journalFolder());
        Id3v1Tag tag;
        QVERIFY(JournaledWriteTag(journal, a, tag));
        QCOMPARE(ReadFile(a).right(128), tag.render());
        QVERIFY(!journal.error().isEmpty() && journal.readAll().isEmpty());
        QVERIFY(QFile::remove(journalFolder()) && JournaledWriteTag(journal, a, tag) &&
                journal.flush());
        QCOMPARE(journal.readAll().size(), 2);
        QCOMPARE(QFileInfo(journalFolder()).permissions() & 0x7077, // mode 0700
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A symbolic link, then another user's file.
    void refusesJournalFilesItCannotTrust()
    {
        for (const bool symlink : {true, false}) {
            if (!symlink && ::geteuid() != 0)
                QSKIP("handing a file to another user needs root");
            init();
            const QString victim = dirs_->file("victim.txt"),
                          current = journalFolder() + "/changes.log";
            QVERIFY(TryWriteFile(victim, "precious\n") && QDir().mkpath(journalFolder()));
            if (symlink)
                QVERIFY(QFile::link(victim, current));
            else
                QVERIFY(TryWriteFile(current, "") &&
                        ::chown(QFile::encodeName(current), 65534, 65534) == 0);
            ChangeJournal journal(journalFolder());
            JournalRecord change;
            QVERIFY(ChangeJournal::prepareWrite(ToFilePath(mp3("a.mp3")), change));
            QVERIFY(!journal.record(change));
            QCOMPARE(change.id, quint64(0));
            QCOMPARE(ReadFile(victim), QByteArray("precious\n"));
            QCOMPARE(ReadFile(current), QByteArray(symlink ? "precious\n" : ""));
        }
    }

    // A crash in the middle of a rotation can leave a gap in the numbers:
    // the segments beyond it are still read, and still rotated and dropped.
    void segmentsBeyondAGapAreKept()
    {
        const QString a = mp3("a.mp3");
        JournalRecord old;
        old.path = ToFilePath(a);
        for (const int segment : {1, 3}) {
            old.id = quint64(segment);
            QVERIFY(TryWriteFile(journalFolder() + "/changes.log." + QString::number(segment),
                                 EncodeRecord(old)));
        }
        ChangeJournal journal(journalFolder(), {100, 1}); // every record starts a segment
        for (int i = 0; i < 2; ++i) {
            JournalRecord change;
            QVERIFY(ChangeJournal::prepareWrite(ToFilePath(a), change) && journal.record(change));
        }
        const QVector<JournalRecord> read = journal.readAll();
        QCOMPARE(read.size(), 4);
        QVERIFY(read[0].id == 3 && read[1].id == 1);
    }

    // Junk, a changed digit that still parses (only the checksum can tell),
    // an unknown type and a torn last line are read around and written on.
    void damagedJournalIsReadAroundAndWrittenOn()
    {
        const QString a = mp3("a.mp3", Trailer("Morning", "Quartet"));
        JournalRecord old = Sample(JournalRecord::Type::Write);
        QByteArray flipped = EncodeRecord(old), unknownType = flipped;
        flipped.replace(" 123456789012 ", " 123456789013 "); // the size
        unknownType[0] = 'X';
        old.id = 7;
        const QByteArray line = EncodeRecord(old);
        QVERIFY(
            TryWriteFile(journalFolder() + "/changes.log",
                         "\x01\x02 binary junk\n" + flipped + unknownType + line + line.left(30)));
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
        // One change per segment: how the segments set aside are counted
        // alone decides which go.
        const ChangeJournal::Limits limits{5, 100};
        QVector<quint64> ids, kept;
        for (int i = 0; i < 40; ++i) {
            ChangeJournal journal(journalFolder(), limits); // a restart between changes
            JournalRecord change;
            QVERIFY(ChangeJournal::prepareWrite(ToFilePath(a), change) && journal.record(change));
            ids.append(change.id);
            journal.markDone(change);
        }
        for (const JournalRecord &r : ChangeJournal(journalFolder(), limits).readAll())
            if (r.isChange())
                kept.append(r.id);
        QCOMPARE(kept, ids.mid(35));
        // Old segments are removed, not just ignored: at most the segments the
        // kept changes need, plus a full and a new one; forty changes without
        // removal would be well over 15,000 bytes.
        qint64 bytes = 0;
        for (const QFileInfo &segment : QDir(journalFolder()).entryInfoList(QDir::Files))
            bytes += segment.size();
        // 600: a change's bytes, with room.
        QVERIFY2(bytes < 5 * 600 + 2 * (limits.segmentBytes + 600),
                 QByteArray::number(bytes).constData());
    }

    void defaultFolderFollowsXdgState()
    {
        qputenv("XDG_STATE_HOME", dirs_->state.path().toUtf8());
        QCOMPARE(ChangeJournal::defaultFolder(), dirs_->state.path() + "/brelko");
        qputenv("XDG_STATE_HOME", "relative/is/ignored");
        QCOMPARE(ChangeJournal::defaultFolder(), QDir::homePath() + "/.local/state/brelko");
        qunsetenv("XDG_STATE_HOME");
    }

    void undoRefusesWhenTheOldNameIsTaken()
    {
        QVERIFY(TryWriteFile(dirs_->file("old.mp3"), MpegFrames(1)));
        ChangeJournal journal(journalFolder());
        QVERIFY(JournaledRename(journal, dirs_->files.path(), "old.mp3", "new.mp3"));
        QVERIFY(TryWriteFile(dirs_->file("old.mp3"), "someone else's file"));
        const UndoOutcome outcome = undo("new.mp3");
        QVERIFY(!outcome.undone);
        QCOMPARE(outcome.message, QStringLiteral("cannot undo: \"old.mp3\" exists"));
        QCOMPARE(ReadFile(dirs_->file("old.mp3")), QByteArray("someone else's file"));
        QCOMPARE(ReadFile(dirs_->file("new.mp3")), MpegFrames(1));
    }

    // A crash between the write and its completion line: the journal cannot
    // know what the file holds, so it does not guess.
    void changeWithoutCompletionIsNotUndone()
    {
        const QString a = mp3("a.mp3", Trailer("Morning", "Quartet"));
        ChangeJournal journal(journalFolder());
        JournalRecord change;
        QVERIFY(ChangeJournal::prepareWrite(ToFilePath(a), change) && journal.record(change));
        Id3v1Tag tag;
        QVERIFY(WriteTag(a, tag));
        QVERIFY(!undo("a.mp3").undone);
        QCOMPARE(ReadFile(a).right(128), tag.render());
    }
};

QTEST_GUILESS_MAIN(TestChangeJournal)
#include "tst_ChangeJournal.moc"
