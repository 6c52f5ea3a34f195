#pragma once

#include "MainWindowPresenter.h"
#include "SettingsFile.h"

#include <array>
#include <QMainWindow>

class ImageButton;
class Mp3ListView;
class PictureBox;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStringListModel;
class QTimer;
class FolderTree;

// The one main window: it lays out the controls, forwards what the user does
// to its presenter and shows what the presenter publishes. Only what is
// purely visual lives here: the press animation, the help panel and the
// window colour.
class MainWindow : public QMainWindow, private MainWindowView {
    Q_OBJECT
public:
    using Button = MainWindowPresenter::Button;
    static constexpr int ButtonCount = MainWindowPresenter::ButtonCount;

    explicit MainWindow(const MainWindowServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    MainWindowPresenter &presenter() { return presenter_; }
    const MainWindowPresenter &presenter() const { return presenter_; }

    // The shared background colour; setting it repaints the eight surfaces.
    BackgroundColour background() const { return colour_; }
    void setBackground(const BackgroundColour &colour);

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
    void applyBackground();

    void buttonClicked(Button button);
    void toggleHelp();
    void drawHelp();

    // What the presenter shows.
    void showDrives(const QList<Volume> &volumes, int current) override;
    void selectDrive(int index) override;
    void showFolderPath(const FolderTrail &path) override;
    void showFiles(const QStringList &names) override;
    void selectFile(int row) override;
    void showFileCount(const QString &text) override;
    void showInformation(const QString &name, const QString &dateSize,
                         const QString &path) override;
    void showFields(const std::array<QString, 5> &fields) override;
    void showGenre(const QString &genre) override;
    void showSummary(const QStringList &values) override;
    void showClock(const QString &text) override;
    void showTitleLine(const QString &text) override;

    MainWindowPresenter presenter_;
    SettingsFile settings_;
    BackgroundColour colour_;
    Pauser &pauser_;

    QWidget *buttonBar_ = nullptr;
    std::array<ImageButton *, ButtonCount> barButtons_{};
    QLabel *titleLineLabel_ = nullptr;
    QList<QFrame *> backgroundFrames_;
    QComboBox *driveCombo_ = nullptr;
    FolderTree *folderTree_ = nullptr;
    Mp3ListView *fileList_ = nullptr;
    QStringListModel *fileListModel_ = nullptr;
    QLabel *fileCountLabel_ = nullptr;
    std::array<QLineEdit *, 5> fieldEdits_{};
    std::array<QLabel *, 5> fieldCaptions_{};
    QComboBox *genreCombo_ = nullptr;
    QLabel *genreCaption_ = nullptr;
    QPushButton *updateButton_ = nullptr;
    QFrame *summaryFrame_ = nullptr;
    PictureBox *summaryPicture_ = nullptr;
    QFrame *helpFrame_ = nullptr;
    PictureBox *helpPicture_ = nullptr;
    std::array<QPushButton *, 2> renameButtons_{}; // title-artist, artist-title
    QLabel *clockLabel_ = nullptr;
    QLabel *fileNameLabel_ = nullptr;
    QLabel *fileDateLabel_ = nullptr;
    QLabel *filePathLabel_ = nullptr;
    QTimer *clockTimer_ = nullptr;
    QAction *helpAction_ = nullptr;
};
