#include "Arguments.h"
#include "ChangeJournal.h"
#include "Commands.h"
#include "Console.h"
#include "ShowFormat.h"
#include "TagFile.h"
#include "TagRename.h"

#include <QFileInfo>
#include <QVector>

#include <cerrno>
#include <sys/stat.h>

namespace {

struct PlannedRename {
    QString file;    // as given
    QString newPath; // as it will be shown
    JournalRecord change;
};

// The new path beside the given one, spelled the way the user spelled it.
QString Beside(const QString &file, const QString &name)
{
    const int slash = file.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? name : file.left(slash + 1) + name;
}

bool SameFile(const QString &a, const QString &b)
{
    struct stat sa {};
    struct stat sb {};
    return ::lstat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::lstat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The same new name as the window's rename buttons give, with their refusals.
// Empty, after saying why, when the file cannot be renamed.
bool Plan(const QString &file, RenameOrder order, PlannedRename &plan)
{
    Id3v1Tag tag;
    if (!ReadTag(file, tag)) {
        FileState state;
        PrintFileError(file, ReadFileState(file, state) ? QStringLiteral("has no ID3v1 tag")
                                                        : SystemReason());
        return false;
    }
    const QString name = NewFileName(FieldText(tag.Title), FieldText(tag.Artist), order);
    if (name.isEmpty()) {
        PrintFileError(file, QStringLiteral("title or artist is empty"));
        return false;
    }
    if (!IsPlainFileName(name)) {
        PrintFileError(
            file, QStringLiteral("the new name \"%1\" contains \"/\"").arg(TerminalSafe(name)));
        return false;
    }
    const QFileInfo info(file);
    plan.file = file;
    plan.newPath = Beside(file, name);
    plan.change = ChangeJournal::prepareRename(info.absolutePath(), info.fileName(), name);
    const QString target = info.absolutePath() + QLatin1Char('/') + name;
    if (name != info.fileName() && QFileInfo::exists(target) && !SameFile(file, target)) {
        PrintFileError(file, QStringLiteral("\"%1\" exists").arg(TerminalSafe(name)));
        return false;
    }
    return true;
}

QByteArray RenameLine(const PlannedRename &plan)
{
    return TerminalSafe(plan.file).toUtf8() + " -> " + TerminalSafe(plan.newPath).toUtf8() + '\n';
}

} // namespace

int RunRename(const QByteArrayList &args)
{
    const QString orderOption = QStringLiteral("--order");
    const QString dryRun = QStringLiteral("--dry-run");
    const Arguments parsed = ParseArguments(args, {orderOption}, {dryRun});
    QString error = parsed.error;
    const QString orderName = parsed.value(orderOption);
    if (error.isEmpty() && orderName != QLatin1String("title-artist") &&
        orderName != QLatin1String("artist-title"))
        error = QStringLiteral("--order must be title-artist or artist-title");
    if (!error.isEmpty()) {
        PrintError(QStringLiteral("rename: ") + error);
        return ExitUsage;
    }
    const RenameOrder order = orderName == QLatin1String("title-artist") ? RenameOrder::TitleArtist
                                                                         : RenameOrder::ArtistTitle;

    int status = ExitSuccess;
    QVector<PlannedRename> plans;
    QVector<JournalRecord> changes;
    for (const QString &file : parsed.fileNames()) {
        PlannedRename plan;
        if (!Plan(file, order, plan)) {
            status = ExitFileFailed;
        } else if (parsed.flag(dryRun) || plan.change.oldName == plan.change.newName) {
            PrintOut(RenameLine(plan));
        } else {
            plans.append(plan);
            changes.append(plan.change);
        }
    }
    if (plans.isEmpty())
        return status;

    ChangeJournal journal(ChangeJournal::defaultFolder());
    if (!journal.record(changes))
        PrintError(
            QStringLiteral("journal: %1; these renames cannot be undone").arg(journal.error()));
    for (int i = 0; i < plans.size(); ++i) {
        if (StopRequested()) {
            QStringList left;
            for (int j = i; j < plans.size(); ++j)
                left.append(plans.at(j).file);
            journal.flush();
            return ReportStopped(left, 0);
        }
        const JournalRecord &change = changes.at(i);
        if (RenameInFolder(change.path, change.oldName, change.newName)) {
            journal.markDone(change);
            PrintOut(RenameLine(plans.at(i)));
        } else {
            PrintFileError(plans.at(i).file,
                           errno == EEXIST
                               ? QStringLiteral("\"%1\" exists").arg(TerminalSafe(change.newName))
                               : SystemReason());
            status = ExitFileFailed;
        }
    }
    journal.flush();
    return status;
}
