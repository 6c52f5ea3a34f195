#include "DateSizeText.h"

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

QString LocalDateTimeText(const QDateTime &when, const QLocale &locale)
{
    const QDateTime local = when.toLocalTime();
    const QString date = locale.toString(local.date(), QLocale::ShortFormat);
    const QTime time = local.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    const QString format = TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat));
    return date + QLatin1Char(' ') + locale.toString(time, format);
}

QString FileDateSizeText(const QFileInfo &file, const QLocale &locale)
{
    QFileInfo fresh(file);
    fresh.refresh();
    return LocalDateTimeText(fresh.lastModified(), locale) + QStringLiteral(" / Grootte : ") +
           QString::number(fresh.size()) + QStringLiteral(" Bytes");
}
