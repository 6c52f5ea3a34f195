#pragma once

#include "SafeFile.h"
#include "TagEdits.h"

#include <QVector>

#include <memory>

// One file and the fields to change in its trailer; a batch that sets the
// same fields everywhere shares one set of edits.
struct TagChange {
    FilePath file;
    std::shared_ptr<const TagEdits> edits;
};

// Writes each file's trailer the way every brelko-tag write goes: all files
// are journalled with one flush before the first is touched; then each is
// edited and flushed under its own lock, `jobs` at a time (0: as the device
// suits), changing only the fields its edits give on the trailer as the
// file holds it then. Ctrl-C stops between files. Prints "FILE: tag
// written" in file order and the reason for each failure. Returns the exit
// status.
int WriteTagChanges(const QVector<TagChange> &changes, int jobs);
