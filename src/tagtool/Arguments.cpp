#include "Arguments.h"

#include <QFile>

Arguments ParseArguments(const QByteArrayList &args, const QStringList &valueOptions,
                         const QStringList &flagOptions, bool allowNoFiles)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        if (optionsEnded || !args.at(i).startsWith('-') || args.at(i) == "-") {
            parsed.files.append(args.at(i));
            continue;
        }
        const QString arg = QFile::decodeName(args.at(i));
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const int equals = arg.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? arg : arg.left(equals);
        if (valueOptions.contains(name)) {
            if (equals >= 0) {
                parsed.values.insert(name, args.at(i).mid(args.at(i).indexOf('=') + 1));
            } else if (i + 1 < args.size()) {
                parsed.values.insert(name, args.at(++i));
            } else {
                parsed.error = QStringLiteral("%1 needs a value").arg(name);
                return parsed;
            }
        } else if (flagOptions.contains(arg)) {
            if (!parsed.flags.contains(arg))
                parsed.flags.append(arg);
        } else {
            parsed.error = QStringLiteral("unknown option %1").arg(arg);
            return parsed;
        }
    }
    if (parsed.files.isEmpty() && !allowNoFiles)
        parsed.error = QStringLiteral("no files given");
    return parsed;
}

const QString JobsOption = QStringLiteral("--jobs");

QString ParseJobs(const Arguments &parsed, int &jobs)
{
    constexpr int maxJobs = 1024;
    jobs = 0;
    if (!parsed.has(JobsOption))
        return QString();
    bool ok = false;
    jobs = parsed.value(JobsOption).toInt(&ok);
    if (ok && jobs >= 1 && jobs <= maxJobs)
        return QString();
    jobs = 0;
    return QStringLiteral("--jobs must be a number from 1 to %1").arg(maxJobs);
}
