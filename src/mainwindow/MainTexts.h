#pragma once

#include <optional>
#include <QDateTime>
#include <QLocale>
#include <QString>

// Texts of the main window that do not need a window to be worked out.

// The maker's web host; the welcome text, the title line and the software
// page all name it.
extern const char *const MakerHost;

// The maker's software page: "https://" + MakerHost + "/software.htm".
QString SoftwarePageUrl();

// The clock label: hours without a leading zero (24-hour), minutes and
// seconds in two digits, then one blank: "9:05:07 ".
QString ClockText(const QTime &time);

// What the title line shows at this moment, or nothing when it is to keep
// its text (seconds 42 to 59 of each minute).
std::optional<QString> TitleLineText(const QDateTime &now, const QLocale &locale);

// Prefixes of the three information lines.
extern const char *const FileNamePrefix;
extern const char *const FileDatePrefix;
extern const char *const FilePathPrefix;
