#include "Arguments.h"
#include "Commands.h"
#include "Console.h"
#include "PathSource.h"
#include "ShowFormat.h"
#include "TrailerReader.h"

namespace {

constexpr qsizetype OutputChunk = 1 << 16;

const QString JsonOption = QStringLiteral("--json");
const QString CsvOption = QStringLiteral("--csv");
const QString ListOption = QStringLiteral("--files-from");
const QString NulOption = QStringLiteral("-0");

// The options that do not fit together, or an empty string.
QString ShowUsageError(const Arguments &parsed, int &jobs)
{
    if (!parsed.error.isEmpty())
        return parsed.error;
    if (parsed.flag(JsonOption) && parsed.flag(CsvOption))
        return QStringLiteral("--json and --csv cannot be combined");
    if (parsed.files.isEmpty() && !parsed.has(ListOption))
        return QStringLiteral("no files given");
    if (parsed.flag(NulOption) && !parsed.has(ListOption))
        return QStringLiteral("-0 needs --files-from");
    return ParseJobs(parsed, jobs);
}

} // namespace

int RunShow(const QByteArrayList &args)
{
    const Arguments parsed =
        ParseArguments(args, {ListOption, JobsOption}, {JsonOption, CsvOption, NulOption}, true);
    int jobs = 0;
    const QString error = ShowUsageError(parsed, jobs);
    if (!error.isEmpty()) {
        PrintError(QStringLiteral("show: ") + error);
        return ExitUsage;
    }
    const ShowStyle style = parsed.flag(JsonOption)  ? ShowStyle::Json
                            : parsed.flag(CsvOption) ? ShowStyle::Csv
                                                     : ShowStyle::Text;
    PathSource source(parsed.files, parsed.values.value(ListOption), parsed.flag(NulOption));
    int status = ExitSuccess;
    bool stopped = false;
    QByteArray out = ShowHeader(style);
    const auto take = [&](const TrailerRead &read) {
        if (StopRequested()) {
            PrintOut(out);
            PrintStopped();
            stopped = true;
            return false;
        }
        if (read.error) {
            PrintOut(out);
            out.clear();
            PrintFileError(read.path, SystemReason(read.error));
            status = ExitFileFailed;
            return true;
        }
        AppendShown(out, style, read.path, read.trailer, read.id3v2Major);
        // A list still coming in (find ... | brelko-tag show --files-from -)
        // sees each file as soon as it is read.
        if (out.size() > OutputChunk || !source.ready()) {
            PrintOut(out);
            out.clear();
        }
        return true;
    };
    const auto left = [](const QByteArray &path) {
        PrintError(QStringLiteral("  ") + DisplayPath(path));
    };
    TrailerReader(jobs).run(source, take, left);
    if (stopped)
        return ExitFileFailed;
    if (StopRequested()) { // while waiting for the list: every file given was shown
        PrintOut(out);
        PrintError(QStringLiteral("interrupted"));
        return ExitFileFailed;
    }
    PrintOut(out);
    if (!source.error().isEmpty()) {
        PrintError(QStringLiteral("show: ") + source.error());
        return ExitFileFailed;
    }
    return status;
}
