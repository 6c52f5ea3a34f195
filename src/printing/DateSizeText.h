#pragma once

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QString>

// A file's last change as the user's locale writes a date and time: the
// short date, a space and the time with seconds but without a time-zone
// name. At exactly midnight (to the second) only the date is written.
QString LocalDateTimeText(const QDateTime &when, const QLocale &locale = QLocale());

// The date and size of a file as the tag view and the printed report show
// them: "<date and time> / Grootte : <bytes> Bytes", the size in plain
// digits. Reads the file system afresh; the caller checks that the file exists.
QString FileDateSizeText(const QFileInfo &file, const QLocale &locale = QLocale());

// The locale's long time format with its time-zone name ('t') removed, and
// the blank that separated it. Quoted literal text is kept as it is.
QString TimeFormatWithoutZone(const QString &format);
