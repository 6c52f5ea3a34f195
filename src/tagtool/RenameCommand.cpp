#include "Arguments.h"
#include "ChangeJournal.h"
#include "Commands.h"
#include "Console.h"
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
// links, then ".."), and the journal knows it by its absolute path.
bool Plan(const FilePath &file, RenameOrder order, PlannedRename &plan)
{
    Id3v1Tag tag;
    if (!ReadTag(file, tag)) {
        FileState state;
        PrintFileError(file, ReadFileState(file, state) ? QStringLiteral("has no ID3v1 tag")
                                                        : SystemReason());
        return false;
    }
    const QString text = NewFileName(FieldText(tag.Title), FieldText(tag.Artist), order);
    if (text.isEmpty()) {
        PrintFileError(file, QStringLiteral("title or artist is empty"));
        return false;
    }
    if (!IsPlainFileName(text)) {
        PrintFileError(
            file, QStringLiteral("the new name \"%1\" contains \"/\"").arg(TerminalSafe(text)));
        return false;
    }
    FilePath oldName;
    const FileDescriptor folder = OpenParentFolder(file, oldName);
    const FilePath folderPath = folder.valid() ? FolderPath(folder.get()) : FilePath();
    if (folderPath.isEmpty()) {
        PrintFileError(file, SystemReason());
        return false;
    }
    const FilePath name = ToFilePath(text);
    plan.file = file;
    plan.newPath = Beside(file, name);
    plan.change = ChangeJournal::prepareRename(folderPath, oldName, name);
    struct stat info {};
    if (name != oldName &&
        ::fstatat(folder.get(), name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        !SameFile(folder.get(), oldName, name)) {
        PrintFileError(file, QStringLiteral("\"%1\" exists").arg(TerminalSafe(text)));
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
    for (const FilePath &file : parsed.files) {
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
            QList<FilePath> left;
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
            PrintFileError(
                plans.at(i).file,
                errno == EEXIST
                    ? QStringLiteral("\"%1\" exists").arg(TerminalSafe(DisplayPath(change.newName)))
                    : SystemReason());
            status = ExitFileFailed;
        }
    }
    journal.flush();
    return status;
}
