#pragma once

#include <QString>
#include <QStringList>

constexpr int GenreCount = 126;
constexpr int OtherGenre = 12; // what an unknown genre name is stored as

// The 126 genre names indexed by genre number.
const QStringList &GenreTable();

// The name for a genre field: the code-page value of its first character is
// the genre number (an empty field counts as 255); numbers beyond the table
// give "Unknown Genre Entry".
QString GenreName(const QString &field);

// The genre field for a name: the first exact, case-sensitive match in the
// table, or genre 12 ("Other") when nothing matches.
QString GenreCode(const QString &name);

// The genre number of a field (0..255), as GenreName reads it.
int GenreNumber(const QString &field);

extern const char *const UnknownGenreName;
