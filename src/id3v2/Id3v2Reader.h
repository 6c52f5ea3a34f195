#pragma once

#include "SafeFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The texts of a file's ID3v2 tag that an ID3v1 trailer has room for, as the
// tag holds them: nothing is cut or mapped here. An absent frame gives an
// empty text or list.
struct Id3v2Texts {
    QString version; // "2.2", "2.3" or "2.4"
    QString title, artist, album;
    QStringList dates;  // recording time, then year, as written
    QString comment;    // the first comment meant for people
    QString track;      // "3/12"
    QStringList genres; // each value of the content type: "(17)Rock", "Rock", "17"
};

// Parses the tag that opens `head`, the first bytes of a file (a tag cut
// short is read as far as it goes). False when head does not begin with an
// ID3v2 tag. Never writes anywhere: the bytes are parsed from memory.
bool ParseId3v2(const QByteArray &head, Id3v2Texts &texts);

// Damaged: the file ends before the tag does. Its last frame would be read
// cut short, so none of it is trusted.
enum class Id3v2Read { Tag, NoTag, Damaged, Failed };

// Reads the tag at the start of the file. The file is opened read-only and
// never blocks (a FIFO or device is refused); Failed leaves errno set.
Id3v2Read ReadId3v2(const FilePath &path, Id3v2Texts &texts);
