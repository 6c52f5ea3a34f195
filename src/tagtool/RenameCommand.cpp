#include "Arguments.h"
#include "ChangeJournal.h"
#include "Commands.h"
#include "Console.h"
#include "DeviceJobs.h"
#include "InOrder.h"
#include "ShowFormat.h"
#include "TagFile.h"
#include "TagRename.h"

#include <QVector>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct PlannedRename {
    FilePath file;    // as given
    FilePath newPath; // as it will be shown
    JournalRecord change;
    QString refusal; // why the file keeps its name; empty when it can be renamed
};

// The new path beside the given one, spelled the way the user spelled it.
FilePath Beside(const FilePath &file, const FilePath &name)
{
    return file.left(file.lastIndexOf('/') + 1) + name;
}

bool SameFile(int folder, const FilePath &a, const FilePath &b)
{
    struct stat sa {};
    struct stat sb {};
    return ::fstatat(folder, a.constData(), &sa, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstatat(folder, b.constData(), &sb, AT_SYMLINK_NOFOLLOW) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The same new name as the window's rename buttons give, with their refusals.
// The folder is the one the kernel resolves for the path (through symbolic
// links, then ".."), and the journal knows it by its absolute path. Runs on
// many threads at once: it prints nothing, and returns the refusal.
QString Plan(const FilePath &file, RenameOrder order, PlannedRename &plan)
{
    plan.file = file;
    Id3v1Tag tag;
    if (!ReadTag(file, tag)) {
        FileState state;
        return ReadFileState(file, state) ? QStringLiteral("has no ID3v1 tag") : SystemReason();
    }
    const QString text = NewFileName(FieldText(tag.Title), FieldText(tag.Artist), order);
    if (text.isEmpty())
        return QStringLiteral("title or artist is empty");
    if (!IsPlainFileName(text))
        return QStringLiteral("the new name \"%1\" contains \"/\"").arg(TerminalSafe(text));
    FilePath oldName;
    const FileDescriptor folder = OpenParentFolder(file, oldName);
    const FilePath folderPath = folder.valid() ? FolderPath(folder.get()) : FilePath();
    if (folderPath.isEmpty())
        return SystemReason();
    const FilePath name = ToFilePath(text);
    plan.newPath = Beside(file, name);
    plan.change = ChangeJournal::prepareRename(folderPath, oldName, name);
    struct stat info {};
    if (name != oldName &&
        ::fstatat(folder.get(), name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        !SameFile(folder.get(), oldName, name))
        return QStringLiteral("\"%1\" exists").arg(TerminalSafe(text));
    return QString();
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
    const Arguments parsed = ParseArguments(args, {orderOption, JobsOption}, {dryRun});
    QString error = parsed.error;
    const QString orderName = parsed.value(orderOption);
    if (error.isEmpty() && orderName != QLatin1String("title-artist") &&
        orderName != QLatin1String("artist-title"))
        error = QStringLiteral("--order must be title-artist or artist-title");
    int jobs = 0;
    if (error.isEmpty())
        error = ParseJobs(parsed, jobs);
    if (!error.isEmpty()) {
        PrintError(QStringLiteral("rename: ") + error);
        return ExitUsage;
    }
    const RenameOrder order = orderName == QLatin1String("title-artist") ? RenameOrder::TitleArtist
                                                                         : RenameOrder::ArtistTitle;
    const QList<FilePath> &files = parsed.files;
    if (files.isEmpty())
        return ExitSuccess;

    // Reading the tags is where a cold cache spends its time: many files
    // are read at once, and their results still come out in file order.
    int status = ExitSuccess;
    QVector<PlannedRename> plans(files.size());
    PlannedRename *planAt = plans.data();
    QVector<qsizetype> toRename;
    // The files still to be renamed from the k-th on, for a stop.
    const auto leftFrom = [&](qsizetype k) {
        QList<FilePath> left;
        for (const qsizetype i : toRename.mid(k))
            left.append(files.at(i));
        return left;
    };
    const qsizetype planned = RunInOrder(
        files.size(), jobs > 0 ? jobs : DeviceJobs(files.first()),
        [&](qsizetype i) { planAt[i].refusal = Plan(files.at(i), order, planAt[i]); },
        [&](qsizetype i) {
            const PlannedRename &plan = plans.at(i);
            if (!plan.refusal.isEmpty()) {
                PrintFileError(plan.file, plan.refusal);
                status = ExitFileFailed;
            } else if (parsed.flag(dryRun) || plan.change.oldName == plan.change.newName) {
                PrintOutLater(RenameLine(plan));
            } else {
                toRename.append(i);
            }
        },
        StopRequested, FlushOut);
    if (planned < files.size()) // stopped before any file was renamed
        return ReportStopped(leftFrom(0) + files.mid(planned), 0);
    if (toRename.isEmpty())
        return status;

    QVector<JournalRecord> changes;
    for (const qsizetype i : toRename)
        changes.append(plans.at(i).change);
    ChangeJournal journal(ChangeJournal::defaultFolder());
    if (!journal.record(changes))
        PrintError(
            QStringLiteral("journal: %1; these renames cannot be undone").arg(journal.error()));
    // The renames themselves take their folder's lock in the kernel one at a
    // time, and a batch may give one file the name another gives up: they
    // run in file order, as the user listed them.
    for (int k = 0; k < toRename.size(); ++k) {
        const PlannedRename &plan = plans.at(toRename.at(k));
        if (StopRequested()) {
            journal.flush();
            return ReportStopped(leftFrom(k), 0);
        }
        const JournalRecord &change = changes.at(k);
        if (RenameInFolder(change.path, change.oldName, change.newName)) {
            journal.markDone(change);
            PrintOut(RenameLine(plan));
        } else {
            PrintFileError(
                plan.file,
                errno == EEXIST
                    ? QStringLiteral("\"%1\" exists").arg(TerminalSafe(DisplayPath(change.newName)))
                    : SystemReason());
            status = ExitFileFailed;
        }
    }
    journal.flush();
    return status;
}
