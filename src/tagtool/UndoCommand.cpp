#include "Arguments.h"
#include "ChangeJournal.h"
#include "Commands.h"
#include "Console.h"
#include "JournalUndo.h"
#include "ShowFormat.h"

int RunUndo(const QStringList &args)
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
        const QString &file = parsed.files.at(i);
        const UndoOutcome outcome = UndoLastChange(journal, history, file);
        if (outcome.undone) {
            PrintOut(TerminalSafe(file + QStringLiteral(": ") + outcome.message).toUtf8() + '\n');
        } else {
            PrintFileError(file, outcome.message);
            status = ExitFileFailed;
        }
    }
    return status;
}
