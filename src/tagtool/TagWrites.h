#pragma once

#include "TagEdits.h"

#include <QString>
#include <QVector>

// One file and the fields to change in its trailer.
struct TagChange {
    QString file;
    TagEdits edits;
};

// Writes each file's edited trailer the way every brelko-tag write goes:
// each file's state is read and all of them are recorded in the journal with
// one flush before the first is touched; a file without a trailer gets one;
// Ctrl-C stops between two files. Prints "FILE: tag written" for each file
// done and the reason for each that failed. Returns the exit status.
int WriteTagChanges(const QVector<TagChange> &changes);
