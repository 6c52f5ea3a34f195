#pragma once

#include <QByteArray>
#include <QString>

// The 10-byte header that opens an ID3v2 tag at the start of a file. Enough
// to tell that a tag is there, which version it is and how many bytes it
// takes, without parsing any of it.
struct Id3v2Header {
    static constexpr int Size = 10;

    int major = 0; // 2, 3 or 4
    int revision = 0;
    quint8 flags = 0;
    quint32 bodySize = 0; // after the header, without a footer

    // False unless the bytes begin with a well-formed header of version 2.2,
    // 2.3 or 2.4.
    bool parse(const char *bytes, qsizetype size);
    bool parse(const QByteArray &bytes) { return parse(bytes.constData(), bytes.size()); }

    // The bytes from the start of the file to the end of the tag.
    qint64 tagSize() const;
    // "2.3"
    QString version() const { return QStringLiteral("2.%1").arg(major); }
};
