#pragma once

#include "TagEdits.h"

#include <QStringList>

struct Id3v2Texts;

// What one file's source (its ID3v2 tag or its name) gives to fill its
// trailer with: only the fields the source has, and what could not be used.
struct FillValues {
    TagEdits edits;
    QStringList notes; // "genre \"Krautrock\" is not an ID3v1 genre; the file's genre is kept"
};

// Text as a field takes it: composed characters (an "e" with a separate
// accent would otherwise become "e?"), control characters as blanks, no
// blanks at either end.
QString FieldValue(const QString &text);

// "3", "03", "3/12" give 3. -1 for anything else, and for 0 or beyond 255.
int TrackNumber(const QString &text);

// The genre number 0..125 of the first value that names one: "(17)", "17",
// "Rock", "(17)Rock", "(RX)(17)", names in any case and the usual spellings
// of the table's odd ones. -1 when none does.
int GenreNumberOf(const QStringList &values);

// The first four digits in a row of the first date that has them.
QString YearOf(const QStringList &dates);

// Each adds its field when the text is usable and a note when it is not.
void AddTrack(const QString &text, FillValues &values);
void AddGenre(const QStringList &texts, FillValues &values);

FillValues ValuesFromId3v2(const Id3v2Texts &texts);
