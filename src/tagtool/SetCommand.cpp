#include "Arguments.h"
#include "Commands.h"
#include "Console.h"
#include "TagWrites.h"

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

    const auto shared = std::make_shared<const TagEdits>(edits);
    QVector<TagChange> changes;
    changes.reserve(parsed.files.size());
    for (const FilePath &file : parsed.files)
        changes.append({file, shared});
    return WriteTagChanges(changes, parsedJobs);
}
