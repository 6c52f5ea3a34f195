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
    const QStringList files = parsed.fileNames();
    for (int i = 0; i < files.size(); ++i) {
        if (StopRequested())
            return ReportStopped(files, i);
        const QString &file = files.at(i);
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
