#pragma once

#include "Id3v1Tag.h"

#include <optional>
#include <QString>
#include <QStringList>

// The fields `brelko-tag set` was asked to change; the others stay as the
// file has them.
struct TagEdits {
    std::optional<QString> title, artist, album, year, comment;
    std::optional<QString> genre; // the one-character field
    std::optional<int> track;     // 0 removes it

    bool empty() const
    {
        return !title && !artist && !album && !year && !comment && !genre && !track;
    }
};

// Widths a comment keeps: all 30 characters, or 28 beside a track number.
constexpr int CommentWithTrackWidth = Id3v1Tag::CommentWithTrackWidth;

// A genre given as a number (0..255) or as a name exactly as in the table.
// False with a reason otherwise.
bool ParseGenre(const QString &text, QString &field, QString &error);
// A track number 0..255. False with a reason otherwise.
bool ParseTrack(const QString &text, int &track, QString &error);

// What the user should know about the values before anything is written:
// values longer than their field, characters outside the code page. Each
// names the field after prefix: "--title" for options, "title" for a fill.
QStringList EditWarnings(const TagEdits &edits, const QString &prefix = QStringLiteral("--"));

// Applies the edits to a tag read from a file, with the window's rule for
// each field (left-aligned, padded with spaces, cut to the width).
void ApplyEdits(const TagEdits &edits, Id3v1Tag &tag);
