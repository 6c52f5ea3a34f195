#pragma once

#include "TagFile.h"

#include <QByteArray>
#include <QVector>

// One line of the change journal.
//  Write   a tag write is about to happen: the file, its length and trailer.
//  Rename  a rename is about to happen: folder, old and new name.
//  Done    the change with this id was made and left the file as `state`.
//  Undone  the change with this id was taken back, leaving `state`.
struct JournalRecord {
    enum class Type : char { Write = 'W', Rename = 'R', Done = 'D', Undone = 'U' };
    Type type = Type::Write;
    quint64 id = 0;
    // Bytes as the kernel takes them, absolute, resolved as the kernel
    // resolved them when the change was made.
    FilePath path; // Write: the file; Rename: the folder
    FilePath oldName;
    FilePath newName;
    FileState state; // Write: before the change; Done/Undone: after it

    static bool isChange(Type type) { return type == Type::Write || type == Type::Rename; }
    bool isChange() const { return isChange(type); }
};

// One line, newline included, guarded by a checksum so that a torn or
// damaged line is recognised and skipped.
QByteArray EncodeRecord(const JournalRecord &record);
// False for anything that is not a whole, undamaged line.
bool DecodeRecord(const QByteArray &line, JournalRecord &record);
// Every undamaged record of a journal segment, in order.
QVector<JournalRecord> DecodeRecords(const QByteArray &segment);
// How many undamaged Write and Rename lines a segment holds.
int CountChangeLines(QByteArrayView lines);
