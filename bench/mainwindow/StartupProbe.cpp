// Started by the main window benchmark: shows either a bare Qt Widgets
// window or the Brelko main window and quits as soon as it is on screen.
// Usage: StartupProbe bare | StartupProbe brelko SETTINGS [FOLDER]
#include "DesktopServices.h"
#include "EventLoopPauser.h"
#include "FolderLister.h"
#include "MainWindow.h"
#include "TagFileService.h"

#include <cstdio>
#include <memory>
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Says "shown" on standard output when the window is first exposed, then
// quits the application.
class ExposeWatcher : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !shown_) {
            shown_ = true;
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool shown_ = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool bare = argc > 1 && qstrcmp(argv[1], "bare") == 0;
    const QString settings = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::currentPath();

    QtMessageService messages;
    SystemClock clock;
    DesktopShellLauncher shell;
    EventLoopPauser pauser;
    SystemFolderLister folders;
    TagFileService tagFiles;
    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->resize(992, 647);
    } else {
        window = std::make_unique<MainWindow>(MainWindowServices{
            messages, clock, shell, pauser, folders, tagFiles, settings, folder});
    }
    ExposeWatcher watcher;
    window->winId();
    window->windowHandle()->installEventFilter(&watcher);
    window->show();
    return app.exec();
}
