#include "NamePattern.h"

namespace {

const QStringList &FieldNames()
{
    static const QStringList names = {
        QStringLiteral("title"), QStringLiteral("artist"),  QStringLiteral("album"),
        QStringLiteral("year"),  QStringLiteral("comment"), QStringLiteral("genre"),
        QStringLiteral("track"),
    };
    return names;
}

// Numbers take only digits, so "%track%%title%" splits "03Intro" sensibly.
QString Capture(const QString &field)
{
    if (field == QLatin1String("track"))
        return QStringLiteral("([0-9]+)");
    if (field == QLatin1String("year"))
        return QStringLiteral("([0-9]{4})");
    return QStringLiteral("(.+?)");
}

void Assign(const QString &field, const QString &text, FillValues &values)
{
    TagEdits &edits = values.edits;
    const QString value = FieldValue(text);
    if (field == QLatin1String("track"))
        AddTrack(value, values);
    else if (field == QLatin1String("genre"))
        AddGenre({value}, values);
    else if (value.isEmpty())
        return;
    else if (field == QLatin1String("title"))
        edits.title = value;
    else if (field == QLatin1String("artist"))
        edits.artist = value;
    else if (field == QLatin1String("album"))
        edits.album = value;
    else if (field == QLatin1String("year"))
        edits.year = value;
    else if (field == QLatin1String("comment"))
        edits.comment = value;
}

} // namespace

bool NamePattern::parse(const QString &pattern, QString &error)
{
    fields_.clear();
    if (pattern.contains(QLatin1Char('/'))) {
        error = QStringLiteral("the pattern is matched against file names, which hold no \"/\"");
        return false;
    }
    QString regex = QStringLiteral("^");
    int at = 0;
    while (at < pattern.size()) {
        const int open = int(pattern.indexOf(QLatin1Char('%'), at));
        const int close = open < 0 ? -1 : int(pattern.indexOf(QLatin1Char('%'), open + 1));
        if (close < 0) {
            regex += QRegularExpression::escape(pattern.mid(at));
            break;
        }
        const QString field = pattern.mid(open + 1, close - open - 1);
        if (!FieldNames().contains(field)) {
            error = QStringLiteral("unknown placeholder \"%%1%\"; the placeholders are %%2%")
                        .arg(field, FieldNames().join(QLatin1String("% %")));
            return false;
        }
        if (fields_.contains(field)) {
            error = QStringLiteral("placeholder \"%%1%\" stands twice").arg(field);
            return false;
        }
        regex += QRegularExpression::escape(pattern.mid(at, open - at)) + Capture(field);
        fields_.append(field);
        at = close + 1;
    }
    if (fields_.isEmpty()) {
        error = QStringLiteral("the pattern has no placeholder such as %title%");
        return false;
    }
    expression_.setPattern(regex + QLatin1Char('$'));
    expression_.setPatternOptions(QRegularExpression::DotMatchesEverythingOption);
    return true;
}

QString NamePattern::stem(const QString &path)
{
    const QString name = path.section(QLatin1Char('/'), -1);
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    return dot > 0 ? name.left(dot) : name;
}

bool NamePattern::match(const QString &path, FillValues &values) const
{
    values = FillValues();
    const QRegularExpressionMatch found = expression_.match(stem(path));
    if (!found.hasMatch())
        return false;
    for (int i = 0; i < fields_.size(); ++i)
        Assign(fields_.at(i), found.captured(i + 1), values);
    return true;
}
