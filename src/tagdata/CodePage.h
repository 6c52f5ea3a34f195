#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the single-byte code page that ID3v1 trailers are written in
// on the systems this program's users come from. Every byte 0..255 decodes to
// exactly one character and encodes back to the same byte, including the five
// bytes the code page leaves undefined (they map to the C1 controls, as the
// Windows conversion does).

QChar DecodeCodePageByte(unsigned char byte);
QString DecodeCodePage(const QByteArray &bytes);

// A character the code page cannot represent becomes '?' (0x3F). A character
// outside the Basic Multilingual Plane (a surrogate pair) becomes one '?'.
// *lossless, when given, tells whether every character was representable.
QByteArray EncodeCodePage(const QString &text, bool *lossless = nullptr);

// The byte for one UTF-16 unit, or -1 when the code page has none.
int EncodeCodePageChar(QChar c);
