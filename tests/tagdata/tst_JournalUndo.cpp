// Undo of writes, appends and renames, and refusal after an outside change,
// are tested through brelko-tag on real files (tests/tagtool); here the
// cases only the library can set up.
#include "JournaledChanges.h"
#include "JournalUndo.h"
#include "Mp3Fixture.h"
#include "TagFile.h"

#include <QDir>
#include <QtTest>

class TestJournalUndo : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolders> dirs_;

    QString file(const QString &name) const { return dirs_->file(name); }
    // Each undo in a fresh journal and history, as a new run of the program.
    UndoOutcome undo(const QString &name)
    {
        ChangeJournal journal(dirs_->state.path());
        JournalHistory history(journal.readAll());
        return UndoLastChange(journal, history, ToFilePath(file(name)));
    }

private Q_SLOTS:
    void init() { dirs_ = std::make_unique<TestFolders>(); }

    void refusesWhenTheOldNameIsTaken()
    {
        QVERIFY(TryWriteFile(file("old.mp3"), MpegFrames(1)));
        ChangeJournal journal(dirs_->state.path());
        QVERIFY(JournaledRename(journal, dirs_->files.path(), "old.mp3", "new.mp3"));
        QVERIFY(TryWriteFile(file("old.mp3"), "someone else's file"));
        const UndoOutcome outcome = undo("new.mp3");
        QVERIFY(!outcome.undone);
        QCOMPARE(outcome.message, QStringLiteral("cannot undo: \"old.mp3\" exists"));
        QCOMPARE(ReadFile(file("old.mp3")), QByteArray("someone else's file"));
        QCOMPARE(ReadFile(file("new.mp3")), MpegFrames(1));
    }

    void changeWithoutCompletionIsNotUndone()
    {
        // A crash between the write and its completion line: the journal cannot
        // know what the file holds, so it does not guess.
        const QString a = file("a.mp3");
        QVERIFY(TryWriteFile(a, MpegFrames(1) + Trailer("Morning", "Quartet")));
        ChangeJournal journal(dirs_->state.path());
        JournalRecord change;
        QVERIFY(ChangeJournal::prepareWrite(ToFilePath(a), change));
        QVERIFY(journal.record(change));
        Id3v1Tag tag;
        AssignField(tag.Title, QStringLiteral("Evening"), Id3v1Tag::TitleWidth);
        QVERIFY(WriteTag(a, tag));
        QVERIFY(!undo("a.mp3").undone);
        QVERIFY(ReadFile(a).right(128).startsWith("TAGEvening"));
    }
};

QTEST_GUILESS_MAIN(TestJournalUndo)
#include "tst_JournalUndo.moc"
