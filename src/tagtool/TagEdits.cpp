#include "TagEdits.h"

#include "CodePage.h"
#include "Genres.h"

namespace {

void Warn(QStringList &warnings, const QString &prefix, const char *field,
          const std::optional<QString> &value, int width)
{
    if (!value)
        return;
    const QString option = prefix + QLatin1String(field);
    if (value->size() > width)
        warnings.append(
            QStringLiteral("%1: only the first %2 characters are written").arg(option).arg(width));
    bool lossless = true;
    EncodeCodePage(value->left(width), &lossless);
    if (!lossless)
        warnings.append(
            QStringLiteral("%1: characters outside Windows-1252 are written as \"?\"").arg(option));
}

QString Spaces(int count)
{
    return QString(count, QLatin1Char(' '));
}

} // namespace

bool ParseGenre(const QString &text, QString &field, QString &error)
{
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber) {
        if (number < 0 || number > 255) {
            error = QStringLiteral("genre number %1 is not between 0 and 255").arg(text);
            return false;
        }
        field = QString(DecodeCodePageByte(uchar(number)));
        return true;
    }
    if (GenreTable().contains(text)) {
        field = GenreCode(text);
        return true;
    }
    error = QStringLiteral("unknown genre \"%1\"").arg(text);
    for (const QString &name : GenreTable()) {
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            error += QStringLiteral(" (did you mean \"%1\"?)").arg(name);
    }
    return false;
}

bool ParseTrack(const QString &text, int &track, QString &error)
{
    bool ok = false;
    track = text.toInt(&ok);
    if (!ok || track < 0 || track > 255) {
        error = QStringLiteral("track \"%1\" is not a number between 0 and 255").arg(text);
        return false;
    }
    return true;
}

QStringList EditWarnings(const TagEdits &edits, const QString &prefix)
{
    QStringList warnings;
    const bool withTrack = edits.track && *edits.track > 0;
    Warn(warnings, prefix, "title", edits.title, Id3v1Tag::TitleWidth);
    Warn(warnings, prefix, "artist", edits.artist, Id3v1Tag::ArtistWidth);
    Warn(warnings, prefix, "album", edits.album, Id3v1Tag::AlbumWidth);
    Warn(warnings, prefix, "year", edits.year, Id3v1Tag::YearWidth);
    Warn(warnings, prefix, "comment", edits.comment,
         withTrack ? CommentWithTrackWidth : Id3v1Tag::CommentWidth);
    return warnings;
}

void ApplyEdits(const TagEdits &edits, Id3v1Tag &tag)
{
    if (edits.title)
        AssignField(tag.Title, *edits.title, Id3v1Tag::TitleWidth);
    if (edits.artist)
        AssignField(tag.Artist, *edits.artist, Id3v1Tag::ArtistWidth);
    if (edits.album)
        AssignField(tag.Album, *edits.album, Id3v1Tag::AlbumWidth);
    if (edits.year)
        AssignField(tag.Year, *edits.year, Id3v1Tag::YearWidth);
    if (edits.genre)
        tag.Genre = *edits.genre;

    if (edits.track && *edits.track > 0) {
        // The text part: the new comment, or what the old one holds before
        // its track bytes.
        QString text;
        AssignField(text, edits.comment ? *edits.comment : tag.Comment, CommentWithTrackWidth);
        tag.Comment = text + QChar(0) + DecodeCodePageByte(uchar(*edits.track));
        return;
    }
    if (edits.comment)
        AssignField(tag.Comment, *edits.comment, Id3v1Tag::CommentWidth);
    // No track: the comment's last two bytes become zeros where they would
    // otherwise hold one, or be blanks that the write fills with the old one.
    const bool trackBytes = tag.Comment.at(CommentWithTrackWidth).unicode() == 0;
    const bool blankEnd = tag.Comment.endsWith(Spaces(2));
    if (edits.track && (trackBytes || blankEnd))
        tag.Comment = tag.Comment.left(CommentWithTrackWidth) + QString(2, QChar(0));
}
