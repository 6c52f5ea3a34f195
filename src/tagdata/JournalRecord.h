#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// What a file looked like at one moment: enough to tell later whether anyone
// touched it since.
struct FileState {
    qint64 size = -1; // -1: the file could not be examined
    qint64 mtimeNs = 0;
    QByteArray trailer; // its last 128 bytes; empty when it is shorter

    bool operator==(const FileState &other) const
    {
        return size == other.size && mtimeNs == other.mtimeNs && trailer == other.trailer;
    }
    bool operator!=(const FileState &other) const { return !(*this == other); }
};

// Reads the state of a regular file. False (with errno set) when it cannot be
// opened or is not a regular file.
bool ReadFileState(const QString &path, FileState &state);

// One line of the change journal.
//  Write   a tag write is about to happen: the file, its length and trailer.
//  Rename  a rename is about to happen: folder, old and new name.
//  Done    the change with this id was made and left the file as `state`.
//  Undone  the change with this id was taken back, leaving `state`.
struct JournalRecord {
    enum class Type : char { Write = 'W', Rename = 'R', Done = 'D', Undone = 'U' };
    Type type = Type::Write;
    quint64 id = 0;
    QString path; // Write: the file; Rename: the folder
    QString oldName;
    QString newName;
    FileState state; // Write: before the change; Done/Undone: after it

    bool isChange() const { return type == Type::Write || type == Type::Rename; }
};

// One line, newline included, guarded by a checksum so that a torn or
// damaged line is recognised and skipped.
QByteArray EncodeRecord(const JournalRecord &record);
// False for anything that is not a whole, undamaged line.
bool DecodeRecord(const QByteArray &line, JournalRecord &record);
// Every undamaged record of a journal segment, in order.
QVector<JournalRecord> DecodeRecords(const QByteArray &segment);

quint32 Crc32(const QByteArray &data);
