#pragma once

#include "SettingsFile.h"

#include <array>
#include <functional>
#include <QMainWindow>
#include <QStringList>

class Clock;
class FolderLister;
class ImageButton;
class MessageService;
class Mp3ListView;
class Pauser;
class PictureBox;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStringListModel;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
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

// The one main window: browsing, the tag of the chosen file, its update and
// rename, the button bar, the clock and the help panel.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const MainWindowServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The shared background colour; setting it repaints the eight surfaces.
    BackgroundColour background() const { return colour_; }
    void setBackground(const BackgroundColour &colour);

    // What buttons 1 (colours), 2 (copy folders) and 3 (print) do after their
    // press animation. Button 3's action runs only when the list has entries.
    void setButtonAction(int index, std::function<void()> action);

    // The tag as the window shows it now, for the printed report.
    struct ShownTag {
        QString fileName, title, artist, album, year, comment, genre, selectedFilePath;
    };
    ShownTag shownTag() const;

    // Opens a folder as if the user had chosen it in the folder list.
    void openFolder(const QString &folder);
    // Opens the file's folder and chooses the file in the list, as a click
    // would ("Open with Brelko" on an MP3 file).
    void openFile(const QString &path);

    void clearFields();
    void applyBackground();
    // One tick of the clock timer: the clock label and the title line.
    void tick();

    QString selectedFilePath() const { return selectedFilePath_; }
    QString selectedFolder() const { return selectedFolder_; }
    QString tagMarker() const { return tagMarker_; }

    static constexpr int ButtonCount = 5;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Building the window, one panel at a time.
    void buildButtonBar(QWidget *central);
    void buildNavigation(QWidget *central);
    void buildTagPanel(QWidget *central);
    void buildSummaryPanel(QWidget *central);
    void buildHelpPanel(QWidget *central);
    void buildRenamePanel(QWidget *central);
    void buildClockPanel(QWidget *central);
    void buildInfoStrip(QWidget *central);
    void buildMenus();
    void setAccessibility();
    void setTabOrder();
    void writeWelcome();

    // Browsing.
    void fillDrives();
    void driveChosen(int index);
    void folderActivated(QTreeWidgetItem *item);
    void showFolderTree(const QString &folder, const QStringList &subfolders);
    void folderChanged(const QString &folder);
    void refillList();

    // The tag view.
    void fileChosen(int row);
    void showFile(const QString &folder, const QString &name);
    void prepareSummary();

    // Actions.
    void updateClicked();
    void renameClicked(int order);
    void buttonClicked(int index);
    void play();
    void openSoftwarePage();
    void toggleHelp();
    void drawHelp();

    MainWindowServices services_;
    SettingsFile settings_;
    BackgroundColour colour_;
    QString startFolder_;

    // Selection state of the tag view.
    QString selectedFilePath_;
    QString selectedFolder_;
    QString tagMarker_;
    // The genre byte the view read and the text it showed for it, so an
    // unchanged "Unknown Genre Entry" is written back as the same byte.
    QString shownGenreField_;
    QString shownGenreText_;

    // File1: the folder listed and its MP3 files.
    QString filesFolder_;
    QStringList files_;
    QString dirPath_;

    std::array<std::function<void()>, ButtonCount> buttonActions_;

    QWidget *menuPic_ = nullptr;
    std::array<ImageButton *, ButtonCount> knop_{};
    QLabel *label2_ = nullptr;
    QList<QFrame *> backgroundFrames_;
    QComboBox *drive1_ = nullptr;
    QTreeWidget *dir1_ = nullptr;
    Mp3ListView *list1_ = nullptr;
    QStringListModel *listModel_ = nullptr;
    QLabel *label13_ = nullptr;
    std::array<QLineEdit *, 5> texts_{};
    std::array<QLabel *, 5> textCaptions_{};
    QComboBox *combo1_ = nullptr;
    QLabel *label11_ = nullptr;
    QPushButton *updateKnop_ = nullptr;
    QFrame *frame4_ = nullptr;
    PictureBox *pic_ = nullptr;
    QFrame *helpFrame_ = nullptr;
    PictureBox *helpPic_ = nullptr;
    std::array<QPushButton *, 2> renameKnop_{};
    QLabel *klokLabel_ = nullptr;
    QLabel *label3_ = nullptr;
    QLabel *label4_ = nullptr;
    QLabel *label5_ = nullptr;
    QTimer *timer1_ = nullptr;
    QAction *helpHelp_ = nullptr;
};
