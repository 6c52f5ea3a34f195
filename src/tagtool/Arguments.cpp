#include "Arguments.h"

#include <QFile>

QString Arguments::value(const QString &option) const
{
    return QFile::decodeName(values.value(option));
}

QStringList Arguments::fileNames() const
{
    QStringList names;
    names.reserve(files.size());
    for (const QByteArray &file : files)
        names.append(QFile::decodeName(file));
    return names;
}

Arguments ParseArguments(const QByteArrayList &args, const QStringList &valueOptions,
                         const QStringList &flagOptions, bool allowNoFiles)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QByteArray &arg = args.at(i);
        if (optionsEnded || !arg.startsWith('-') || arg == "-") {
            parsed.files.append(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const QString text = QFile::decodeName(arg);
        const int equals = arg.indexOf('=');
        const QString name = QFile::decodeName(equals < 0 ? arg : arg.left(equals));
        if (valueOptions.contains(name)) {
            if (equals >= 0) {
                parsed.values.insert(name, arg.mid(equals + 1));
            } else if (i + 1 < args.size()) {
                parsed.values.insert(name, args.at(++i));
            } else {
                parsed.error = QStringLiteral("%1 needs a value").arg(name);
                return parsed;
            }
        } else if (flagOptions.contains(text)) {
            if (!parsed.flags.contains(text))
                parsed.flags.append(text);
        } else {
            parsed.error = QStringLiteral("unknown option %1").arg(text);
            return parsed;
        }
    }
    if (parsed.files.isEmpty() && !allowNoFiles)
        parsed.error = QStringLiteral("no files given");
    return parsed;
}
