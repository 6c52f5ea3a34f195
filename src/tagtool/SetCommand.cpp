#include "Arguments.h"
#include "ChangeJournal.h"
#include "Commands.h"
#include "Console.h"
#include "DeviceJobs.h"
#include "InOrder.h"
#include "JournaledChanges.h"
#include "ShowFormat.h"
#include "TagEdits.h"

#include <QVector>

#include <cerrno>

namespace {

const QString TitleOption = QStringLiteral("--title");
const QString ArtistOption = QStringLiteral("--artist");
const QString AlbumOption = QStringLiteral("--album");
const QString YearOption = QStringLiteral("--year");
const QString CommentOption = QStringLiteral("--comment");
const QString GenreOption = QStringLiteral("--genre");
const QString TrackOption = QStringLiteral("--track");

std::optional<QString> Value(const Arguments &parsed, const QString &option)
{
    if (!parsed.has(option))
        return std::nullopt;
    return parsed.value(option);
}

// The edits from the command line, or an error that stops before any file.
QString ReadEdits(const Arguments &parsed, TagEdits &edits)
{
    if (!parsed.error.isEmpty())
        return parsed.error;
    edits.title = Value(parsed, TitleOption);
    edits.artist = Value(parsed, ArtistOption);
    edits.album = Value(parsed, AlbumOption);
    edits.year = Value(parsed, YearOption);
    edits.comment = Value(parsed, CommentOption);
    QString error;
    if (parsed.has(GenreOption)) {
        QString field;
        if (!ParseGenre(parsed.value(GenreOption), field, error))
            return error;
        edits.genre = field;
    }
    if (parsed.has(TrackOption)) {
        int track = 0;
        if (!ParseTrack(parsed.value(TrackOption), track, error))
            return error;
        edits.track = track;
    }
    if (edits.empty())
        return QStringLiteral("nothing to set; give at least one of --title, --artist, --album, "
                              "--year, --comment, --genre, --track");
    return QString();
}

// Why a file was not written, and whether it may be damaged.
QString FailureReason(const TagEditOutcome &outcome)
{
    const QString reason = FileErrorText(outcome.error);
    if (!outcome.restored)
        return reason + QStringLiteral("; putting the old tag back failed too, check the file");
    return reason;
}

} // namespace

int RunSet(const QByteArrayList &args)
{
    const Arguments parsed = ParseArguments(args,
                                            {TitleOption, ArtistOption, AlbumOption, YearOption,
                                             CommentOption, GenreOption, TrackOption, JobsOption},
                                            {});
    TagEdits edits;
    int parsedJobs = 0;
    QString error = ReadEdits(parsed, edits);
    if (error.isEmpty())
        error = ParseJobs(parsed, parsedJobs);
    if (!error.isEmpty()) {
        PrintError(QStringLiteral("set: ") + error);
        return ExitUsage;
    }
    for (const QString &warning : EditWarnings(edits))
        PrintError(warning);

    // Journal every file's current state first, with one flush before the
    // first file is touched. The edits themselves are made on the trailer as
    // each file holds it at its write, under its lock: only the fields given
    // change, whatever another writer did meanwhile.
    // The states are read many at a time too, as on a cold cache that is
    // where the time goes.
    int status = ExitSuccess;
    const int jobs = parsedJobs > 0 ? parsedJobs : DeviceJobs(parsed.files.first());
    QVector<JournalRecord> prepared(parsed.files.size());
    QVector<int> prepareErrors(parsed.files.size());
    JournalRecord *preparedAt = prepared.data();
    int *prepareErrorAt = prepareErrors.data();
    QList<FilePath> files;
    QVector<JournalRecord> changes;
    RunInOrder(
        parsed.files.size(), jobs,
        [&](qsizetype i) {
            if (!ChangeJournal::prepareWrite(parsed.files.at(i), preparedAt[i]))
                prepareErrorAt[i] = errno ? errno : EIO;
        },
        [&](qsizetype i) {
            if (prepareErrors.at(i)) {
                PrintFileError(parsed.files.at(i), SystemReason(prepareErrors.at(i)));
                status = ExitFileFailed;
                return;
            }
            files.append(parsed.files.at(i));
            changes.append(prepared.at(i));
        },
        [] { return false; });
    prepared.clear();
    if (files.isEmpty())
        return status;
    ChangeJournal journal(ChangeJournal::defaultFolder());
    if (!journal.record(changes))
        PrintError(
            QStringLiteral("journal: %1; these changes cannot be undone").arg(journal.error()));

    const TagEditor apply = [&edits](const FileState &, Id3v1Tag &tag) {
        ApplyEdits(edits, tag);
        return true;
    };
    // Each file is written and flushed under its own lock; many flushes in
    // flight take little longer than one. Results come out in file order.
    QVector<TagEditOutcome> outcomes(files.size());
    TagEditOutcome *outcome = outcomes.data();
    JournalRecord *change = changes.data();
    const auto work = [&](qsizetype i) {
        outcome[i] = JournaledEditTag(journal, files.at(i), apply, &change[i]);
    };
    QList<FilePath> untouched;
    const auto report = [&](qsizetype i) {
        if (outcome[i].written) {
            // Each line at once: the other threads run ahead, and a reader
            // that went away must stop them before they reach many more.
            PrintOut(TerminalSafe(DisplayPath(files.at(i))).toUtf8() + ": tag written\n");
        } else if (outcome[i].error == EINTR && StopRequested()) {
            untouched.append(files.at(i)); // stopped while waiting for its lock
        } else {
            PrintFileError(files.at(i), FailureReason(outcome[i]));
            status = ExitFileFailed;
        }
    };
    const qsizetype started = RunInOrder(files.size(), jobs, work, report, StopRequested);
    journal.flush();
    untouched += files.mid(started);
    if (!untouched.isEmpty())
        return ReportStopped(untouched, 0);
    return status;
}
