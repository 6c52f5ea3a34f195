#include "FileTexts.h"

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

QString DateTimeText(const QDateTime &dateTime, const QLocale &locale)
{
    QString text = locale.toString(dateTime.date(), QLocale::ShortFormat);
    const QTime time = dateTime.time();
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
        text +=
            QLatin1Char(' ') +
            locale.toString(time, TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
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
