#include "DesktopServices.h"
#include "EventLoopPauser.h"
#include "FolderLister.h"
#include "MainWindow.h"
#include "TagFileService.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <csignal>

int main(int argc, char *argv[])
{
    // A write past the file size limit should fail with EFBIG and be reported
    // like any other failed write, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brelko"));
    QApplication::setOrganizationName(QStringLiteral("Brelko"));

    QtMessageService messages;
    SystemClock clock;
    DesktopShellLauncher shell;
    EventLoopPauser pauser;
    SystemFolderLister folders;
    TagFileService tagFiles;
    const MainWindowServices services{
        messages,           clock, shell, pauser, folders, tagFiles, SettingsFile::defaultPath(),
        QDir::currentPath()};
    MainWindow window(services);

    // "brelko FOLDER" opens the folder as if the user had chosen it, so
    // "Open with Brelko" on a folder works.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1 && QFileInfo(arguments.at(1)).isDir())
        window.openFolder(arguments.at(1));

    window.show();
    return app.exec();
}
