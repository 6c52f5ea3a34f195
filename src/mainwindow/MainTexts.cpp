#include "MainTexts.h"

const char *const MakerHost = "www.brelko.example.org";
const char *const FileNamePrefix = "Bestand ..............: ";
const char *const FileDatePrefix = "Date ...................: ";
const char *const FilePathPrefix = "Pathname ...........: ";

QString TimeFormatWithoutZone(const QString &format)
{
    QString result;
    bool quoted = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted; // a doubled quote flips twice and stays literal
            result += c;
            continue;
        }
        if (quoted || c != QLatin1Char('t')) {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t'))
            ++i;
        // Drop the blank that joined the zone to the rest, on whichever side.
        if (result.endsWith(QLatin1Char(' ')))
            result.chop(1);
        else if (i + 1 < format.size() && format.at(i + 1) == QLatin1Char(' '))
            ++i;
    }
    return result.trimmed();
}

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

QString DateTimeText(const QDateTime &dateTime, const QLocale &locale)
{
    QString text = locale.toString(dateTime.date(), QLocale::ShortFormat);
    const QTime time = dateTime.time();
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text += QLatin1Char(' ') + locale.toString(time, TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
    return text;
}

QString DateSizeLine(const QDateTime &lastModified, qint64 size, const QLocale &locale)
{
    return DateTimeText(lastModified, locale) + QStringLiteral(" / Grootte : ") +
           QString::number(size) + QStringLiteral(" Bytes");
}

QString DateSizeLine(const QFileInfo &file, const QLocale &locale)
{
    QFileInfo fresh(file);
    fresh.refresh();
    if (!fresh.exists())
        return QString();
    return DateSizeLine(fresh.lastModified(), fresh.size(), locale);
}
