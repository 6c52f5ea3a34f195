#include "Arguments.h"
#include "ChangeJournal.h"
#include "Commands.h"
#include "Console.h"
#include "ShowFormat.h"
#include "TagEdits.h"
#include "TagFile.h"

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

// The tag to write: the file's own trailer with the edits applied, or a new
// one when it has none.
Id3v1Tag EditedTag(const JournalRecord &before, const TagEdits &edits)
{
    Id3v1Tag tag;
    if (before.state.trailer.startsWith("TAG"))
        tag = Id3v1Tag::parse(before.state.trailer);
    ApplyEdits(edits, tag);
    return tag;
}

} // namespace

int RunSet(const QByteArrayList &args)
{
    const Arguments parsed = ParseArguments(args,
                                            {TitleOption, ArtistOption, AlbumOption, YearOption,
                                             CommentOption, GenreOption, TrackOption},
                                            {});
    TagEdits edits;
    const QString error = ReadEdits(parsed, edits);
    if (!error.isEmpty()) {
        PrintError(QStringLiteral("set: ") + error);
        return ExitUsage;
    }
    for (const QString &warning : EditWarnings(edits))
        PrintError(warning);

    // Read every file's current state first, so the journal can take all of
    // them with one flush before the first file is touched.
    int status = ExitSuccess;
    QStringList files;
    QVector<JournalRecord> changes;
    for (const QString &file : parsed.fileNames()) {
        JournalRecord change;
        if (!ChangeJournal::prepareWrite(file, change)) {
            PrintFileError(file, SystemReason());
            status = ExitFileFailed;
            continue;
        }
        files.append(file);
        changes.append(change);
    }
    if (files.isEmpty())
        return status;
    ChangeJournal journal(ChangeJournal::defaultFolder());
    if (!journal.record(changes))
        PrintError(
            QStringLiteral("journal: %1; these changes cannot be undone").arg(journal.error()));

    QByteArray done;
    for (int i = 0; i < files.size(); ++i) {
        if (StopRequested()) {
            PrintOut(done);
            journal.flush();
            return ReportStopped(files, i);
        }
        Id3v1Tag tag = EditedTag(changes.at(i), edits);
        errno = 0;
        if (WriteTag(files.at(i), tag)) {
            journal.markDone(changes.at(i));
            done += TerminalSafe(files.at(i)).toUtf8() + ": tag written\n";
        } else {
            PrintOut(done);
            done.clear();
            PrintFileError(files.at(i), errno ? SystemReason() : QStringLiteral("cannot write"));
            status = ExitFileFailed;
        }
    }
    PrintOut(done);
    journal.flush();
    return status;
}
