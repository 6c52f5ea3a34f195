// Copies a tree of many small files and one large file with the engine and
// with cp -a, in the same run on the same data, and moves the tree within one
// file system. Prints medians and ratios; asserts nothing about time.

#include "FileIo.h"
#include "FolderEngine.h"
#include "OperationUi.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <vector>

namespace {
class QuietUi : public OperationUi {
public:
    ConflictAnswer askReplace(const QString &) override { return ConflictAnswer::Cancel; }
    ErrorAnswer askError(const QString &path, const QString &reason) override
    {
        std::fprintf(stderr, "error: %s: %s\n", qPrintable(path), qPrintable(reason));
        return ErrorAnswer::Cancel;
    }
    bool askCreateFolder(const QString &) override { return true; }
    void showProgress(const OperationProgress &) override {}
    bool cancelRequested() override { return false; }
    void report(const QString &message) override
    {
        std::fprintf(stderr, "report: %s\n", qPrintable(message));
    }
};

void makeData(const QString &root, bool smallFiles, bool largeFile)
{
    QByteArray block(8192, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(i * 131 + 7);
    if (smallFiles) {
        for (int folder = 0; folder < 200; ++folder) {
            const QString dir = QStringLiteral("%1/tree/f%2").arg(root).arg(folder);
            QDir().mkpath(dir);
            for (int file = 0; file < 50; ++file) {
                QFile out(QStringLiteral("%1/file%2.dat").arg(dir).arg(file));
                out.open(QIODevice::WriteOnly);
                out.write(block.left(512 + (folder * 50 + file) * 37 % 7680));
            }
        }
    }
    if (largeFile) {
        QDir().mkpath(root + "/tree");
        QFile out(root + "/tree/large.bin");
        out.open(QIODevice::WriteOnly);
        QByteArray chunk = block.repeated(128); // 1 MiB
        for (int i = 0; i < 1024; ++i) {
            chunk[0] = char(i);
            out.write(chunk);
        }
    }
    QProcess::execute("sync", {"-f", root});
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double seconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

void compareCopies(const char *label, const QString &root, int runs)
{
    FileIo io;
    FolderEngine engine(io);
    QuietUi ui;
    std::vector<double> ours, cp, cpSynced;
    for (int run = 0; run < runs; ++run) {
        const QString target = root + "/out";
        QDir().mkpath(target);
        ours.push_back(seconds([&] {
            if (engine.perform({FO_COPY, root + "/tree", target, FOF_SILENT}, ui) != 0)
                std::fprintf(stderr, "engine copy failed\n");
        }));
        QDir(target).removeRecursively();
        QProcess::execute("sync", {"-f", root});
        cp.push_back(seconds([&] { QProcess::execute("cp", {"-a", root + "/tree", target}); }));
        QDir(target).removeRecursively();
        QProcess::execute("sync", {"-f", root});
        cpSynced.push_back(seconds([&] {
            QProcess::execute("cp", {"-a", root + "/tree", target});
            QProcess::execute("sync", {"-f", target});
        }));
        QDir(target).removeRecursively();
        QProcess::execute("sync", {"-f", root});
    }
    std::printf("%-34s engine %8.3f s   cp -a %8.3f s   ratio %5.2f   "
                "cp -a + sync %8.3f s   ratio %5.2f   (medians of %d)\n",
                label, median(ours), median(cp), median(ours) / median(cp), median(cpSynced),
                median(ours) / median(cpSynced), runs);
}

void moveWithinFileSystem(const QString &root, int runs)
{
    FileIo io;
    FolderEngine engine(io);
    QuietUi ui;
    QDir().mkpath(root + "/a");
    QDir().mkpath(root + "/b");
    QDir().rename(root + "/tree", root + "/a/tree");
    struct stat before;
    ::stat(QFile::encodeName(root + "/a/tree").constData(), &before);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const QString from = root + (run % 2 ? "/b" : "/a");
        const QString to = root + (run % 2 ? "/a" : "/b");
        times.push_back(seconds([&] {
            if (engine.perform({FO_MOVE, from + "/tree", to, FOF_SILENT}, ui) != 0)
                std::fprintf(stderr, "engine move failed\n");
        }));
    }
    struct stat after;
    const QString last = root + (runs % 2 ? "/b/tree" : "/a/tree");
    ::stat(QFile::encodeName(last).constData(), &after);
    std::printf("%-34s engine %8.6f s   (median of %d; same folder inode: %s)\n",
                "move of the tree, one file system", median(times), runs,
                before.st_ino == after.st_ino ? "yes" : "NO");
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir base(QDir::currentPath() + "/bench-foldercopy-XXXXXX");
    const QString where = base.path();
    for (const auto &[label, small, large] :
         {std::make_tuple("10,000 small files in 200 folders", true, false),
          std::make_tuple("one 1 GiB file", false, true),
          std::make_tuple("both together", true, true)}) {
        const QString root = where + "/data";
        makeData(root, small, large);
        compareCopies(label, root, runs);
        if (small && large)
            moveWithinFileSystem(root, 5);
        QDir(root).removeRecursively();
    }
    return 0;
}
