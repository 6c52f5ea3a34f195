#pragma once

#include <QByteArray>
#include <QString>

// How `brelko-tag show` prints one file. Output is UTF-8, in whole lines.
enum class ShowStyle { Text, Json, Csv };

QByteArray ShowHeader(ShowStyle style);

// Appends the lines for one file, straight from its last 128 bytes (a file
// shorter than that, or without the "TAG" marker, has no tag). `path` is the
// file's name as given, in bytes. id3v2Major is the version of the ID3v2 tag
// the file also holds (2, 3 or 4), 0 for none: players that read it show its
// texts rather than the trailer's.
void AppendShown(QByteArray &out, ShowStyle style, const QByteArray &path,
                 const QByteArray &trailer, int id3v2Major = 0);

// UTF-8 text made fit for one style: for Text and Csv every control
// character, which a hostile tag or file name could use to drive a terminal,
// becomes "?"; Json escapes them. Csv also quotes the cell when needed and
// puts an apostrophe before what a spreadsheet would take for a formula.
QByteArray ShownText(ShowStyle style, const QByteArray &utf8);

// The same terminal rule for messages built as strings.
QString TerminalSafe(const QString &text);
