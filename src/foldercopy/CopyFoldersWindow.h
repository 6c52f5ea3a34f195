#pragma once

#include "SettingsFile.h"
#include "ShellOperation.h"

#include <QDialog>
#include <QString>

class FolderChooser;
class MessageService;
class Pauser;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// The two folders of the copy window. They outlive the window: the caller
// keeps one for the whole run and hands it to every opening.
struct CopyFolderPaths {
    QString sourcePath;
    QString destinationPath;
};

// What the copy window needs from outside.
struct CopyFoldersServices {
    FolderChooser &chooser;
    FileOperation &engine; // runs on a worker thread for a responsive window
    Pauser &pauser;
    MessageService &messages;
};

// Opens the " Copy Folders" window modally over owner and returns when the
// user has closed it.
void ShowCopyFoldersWindow(QWidget *owner, CopyFolderPaths &paths, const BackgroundColour &colour,
                           CopyFoldersServices services);

// The window in which the user copies or moves a whole folder into another.
class CopyFoldersWindow : public QDialog {
    Q_OBJECT

public:
    CopyFoldersWindow(CopyFolderPaths &paths, const BackgroundColour &colour,
                      CopyFoldersServices services, QWidget *parent = nullptr);

    qint32 actionCode() const { return actionCode_; }
    ShellOptions shellOptions() const;
    // The text of the question "Prompt me before" asks.
    static QString warningText(const QString &source, const QString &destination);

    // Every way out (Escape, the close box, Exit) ends up here; it is
    // refused while an operation runs, whose folders are then half copied.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls(const BackgroundColour &colour);
    void buildOptions(QWidget *frame1, const QPalette &coloured);
    void buildButtons(QWidget *frame1, const QPalette &coloured);
    void setKeyboardOrder();

    void optionChosen(int index);
    void selectClicked(int index);
    void startClicked();
    void exitClicked();
    qint32 performShellAction(const QString &source, const QString &destination);

    CopyFolderPaths &paths_;
    CopyFoldersServices services_;
    qint32 actionCode_ = FO_COPY;
    bool operationRunning_ = false;
    QLineEdit *sourceEdit_ = nullptr;
    QLineEdit *destinationEdit_ = nullptr;
    QRadioButton *actionOptions_[3] = {};
    QCheckBox *optionChecks_[5] = {};
};
