#include "Arguments.h"
#include "Commands.h"
#include "Console.h"
#include "ShowFormat.h"
#include "TagFile.h"

namespace {

constexpr qsizetype OutputChunk = 1 << 16;

} // namespace

int RunShow(const QByteArrayList &args)
{
    const QString json = QStringLiteral("--json");
    const QString csv = QStringLiteral("--csv");
    const Arguments parsed = ParseArguments(args, {}, {json, csv});
    if (!parsed.error.isEmpty()) {
        PrintError(QStringLiteral("show: ") + parsed.error);
        return ExitUsage;
    }
    if (parsed.flag(json) && parsed.flag(csv)) {
        PrintError(QStringLiteral("show: --json and --csv cannot be combined"));
        return ExitUsage;
    }
    const ShowStyle style = parsed.flag(json)  ? ShowStyle::Json
                            : parsed.flag(csv) ? ShowStyle::Csv
                                               : ShowStyle::Text;
    int status = ExitSuccess;
    QByteArray out = ShowHeader(style);
    for (int i = 0; i < parsed.files.size(); ++i) {
        if (StopRequested()) {
            PrintOut(out);
            return ReportStopped(parsed.files, i);
        }
        const FilePath &file = parsed.files.at(i);
        // One open per file: the state read tells a file without a trailer
        // from one that cannot be read, which ReadTag's false does not.
        FileState state;
        if (!ReadFileState(file, state)) {
            PrintOut(out);
            out.clear();
            PrintFileError(file, SystemReason());
            status = ExitFileFailed;
            continue;
        }
        out += ShowTrailer(style, DisplayPath(file), state.trailer);
        if (out.size() > OutputChunk) {
            PrintOut(out);
            out.clear();
        }
    }
    PrintOut(out);
    return status;
}
