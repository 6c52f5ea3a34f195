#include "ChangeJournal.h"
#include "ColourWindow.h"
#include "CopyFoldersWindow.h"
#include "DesktopServices.h"
#include "EventLoopPauser.h"
#include "FileIo.h"
#include "DesktopFolderChooser.h"
#include "FolderEngine.h"
#include "FolderLister.h"
#include "MainWindow.h"
#include "PrintTags.h"
#include "SystemPrinter.h"
#include "TagFileService.h"
#include "ThreadedOperation.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include <csignal>

int main(int argc, char *argv[])
{
    // A write past the file size limit should fail with EFBIG and be reported
    // like any other failed write, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brelko"));
    QApplication::setOrganizationName(QStringLiteral("Brelko"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/brelko.svg")));

    QtMessageService messages;
    SystemClock clock;
    DesktopShellLauncher shell;
    EventLoopPauser pauser;
    SystemFolderLister folders;
    AdoptFormerSettings(SettingsFile::defaultPath(), SettingsFile::formerPath());
    ChangeJournal journal(ChangeJournal::defaultFolder());
    JournaledTagFileService tagFiles(journal);
    const MainWindowServices services{
        messages,           clock, shell, pauser, folders, tagFiles, SettingsFile::defaultPath(),
        QDir::currentPath()};
    MainWindow window(services);

    MainWindowPresenter &presenter = window.presenter();
    using Button = MainWindowPresenter::Button;
    presenter.setButtonAction(Button::Colours, [&window] {
        BackgroundColour colour = window.background();
        ColourWindow colours(
            colour, [&] { window.setBackground(colour); }, &window);
        colours.exec();
    });
    FileIo fileIo;
    FolderEngine folderEngine(fileIo);
    ThreadedOperation copyEngine(folderEngine);
    DesktopFolderChooser folderChooser;
    CopyFolderPaths copyPaths; // kept for the whole run
    presenter.setButtonAction(Button::CopyFolders, [&] {
        ShowCopyFoldersWindow(&window, copyPaths, window.background(),
                              {folderChooser, copyEngine, pauser, messages});
    });
    SystemPrinter printer;
    presenter.setButtonAction(Button::Print, [&] {
        const ShownTag shown = presenter.shownTag();
        PrintTags(shown, QFileInfo(shown.selectedFilePath), printer, messages, &window);
    });

    // "brelko FOLDER" opens the folder as if the user had chosen it, and
    // "brelko FILE" also chooses the file, so "Open with Brelko" works on both.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QFileInfo target(arguments.at(1));
        if (target.isDir())
            presenter.openFolder(target.filePath());
        else if (target.isFile())
            presenter.openFile(target.filePath());
    }

    window.show();
    return app.exec();
}
