#pragma once

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QString>

// How a file's date and size are written, the same in the window and on the
// printed report.

// A date and time as the user's locale writes them: its short date, a blank,
// then hours, minutes and seconds in its time format without a time zone.
// The time is left out at exactly midnight.
QString DateTimeText(const QDateTime &dateTime, const QLocale &locale);

// The locale's long time format names the time zone ("t", "tt", ...); the
// information line never did, so those tokens and the blank that joined them
// go. Quoted literal text is kept.
QString TimeFormatWithoutZone(const QString &format);

// "date time / Grootte : N Bytes" for a file, as the information line shows
// it. Empty when the file cannot be looked at (it vanished since listing).
QString DateSizeLine(const QFileInfo &file, const QLocale &locale = QLocale::system());
QString DateSizeLine(const QDateTime &lastModified, qint64 size,
                     const QLocale &locale = QLocale::system());
