#pragma once

#include "FolderLister.h"
#include "ShownTag.h"
#include "TagRename.h"

#include <array>
#include <functional>
#include <QString>
#include <QStringList>

class Clock;
class MessageService;
class Pauser;
class QWidget;
class ShellLauncher;
class TagFileService;

// What the main window is given to reach the desktop and the disk.
struct MainWindowServices {
    MessageService &messages;
    Clock &clock;
    ShellLauncher &shell;
    Pauser &pauser;
    FolderLister &folders;
    TagFileService &tagFiles;
    QString settingsPath;
    QString startFolder; // the folder the program was started in
};

// One entry of the folder list: what it shows and the folder it opens.
struct FolderEntry {
    QString name, path;
};

// The folder list: the path from "/" down to the folder, then its subfolders.
struct FolderTrail {
    QList<FolderEntry> ancestors; // "/" first, the folder itself last
    QList<FolderEntry> subfolders;
};

// What the presenter asks the window to show. Each call replaces what the
// control showed before.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void showDrives(const QList<Volume> &volumes, int current) = 0;
    virtual void selectDrive(int index) = 0;
    virtual void showFolderPath(const FolderTrail &path) = 0;
    // A new list of files, with nothing selected.
    virtual void showFiles(const QStringList &names) = 0;
    // Selects a row without reporting it back as the user's choice.
    virtual void selectFile(int row) = 0;
    virtual void showFileCount(const QString &text) = 0;
    virtual void showInformation(const QString &name, const QString &dateSize,
                                 const QString &path) = 0;
    virtual void showFields(const std::array<QString, 5> &fields) = 0;
    virtual void showGenre(const QString &genre) = 0;
    // The summary picture: its captions and these values beside them with
    // the big "Info" word; no values at all draws the captions alone.
    virtual void showSummary(const QStringList &values) = 0;
    virtual void showClock(const QString &text) = 0;
    virtual void showTitleLine(const QString &text) = 0;
};

// The rules of the main window, free of widgets: browsing, the tag of the
// chosen file, update, rename, clearing, playing, the clock and the button
// bar. The window forwards what the user does and shows what it is told.
class MainWindowPresenter {
public:
    enum class Button { ClearFields, Colours, CopyFolders, Print, Software };
    static constexpr int ButtonCount = 5;

    MainWindowPresenter(const MainWindowServices &services, MainWindowView &view);

    // The window that owns the message boxes.
    void setOwner(QWidget *owner) { owner_ = owner; }

    // The drive list and the start folder; called once the view is built.
    void start();

    // Browsing.
    void chooseDrive(int index);
    void openFolderEntry(const QString &folder);
    // Opens a folder as if the user had chosen it; a relative one from the
    // start folder.
    void openFolder(const QString &folder);
    // Opens the file's folder and chooses the file, as a click would.
    void openFile(const QString &path);

    // The tag view.
    void chooseFile(int row);
    void setField(int index, const QString &text);
    void setGenre(const QString &text);

    // Actions.
    void update();
    void rename(RenameOrder order);
    // A button of the bar, after its press animation.
    void press(Button button);
    void setButtonAction(Button button, std::function<void()> action);
    void play();
    void openSoftwarePage();
    void clearFields();
    // One tick of the clock timer: the clock label and the title line.
    void tick();

    // The tag as the window shows it now, for the printed report.
    ShownTag shownTag() const;

    QString selectedFilePath() const { return selectedFilePath_; }
    QString selectedFolder() const { return selectedFolder_; }
    QString tagMarker() const { return tagMarker_; }
    QString listedFolder() const { return filesFolder_; }
    const QStringList &files() const { return files_; }
    int selectedRow() const { return selectedRow_; }

private:
    void changeFolder(const QString &folder);
    void refillList();
    void showFile(const QString &folder, const QString &name);
    void listFiles(QStringList names);

    MainWindowServices services_;
    MainWindowView &view_;
    QWidget *owner_ = nullptr;
    QList<Volume> volumes_;

    // Selection state of the tag view.
    QString selectedFilePath_;
    QString selectedFolder_;
    QString tagMarker_;
    // The genre byte the view read and the text it showed for it, so an
    // unchanged "Unknown Genre Entry" is written back as the same byte.
    QString shownGenreField_;
    QString shownGenreText_;
    // What the boxes hold now, as the user left them.
    std::array<QString, 5> fields_;
    QString genre_;

    // The folder listed and its MP3 files, and the row chosen in that list.
    QString filesFolder_;
    QStringList files_;
    int selectedRow_ = -1;

    std::array<std::function<void()>, ButtonCount> buttonActions_;
};
