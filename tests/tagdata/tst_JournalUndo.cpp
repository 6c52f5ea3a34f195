#include "JournaledChanges.h"
#include "JournalUndo.h"
#include "Mp3Fixture.h"
#include "TagFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Id3v1Tag TagTitled(const char *title)
{
    Id3v1Tag tag;
    AssignField(tag.Title, QString::fromLatin1(title), Id3v1Tag::TitleWidth);
    return tag;
}

} // namespace

class TestJournalUndo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void undoesWritesOneByOne();
    void undoesAnAppend();
    void renameCarriesTheHistoryAlong();
    void refusesWhenTheOldNameIsTaken();
    void refusesAfterAnOutsideWrite();
    void changeWithoutCompletionIsNotUndone();
    void onlyTheLastChangesCanBeUndone();

private:
    UndoOutcome undo(const QString &path, ChangeJournal::Limits limits = {});
    QString file(const QString &name) const { return files_->filePath(name); }

    std::unique_ptr<QTemporaryDir> files_;
    std::unique_ptr<QTemporaryDir> state_;
};

void TestJournalUndo::init()
{
    files_ = std::make_unique<QTemporaryDir>();
    state_ = std::make_unique<QTemporaryDir>();
}

// Each undo in a fresh journal and history, as a new run of the program.
UndoOutcome TestJournalUndo::undo(const QString &path, ChangeJournal::Limits limits)
{
    ChangeJournal journal(state_->path(), limits);
    JournalHistory history(journal.readAll());
    return UndoLastChange(journal, history, path);
}

void TestJournalUndo::undoesWritesOneByOne()
{
    const QString a = file("a.mp3");
    const QByteArray original = MpegFrames(3) + Trailer("Morning", "Quartet", "x", 9);
    QVERIFY(WriteBytes(a, original));
    ChangeJournal journal(state_->path());
    Id3v1Tag first = TagTitled("First");
    QVERIFY(JournaledWriteTag(journal, a, first));
    const QByteArray afterFirst = ReadBytes(a);
    Id3v1Tag second = TagTitled("Second");
    QVERIFY(JournaledWriteTag(journal, a, second));

    UndoOutcome outcome = undo(a);
    QVERIFY2(outcome.undone, qPrintable(outcome.message));
    QCOMPARE(ReadBytes(a), afterFirst);
    outcome = undo(a);
    QVERIFY2(outcome.undone, qPrintable(outcome.message));
    QCOMPARE(ReadBytes(a), original);
    outcome = undo(a);
    QVERIFY(!outcome.undone);
    QCOMPARE(outcome.message, QStringLiteral("no change by Brelko is recorded for it"));
}

void TestJournalUndo::undoesAnAppend()
{
    const QString a = file("a.mp3");
    QVERIFY(WriteBytes(a, MpegFrames(3)));
    ChangeJournal journal(state_->path());
    Id3v1Tag tag = TagTitled("New");
    QVERIFY(JournaledWriteTag(journal, a, tag));
    QCOMPARE(ReadBytes(a).size(), MpegFrames(3).size() + 128);
    QVERIFY(undo(a).undone);
    QCOMPARE(ReadBytes(a), MpegFrames(3));
}

void TestJournalUndo::renameCarriesTheHistoryAlong()
{
    const QByteArray original = MpegFrames(1) + Trailer("Morning", "Quartet");
    QVERIFY(WriteBytes(file("old.mp3"), original));
    ChangeJournal journal(state_->path());
    Id3v1Tag tag = TagTitled("Evening");
    QVERIFY(JournaledWriteTag(journal, file("old.mp3"), tag));
    QVERIFY(JournaledRename(journal, files_->path(), "old.mp3", "new.mp3"));
    Id3v1Tag later = TagTitled("Night");
    QVERIFY(JournaledWriteTag(journal, file("new.mp3"), later));

    QVERIFY(undo(file("new.mp3")).undone); // the write to new.mp3
    const UndoOutcome rename = undo(file("new.mp3"));
    QVERIFY2(rename.undone, qPrintable(rename.message));
    QCOMPARE(rename.path, file("old.mp3"));
    QCOMPARE(QDir(files_->path()).entryList(QDir::Files), QStringList{"old.mp3"});
    QVERIFY(!undo(file("new.mp3")).undone);
    QVERIFY(undo(file("old.mp3")).undone); // the write made before the rename
    QCOMPARE(ReadBytes(file("old.mp3")), original);
}

void TestJournalUndo::refusesWhenTheOldNameIsTaken()
{
    QVERIFY(WriteBytes(file("old.mp3"), MpegFrames(1)));
    ChangeJournal journal(state_->path());
    QVERIFY(JournaledRename(journal, files_->path(), "old.mp3", "new.mp3"));
    QVERIFY(WriteBytes(file("old.mp3"), "someone else's file"));
    const UndoOutcome outcome = undo(file("new.mp3"));
    QVERIFY(!outcome.undone);
    QCOMPARE(outcome.message, QStringLiteral("cannot undo: \"old.mp3\" exists"));
    QCOMPARE(ReadBytes(file("old.mp3")), QByteArray("someone else's file"));
    QCOMPARE(ReadBytes(file("new.mp3")), MpegFrames(1));
}

void TestJournalUndo::refusesAfterAnOutsideWrite()
{
    const QString a = file("a.mp3");
    QVERIFY(WriteBytes(a, MpegFrames(1) + Trailer("Morning", "Quartet")));
    ChangeJournal journal(state_->path());
    Id3v1Tag tag = TagTitled("Evening");
    QVERIFY(JournaledWriteTag(journal, a, tag));
    Id3v1Tag outside = TagTitled("Outside");
    QVERIFY(WriteTag(a, outside)); // not through the journal
    const QByteArray now = ReadBytes(a);
    const UndoOutcome outcome = undo(a);
    QVERIFY(!outcome.undone);
    QVERIFY2(outcome.message.startsWith("cannot undo: "), qPrintable(outcome.message));
    QCOMPARE(ReadBytes(a), now);
}

void TestJournalUndo::changeWithoutCompletionIsNotUndone()
{
    // A crash between the write and its completion line: the journal cannot
    // know what the file holds, so it does not guess.
    const QString a = file("a.mp3");
    QVERIFY(WriteBytes(a, MpegFrames(1) + Trailer("Morning", "Quartet")));
    ChangeJournal journal(state_->path());
    JournalRecord change;
    QVERIFY(ChangeJournal::prepareWrite(a, change));
    QVERIFY(journal.record(change));
    Id3v1Tag tag = TagTitled("Evening");
    QVERIFY(WriteTag(a, tag));
    QVERIFY(!undo(a).undone);
    QVERIFY(ReadBytes(a).right(128).startsWith("TAGEvening"));
}

void TestJournalUndo::onlyTheLastChangesCanBeUndone()
{
    ChangeJournal::Limits limits;
    limits.maxChanges = 3;
    QVERIFY(WriteBytes(file("early.mp3"), MpegFrames(1)));
    QVERIFY(WriteBytes(file("late.mp3"), MpegFrames(1)));
    ChangeJournal journal(state_->path(), limits);
    Id3v1Tag tag = TagTitled("Early");
    QVERIFY(JournaledWriteTag(journal, file("early.mp3"), tag));
    for (int i = 0; i < 3; ++i) {
        Id3v1Tag late = TagTitled("Late");
        QVERIFY(JournaledWriteTag(journal, file("late.mp3"), late));
    }
    QVERIFY(!undo(file("early.mp3"), limits).undone);
    QVERIFY(undo(file("late.mp3"), limits).undone);
}

QTEST_GUILESS_MAIN(TestJournalUndo)
#include "tst_JournalUndo.moc"
