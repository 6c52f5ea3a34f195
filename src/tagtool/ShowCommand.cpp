#include "Arguments.h"
#include "Commands.h"
#include "Console.h"
#include "JournalRecord.h"
#include "ShowFormat.h"
#include "TagFile.h"

namespace {

constexpr qsizetype OutputChunk = 1 << 16;

} // namespace

int RunShow(const QStringList &args)
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
        const QString &file = parsed.files.at(i);
        Id3v1Tag tag;
        if (ReadTag(file, tag)) {
            out += ShowFile(style, file, &tag);
        } else {
            // No trailer, or no file to read at all: only the second is an error.
            FileState state;
            if (ReadFileState(file, state)) {
                out += ShowFile(style, file, nullptr);
            } else {
                PrintOut(out);
                out.clear();
                PrintFileError(file, SystemReason());
                status = ExitFileFailed;
            }
        }
        if (out.size() > OutputChunk) {
            PrintOut(out);
            out.clear();
        }
    }
    PrintOut(out);
    return status;
}
