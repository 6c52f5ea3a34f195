#include "FolderLister.h"

#include <QFile>
#include <QStorageInfo>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

bool EndsWithMp3(const char *name, size_t length)
{
    if (length < 4)
        return false;
    const char *ext = name + length - 4;
    return ext[0] == '.' && (ext[1] | 0x20) == 'm' && (ext[2] | 0x20) == 'p' && ext[3] == '3';
}

// What an entry is: DT_REG for a regular file or a link to one, DT_DIR for a
// folder or a link to one, else its own kind. Only entries whose kind the
// file system did not record, and links, cost a stat.
unsigned char EntryKind(int dirFd, const dirent *entry)
{
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return entry->d_type;
    struct stat info;
    if (fstatat(dirFd, entry->d_name, &info, 0) != 0)
        return DT_UNKNOWN;
    if (S_ISREG(info.st_mode))
        return DT_REG;
    return S_ISDIR(info.st_mode) ? DT_DIR : DT_UNKNOWN;
}

bool IsPseudoFileSystem(const QByteArray &type, const QString &root)
{
    static const char *const pseudo[] = {
        "proc",       "sysfs",      "devtmpfs", "devpts",  "cgroup",      "cgroup2",
        "securityfs", "pstore",     "debugfs",  "tracefs", "configfs",    "fusectl",
        "mqueue",     "hugetlbfs",  "bpf",      "autofs",  "binfmt_misc", "efivarfs",
        "nsfs",       "rpc_pipefs", "squashfs", "ramfs",   "fuse.portal", "fuse.gvfsd-fuse"};
    for (const char *name : pseudo) {
        if (type == name)
            return true;
    }
    for (const char *system : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot/efi"}) {
        const QString prefix = QString::fromLatin1(system);
        if (root == prefix || root.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

} // namespace

void SortAsFileList(QStringList &names)
{
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        keys.emplace_back(names.at(i).toCaseFolded(), i);
    std::sort(keys.begin(), keys.end(), [&names](const auto &a, const auto &b) {
        const int folded = QString::compare(a.first, b.first, Qt::CaseSensitive);
        if (folded != 0)
            return folded < 0;
        return QString::compare(names.at(a.second), names.at(b.second), Qt::CaseSensitive) < 0;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto &key : keys)
        sorted.append(names.at(key.second));
    names = std::move(sorted);
}

QStringList FolderLister::mp3Files(const QString &folder, bool *ok)
{
    FolderContents found = contents(folder);
    if (ok)
        *ok = found.ok;
    return found.mp3Files;
}

QStringList FolderLister::subfolders(const QString &folder)
{
    return contents(folder).subfolders;
}

FolderContents SystemFolderLister::contents(const QString &folder)
{
    return list(folder, true);
}

QStringList SystemFolderLister::subfolders(const QString &folder)
{
    return list(folder, false).subfolders;
}

FolderContents SystemFolderLister::list(const QString &folder, bool withFiles)
{
    // Straight from the directory entries, in one pass: most file systems
    // tell an entry's kind without a stat per file.
    FolderContents found;
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    found.ok = dir != nullptr;
    if (!dir)
        return found;
    const int fd = dirfd(dir);
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const size_t length = std::strlen(entry->d_name);
        const unsigned char kind = EntryKind(fd, entry);
        if (withFiles && kind == DT_REG && EndsWithMp3(entry->d_name, length))
            found.mp3Files.append(QFile::decodeName(QByteArray(entry->d_name, qsizetype(length))));
        else if (kind == DT_DIR)
            found.subfolders.append(QFile::decodeName(entry->d_name));
    }
    closedir(dir);
    SortAsFileList(found.mp3Files);
    SortAsFileList(found.subfolders);
    return found;
}

QList<Volume> SystemFolderLister::volumes()
{
    QList<Volume> result;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        const QString root = storage.rootPath();
        if (!storage.isValid() || !storage.isReady() ||
            IsPseudoFileSystem(storage.fileSystemType(), root))
            continue;
        if (std::any_of(result.cbegin(), result.cend(),
                        [&root](const Volume &v) { return v.root == root; }))
            continue;
        QString label = root;
        if (root != QLatin1String("/") && !storage.displayName().isEmpty() &&
            storage.displayName() != root)
            label = storage.displayName() + QStringLiteral(" (") + root + QLatin1Char(')');
        result.append(Volume{root, label});
    }
    // Inside a chroot or a container the mount table may not name the root
    // at all; the root of the file tree is always there to browse.
    if (std::none_of(result.cbegin(), result.cend(),
                     [](const Volume &v) { return v.root == QLatin1String("/"); }))
        result.append(Volume{QStringLiteral("/"), QStringLiteral("/")});
    std::sort(result.begin(), result.end(), [](const Volume &a, const Volume &b) {
        if ((a.root == QLatin1String("/")) != (b.root == QLatin1String("/")))
            return a.root == QLatin1String("/");
        return a.root < b.root;
    });
    return result;
}

bool SystemFolderLister::canList(const QString &folder)
{
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    closedir(dir);
    return true;
}

QString VolumeRootOf(const QList<Volume> &volumes, const QString &path)
{
    QString best = QStringLiteral("/");
    for (const Volume &volume : volumes) {
        const QString &root = volume.root;
        const bool holds =
            path == root || root == QLatin1String("/") ||
            path.startsWith(root.endsWith(QLatin1Char('/')) ? root
                                                            : QString(root + QLatin1Char('/')));
        if (holds && root.size() > best.size())
            best = root;
    }
    return best;
}
