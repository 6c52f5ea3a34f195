#include "MainTexts.h"

const char *const MakerHost = "www.brelko.example.org";
const char *const FileNamePrefix = "Bestand ..............: ";
const char *const FileDatePrefix = "Date ...................: ";
const char *const FilePathPrefix = "Pathname ...........: ";

QString SoftwarePageUrl()
{
    return QStringLiteral("https://") + QLatin1String(MakerHost) + QStringLiteral("/software.htm");
}

QString ClockText(const QTime &time)
{
    return QStringLiteral("%1:%2:%3 ")
        .arg(time.hour())
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

std::optional<QString> TitleLineText(const QDateTime &now, const QLocale &locale)
{
    switch (now.time().second() / 6) {
    case 0:
        return locale.toString(now.date(), QLocale::ShortFormat);
    case 1:
        return QStringLiteral("Gratis software");
    case 2:
        return QStringLiteral("en de website voor");
    case 3:
        return QStringLiteral("filatelisten");
    case 4:
        return QStringLiteral("en programmeurs op");
    case 5:
        return QString::fromLatin1(MakerHost);
    case 6:
        return QStringLiteral("Brelko");
    default:
        return std::nullopt;
    }
}
