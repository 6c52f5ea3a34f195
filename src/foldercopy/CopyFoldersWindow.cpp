#include "CopyFoldersWindow.h"

#include "FolderChooser.h"
#include "MessageService.h"
#include "OperationDialogs.h"
#include "Pauser.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

namespace {
// The program's one mouse pointer, kept as a single override so that
// repeated runs do not pile pointers up.
void SetProgramPointer(Qt::CursorShape shape)
{
    if (QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(shape);
    else
        QGuiApplication::setOverrideCursor(shape);
}
} // namespace

void ShowCopyFoldersWindow(QWidget *owner, CopyFolderPaths &paths, const BackgroundColour &colour,
                           CopyFoldersServices services)
{
    CopyFoldersWindow window(paths, colour, services, owner);
    window.exec();
}

CopyFoldersWindow::CopyFoldersWindow(CopyFolderPaths &paths, const BackgroundColour &colour,
                                     CopyFoldersServices services, QWidget *parent)
    : QDialog(parent), paths_(paths), services_(services)
{
    setObjectName(QStringLiteral("CopyMap"));
    setModal(true);
    buildControls(colour);
}

ShellOptions CopyFoldersWindow::shellOptions() const
{
    return {optionChecks_[0]->isChecked(), optionChecks_[1]->isChecked(),
            optionChecks_[2]->isChecked(), optionChecks_[3]->isChecked()};
}

QString CopyFoldersWindow::warningText(const QString &source, const QString &destination)
{
    const QString lineBreak = QStringLiteral("\r\n");
    return QStringLiteral("You have chosen to move or copy the folder and contents of :") +
           lineBreak + source + lineBreak + lineBreak + QStringLiteral("to the destination:") +
           lineBreak + destination + lineBreak + lineBreak +
           QStringLiteral("Are you sure that you want to proceed with this action?");
}

void CopyFoldersWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    sourceEdit_->setFocus();
}

void CopyFoldersWindow::done(int result)
{
    if (!operationRunning_)
        QDialog::done(result);
}

void CopyFoldersWindow::optionChosen(int index)
{
    actionCode_ = index;
}

void CopyFoldersWindow::selectClicked(int index)
{
    if (operationRunning_)
        return;
    const bool source = index == 0;
    const QString chosen = services_.chooser.chooseFolder(
        this, source ? QStringLiteral("Select the SOURCE to move or copy:")
                     : QStringLiteral("Select the folder DESTINATION:"));
    if (chosen.isEmpty())
        return;
    (source ? paths_.sourcePath : paths_.destinationPath) = chosen;
    (source ? sourceEdit_ : destinationEdit_)->setText(chosen);
}

void CopyFoldersWindow::startClicked()
{
    if (operationRunning_)
        return;
    SetProgramPointer(Qt::WaitCursor);
    // Local copies: during the pause below another click may change the window.
    const QString source = paths_.sourcePath;
    const QString destination = paths_.destinationPath;
    bool proceed = true;
    if (optionChecks_[4]->isChecked()) {
        MessageRequest warning;
        warning.text = warningText(source, destination);
        warning.caption = QStringLiteral("Warning");
        warning.buttons = MessageButtons::YesNo;
        warning.icon = MessageIcon::Exclamation;
        warning.defaultAnswer = MessageAnswer::Yes;
        proceed = services_.messages.show(this, warning) == MessageAnswer::Yes;
    }
    if (proceed)
        performShellAction(source, destination);
    Pauser &pauser = services_.pauser;
    pauser.pause(2.0f);
    SetProgramPointer(Qt::ArrowCursor);
}

qint32 CopyFoldersWindow::performShellAction(const QString &source, const QString &destination)
{
    const ShellRequest request{actionCode_, source, destination,
                               static_cast<quint16>(GetShellFlags(shellOptions()))};
    OperationDialogs dialogs(this, services_.messages);
    operationRunning_ = true;
    const qint32 result = services_.engine.perform(request, dialogs);
    operationRunning_ = false;
    return result;
}

void CopyFoldersWindow::exitClicked()
{
    close();
}
