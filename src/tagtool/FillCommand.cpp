#include "Arguments.h"
#include "Commands.h"
#include "Console.h"
#include "Genres.h"
#include "Id3v2Reader.h"
#include "NamePattern.h"
#include "ShowFormat.h"
#include "TagFile.h"
#include "TagWrites.h"

namespace {

const QString FromV2Option = QStringLiteral("--from-v2");
const QString FromNameOption = QStringLiteral("--from-name");
const QString DryRunOption = QStringLiteral("--dry-run");

// Where the fields come from: the file's ID3v2 tag, or its name.
struct FillSource {
    bool fromV2 = false;
    QString patternText;
    NamePattern pattern;

    // The file's values, or false after saying why it is left alone.
    bool read(const FilePath &file, FillValues &values) const
    {
        if (!fromV2) {
            if (pattern.match(DisplayPath(file), values))
                return true;
            PrintFileError(
                file,
                QStringLiteral("the name does not match \"%1\"; left alone").arg(patternText));
            return false;
        }
        Id3v2Texts texts;
        switch (ReadId3v2(file, texts)) {
        case Id3v2Read::Failed:
            PrintFileError(file, SystemReason());
            return false;
        case Id3v2Read::NoTag:
            PrintFileError(file, QStringLiteral("no ID3v2 tag; left alone"));
            return false;
        case Id3v2Read::Damaged:
            PrintFileError(file, QStringLiteral("the ID3v2 tag is cut short; left alone"));
            return false;
        case Id3v2Read::Tag:
            break;
        }
        values = ValuesFromId3v2(texts);
        return true;
    }
};

QString ReadSource(const Arguments &parsed, FillSource &source)
{
    if (!parsed.error.isEmpty())
        return parsed.error;
    source.fromV2 = parsed.flag(FromV2Option);
    if (source.fromV2 == parsed.has(FromNameOption))
        return QStringLiteral("give either --from-v2 or --from-name PATTERN");
    if (source.fromV2)
        return QString();
    source.patternText = parsed.value(FromNameOption);
    QString error;
    source.pattern.parse(source.patternText, error);
    return error;
}

QByteArray Quoted(const QString &field)
{
    return '"' + TerminalSafe(FieldText(field).trimmed()).toUtf8() + '"';
}

QByteArray GenreText(const Id3v1Tag &tag)
{
    return GenreName(tag.Genre).toUtf8() + " (" + QByteArray::number(GenreNumber(tag.Genre)) + ')';
}

QByteArray TrackText(const Id3v1Tag &tag)
{
    return tag.track() ? QByteArray::number(tag.track()) : QByteArray("none");
}

// The old and new value of each field the source gives, the new one exactly
// as it would be written.
QByteArray Preview(const FilePath &file, const TagEdits &edits)
{
    FileState state;
    if (!ReadFileState(file, state)) {
        PrintFileError(file, SystemReason());
        return QByteArray();
    }
    Id3v1Tag before;
    if (state.trailer.startsWith("TAG"))
        before = Id3v1Tag::parse(state.trailer);
    Id3v1Tag after = before;
    ApplyEdits(edits, after);
    after = Id3v1Tag::parse(after.render());

    QByteArray out = TerminalSafe(DisplayPath(file)).toUtf8() + ":\n";
    const auto line = [&out](const char *label, const QByteArray &old, const QByteArray &now) {
        out += QByteArray("  ") + label + old + " -> " + now + '\n';
    };
    if (edits.title)
        line("Title:   ", Quoted(before.Title), Quoted(after.Title));
    if (edits.artist)
        line("Artist:  ", Quoted(before.Artist), Quoted(after.Artist));
    if (edits.album)
        line("Album:   ", Quoted(before.Album), Quoted(after.Album));
    if (edits.year)
        line("Year:    ", Quoted(before.Year), Quoted(after.Year));
    if (edits.comment)
        line("Comment: ", Quoted(before.Comment), Quoted(after.Comment));
    if (edits.genre)
        line("Genre:   ", GenreText(before), GenreText(after));
    if (edits.track)
        line("Track:   ", TrackText(before), TrackText(after));
    return out;
}

} // namespace

int RunFill(const QByteArrayList &args)
{
    const Arguments parsed =
        ParseArguments(args, {FromNameOption, JobsOption}, {FromV2Option, DryRunOption});
    FillSource source;
    int jobs = 0;
    QString error = ReadSource(parsed, source);
    if (error.isEmpty())
        error = ParseJobs(parsed, jobs);
    if (!error.isEmpty()) {
        PrintError(QStringLiteral("fill: ") + error);
        return ExitUsage;
    }
    const bool dryRun = parsed.flag(DryRunOption);
    int status = ExitSuccess;
    QVector<TagChange> changes;
    QByteArray preview;
    const QList<FilePath> &files = parsed.files;
    for (int i = 0; i < files.size(); ++i) {
        if (StopRequested()) {
            // Files are written only once all are read: none of them was.
            PrintOut(preview);
            return ReportStopped(files, dryRun ? i : 0);
        }
        const FilePath &file = files.at(i);
        FillValues values;
        if (!source.read(file, values)) {
            status = ExitFileFailed;
            continue;
        }
        for (const QString &note : values.notes + EditWarnings(values.edits, QString()))
            PrintFileError(file, note);
        if (values.edits.empty()) {
            PrintFileError(file, QStringLiteral("nothing to fill in; left alone"));
            status = ExitFileFailed;
            continue;
        }
        if (!dryRun) {
            changes.append({file, std::make_shared<const TagEdits>(values.edits)});
            continue;
        }
        const QByteArray lines = Preview(file, values.edits);
        if (lines.isEmpty())
            status = ExitFileFailed;
        preview += lines;
    }
    PrintOut(preview);
    if (dryRun || changes.isEmpty())
        return status;
    return qMax(status, WriteTagChanges(changes, jobs));
}
