#include "FolderEngine.h"

#include "OperationRun.h"
#include "OperationUi.h"
#include "PathNames.h"

#include <cerrno>
#include <cstring>
#include <QFile>

namespace {
std::string Encode(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}
} // namespace

qint32 FolderEngine::perform(const ShellRequest &request, OperationUi &ui)
{
    const bool move = request.actionCode == FO_MOVE;
    if (!move && request.actionCode != FO_COPY) {
        ui.report(QStringLiteral("Only moving and copying a folder are possible."));
        return ResultUnknownAction;
    }
    const std::string source = Encode(request.source);
    struct stat info;
    if (source.empty()) {
        ui.report(QStringLiteral("No source folder has been chosen."));
        return ResultBadSource;
    }
    if (io_.stat(source, info) != 0 || !S_ISDIR(info.st_mode)) {
        ui.report(
            QStringLiteral("The source \"%1\" is not an existing folder.").arg(request.source));
        return ResultBadSource;
    }
    const std::string destination = Encode(request.destination);
    if (destination.empty()) {
        ui.report(QStringLiteral("No destination folder has been chosen."));
        return ResultBadDestination;
    }
    const std::string realSource = ResolvePath(source);
    const std::string realDestination = ResolvePath(destination);
    if (IsSameOrInside(realDestination, realSource)) {
        ui.report(QStringLiteral("The destination \"%1\" is the source folder or lies inside it; "
                                 "a folder cannot be put into itself.")
                      .arg(request.destination));
        return ResultInsideSource;
    }
    const bool exists = io_.stat(realDestination, info) == 0;
    if (exists && !S_ISDIR(info.st_mode)) {
        ui.report(
            QStringLiteral("The destination \"%1\" is not a folder.").arg(request.destination));
        return ResultBadDestination;
    }
    // The copy is named as the user sees the source, also when that name
    // is a link to the folder.
    std::string name = LastName(source);
    if (name.empty() || name == "." || name == "..")
        name = LastName(realSource);
    if (realDestination == ParentPath(realSource)) {
        if (move) {
            ui.report(QStringLiteral("The folder \"%1\" is already in \"%2\".")
                          .arg(request.source, request.destination));
            return ResultSameFolder;
        }
        // Copying next to itself: the copy gets a name of its own.
        name = FreeName(name, [&](const std::string &candidate) {
            struct stat taken;
            return io_.lstat(JoinPath(realDestination, candidate), taken) == 0;
        });
    }
    if (!exists) {
        if (!(request.flags & FOF_NOCONFIRMATION) && !ui.askCreateFolder(request.destination))
            return ResultNotCreated;
        if (!makeFolders(realDestination)) {
            ui.report(QStringLiteral("The destination \"%1\" could not be created: %2")
                          .arg(request.destination, QString::fromLocal8Bit(strerror(errno))));
            return ResultDestinationFailed;
        }
    }
    OperationRun run(io_, ui, request.flags, move);
    return run.run(realSource, realDestination, name);
}

bool FolderEngine::makeFolders(const std::string &path)
{
    struct stat info;
    if (io_.stat(path, info) == 0)
        return S_ISDIR(info.st_mode) || (errno = ENOTDIR, false);
    const std::string parent = ParentPath(path);
    if (parent != path && !makeFolders(parent))
        return false;
    return io_.mkdir(path, 0777) == 0 || errno == EEXIST;
}
