// How fast the main window lists a folder, shows a file and starts, each
// against a floor measured in the same run: plain C++ doing the least the
// job needs. Medians of several runs.
#include "DesktopServices.h"
#include "EventLoopPauser.h"
#include "FolderLister.h"
#include "MainWindow.h"
#include "TagFileService.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Runs = 7;

double MedianMs(const std::function<void()> &work, int runs = Runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The floor of a folder change: readdir, keep *.mp3, sort.
size_t ListFloor(const std::string &folder)
{
    std::vector<std::string> names;
    DIR *dir = opendir(folder.c_str());
    while (const dirent *entry = readdir(dir)) {
        const size_t n = std::strlen(entry->d_name);
        if (entry->d_name[0] != '.' && n > 4 && strcasecmp(entry->d_name + n - 4, ".mp3") == 0)
            names.emplace_back(entry->d_name, n);
    }
    closedir(dir);
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    return names.size();
}

// The floor of a click: open, read the last 128 bytes, stat, close.
bool ClickFloor(const std::string &path)
{
    char buffer[128];
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat info;
    fstat(fd, &info);
    const bool ok = pread(fd, buffer, 128, info.st_size - 128) == 128;
    struct stat again;
    stat(path.c_str(), &again);
    close(fd);
    return ok && std::memcmp(buffer, "TAG", 3) == 0;
}

QString MakeFolder(const QTemporaryDir &dir, int count)
{
    const QString folder = dir.filePath(QStringLiteral("f%1").arg(count));
    QDir().mkpath(folder);
    QByteArray tag = "TAG" + QByteArray("Title").leftJustified(30, ' ') +
                     QByteArray("Artist").leftJustified(30, ' ') + QByteArray(64, ' ') +
                     QByteArray(30, ' ') + char(8);
    tag = tag.left(128);
    const QByteArray mp3 = QByteArray(1000, '\0') + tag;
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("/Song %1.mp3").arg(i * 7919 % count));
        if (file.open(QIODevice::WriteOnly))
            file.write(mp3);
        QFile other(folder + QStringLiteral("/cover %1.jpg").arg(i));
        other.open(QIODevice::WriteOnly);
    }
    return folder;
}

long ResidentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

// Runs the probe in both modes in turn, so both see the same machine load;
// Brelko starts in a folder of 1,000 files, as from a file manager. The
// time runs to the probe's word that its window is on screen: what the user
// waits for, without the exit after it (where Brelko stores its settings).
std::pair<double, double> StartupMs(const QString &probe, const QString &settings,
                                    const QString &folder)
{
    std::vector<double> bare, brelko;
    for (int i = 0; i < 20; ++i) {
        for (bool plain : {true, false}) {
            QElapsedTimer timer;
            timer.start();
            QProcess process;
            process.start(probe, plain ? QStringList{QStringLiteral("bare")}
                                       : QStringList{QStringLiteral("brelko"), settings, folder});
            if (!process.waitForReadyRead(30000))
                qFatal("the start-up probe never showed its window");
            (plain ? bare : brelko).push_back(double(timer.nsecsElapsed()) / 1e6);
            process.waitForFinished(30000);
        }
    }
    std::sort(bare.begin(), bare.end());
    std::sort(brelko.begin(), brelko.end());
    return {bare[bare.size() / 2], brelko[brelko.size() / 2]};
}

bool Report(const char *what, double value, double floor, double target)
{
    const double ratio = value / floor;
    std::printf("%-34s %9.2f ms  floor %8.2f ms  ratio %5.2f  (target %.1f) %s\n", what, value,
                floor, ratio, target, ratio <= target ? "met" : "MISSED");
    return ratio <= target;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QtMessageService messages;
    SystemClock clock;
    DesktopShellLauncher shell;
    EventLoopPauser pauser;
    SystemFolderLister folders;
    TagFileService tagFiles;
    const QString empty = dir.filePath(QStringLiteral("empty"));
    QDir().mkpath(empty);
    MainWindow window(MainWindowServices{messages, clock, shell, pauser, folders, tagFiles,
                                         dir.filePath(QStringLiteral("Brelko.ini")), empty});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("List1"));

    bool met = true;
    const QString folder1000 = MakeFolder(dir, 1000);
    const QString folder100000 = MakeFolder(dir, 100000);

    // Memory first, before any large listing has grown the heap.
    window.presenter().openFolder(empty);
    QCoreApplication::processEvents();
    const long before = ResidentKb();
    window.presenter().openFolder(folder100000);
    QCoreApplication::processEvents();
    const long after = ResidentKb();
    constexpr long memoryTargetKb = 40 * 1024;
    std::printf("memory, 100000 files listed: %+ld KB over an empty list (target < %ld KB) %s\n",
                after - before, memoryTargetKb, after - before < memoryTargetKb ? "met" : "MISSED");
    met &= after - before < memoryTargetKb;

    for (const QString &folder : {folder1000, folder100000}) {
        const int count = SystemFolderLister().mp3Files(folder).size();
        const std::string native = QFile::encodeName(folder).toStdString();
        const double floor = MedianMs([&] { ListFloor(native); });
        // From the folder change until List1 holds every name and the view
        // has laid it out (painting follows at the next event loop pass).
        std::vector<double> times;
        for (int i = 0; i < Runs; ++i) {
            window.presenter().openFolder(empty);
            QCoreApplication::processEvents();
            times.push_back(MedianMs(
                [&] {
                    window.presenter().openFolder(folder);
                    list->doItemsLayout();
                },
                1));
        }
        std::sort(times.begin(), times.end());
        const QByteArray label = "folder change, " + QByteArray::number(count) + " files";
        // A large folder is where the listing must stay close to the floor;
        // a small one is dominated by the model's fixed cost.
        met &= Report(label.constData(), times[times.size() / 2], floor, count > 1000 ? 2.0 : 3.0);

        // A click: choosing two entries in turn, as the list reports a choice.
        const QModelIndex a = list->model()->index(count / 2, 0);
        const QModelIndex b = list->model()->index(count / 2 + 1, 0);
        const std::string path =
            QFile::encodeName(folder + QLatin1Char('/') + a.data().toString()).toStdString();
        const double clickFloor = MedianMs([&] { ClickFloor(path); }, 51);
        int turn = 0;
        const double click = MedianMs(
            [&] {
                list->selectionModel()->setCurrentIndex(++turn % 2 ? a : b,
                                                        QItemSelectionModel::ClearAndSelect);
            },
            51);
        const QByteArray clickLabel = "click, " + QByteArray::number(count) + " files";
        met &= Report(clickLabel.constData(), click, clickFloor, 2.0);
    }

    const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/StartupProbe");
    const auto [bare, brelko] =
        StartupMs(probe, dir.filePath(QStringLiteral("probe.ini")), folder1000);
    met &= Report("start-up to a shown window", brelko, bare, 1.3);
    return met ? 0 : 1;
}
