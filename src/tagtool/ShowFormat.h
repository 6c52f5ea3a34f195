#pragma once

#include "Id3v1Tag.h"

#include <QByteArray>
#include <QString>

// How `brelko-tag show` prints one file. Every function returns whole lines
// in UTF-8. `tag` is nullptr for a file without a trailer.
enum class ShowStyle { Text, Json, Csv };

QByteArray ShowHeader(ShowStyle style);
QByteArray ShowFile(ShowStyle style, const QString &file, const Id3v1Tag *tag);
// The same lines straight from a file's last 128 bytes (empty when it is
// shorter), without building the tag first: `show` lists thousands of files.
QByteArray ShowTrailer(ShowStyle style, const QString &file, const QByteArray &trailer);

// A field as the window shows it: up to its first zero character, without
// leading and trailing spaces.
QString ShownField(const QString &field);

// Text from a tag made safe for a terminal: control characters, which a
// hostile tag could use to drive the terminal, become "?".
QString TerminalSafe(const QString &text);

QByteArray JsonString(const QString &text);
QByteArray CsvCell(const QString &text);
