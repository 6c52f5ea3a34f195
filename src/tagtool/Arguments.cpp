#include "Arguments.h"

Arguments ParseArguments(const QStringList &args, const QStringList &valueOptions,
                         const QStringList &flagOptions)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            parsed.files.append(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const int equals = arg.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? arg : arg.left(equals);
        if (valueOptions.contains(name)) {
            if (equals >= 0) {
                parsed.values.insert(name, arg.mid(equals + 1));
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
    if (parsed.files.isEmpty())
        parsed.error = QStringLiteral("no files given");
    return parsed;
}
