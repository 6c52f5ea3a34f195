#include "Arguments.h"
#include "ChangeJournal.h"
#include "Commands.h"
#include "Console.h"
#include "JournalUndo.h"
#include "ShowFormat.h"

int RunUndo(const QByteArrayList &args)
{
    const Arguments parsed = ParseArguments(args, {}, {});
    if (!parsed.error.isEmpty()) {
        PrintError(QStringLiteral("undo: ") + parsed.error);
        return ExitUsage;
    }
    ChangeJournal journal(ChangeJournal::defaultFolder());
    JournalHistory history(journal.readAll());
    int status = ExitSuccess;
    for (int i = 0; i < parsed.files.size(); ++i) {
        if (StopRequested())
            return ReportStopped(parsed.files, i);
        const FilePath &file = parsed.files.at(i);
        const UndoOutcome outcome = UndoLastChange(journal, history, file);
        if (outcome.undone) {
            PrintOut(
                TerminalSafe(DisplayPath(file) + QStringLiteral(": ") + outcome.message).toUtf8() +
                '\n');
            if (!outcome.recorded) {
                PrintFileError(file, QStringLiteral("the journal could not record this undo (%1); "
                                                    "a later undo of this file will refuse")
                                         .arg(journal.error()));
                status = ExitFileFailed;
            }
        } else {
            PrintFileError(file, outcome.message);
            status = ExitFileFailed;
        }
    }
    return status;
}
