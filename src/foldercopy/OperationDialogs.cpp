#include "OperationDialogs.h"

#include "MessageService.h"

#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace {
const int ProgressSteps = 1000;
// KB and MB of 1024, as file managers count.
const QLocale::DataSizeFormats Traditional = QLocale::DataSizeTraditionalFormat;
} // namespace

OperationDialogs::OperationDialogs(QWidget *owner, MessageService &messages)
    : owner_(owner), messages_(messages)
{
}

OperationDialogs::~OperationDialogs()
{
    finished();
}

ConflictAnswer OperationDialogs::askReplace(const QString &target)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm File Replace"),
                    QStringLiteral("This folder already contains a file named\n%1\n\n"
                                   "Would you like to replace the existing file with the new one?")
                        .arg(target),
                    QMessageBox::NoButton, owner_);
    box.setObjectName(QStringLiteral("ConfirmReplace"));
    QPushButton *replace = box.addButton(QStringLiteral("Replace"), QMessageBox::YesRole);
    QPushButton *skip = box.addButton(QStringLiteral("Skip"), QMessageBox::NoRole);
    QPushButton *replaceAll = box.addButton(QStringLiteral("Replace all"), QMessageBox::YesRole);
    QPushButton *skipAll = box.addButton(QStringLiteral("Skip all"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(replace);
    box.setEscapeButton(cancel);
    box.exec();
    const QAbstractButton *chosen = box.clickedButton();
    if (chosen == replace)
        return ConflictAnswer::Replace;
    if (chosen == skip)
        return ConflictAnswer::Skip;
    if (chosen == replaceAll)
        return ConflictAnswer::ReplaceAll;
    if (chosen == skipAll)
        return ConflictAnswer::SkipAll;
    return ConflictAnswer::Cancel;
}

ErrorAnswer OperationDialogs::askError(const QString &path, const QString &reason)
{
    MessageRequest request;
    request.text = QStringLiteral("Cannot copy or move\n%1\n\n%2").arg(path, reason);
    request.caption = QStringLiteral("Error");
    request.buttons = MessageButtons::RetrySkipCancel;
    request.icon = MessageIcon::Critical;
    request.defaultAnswer = MessageAnswer::Retry;
    switch (messages_.show(owner_, request)) {
    case MessageAnswer::Retry:
        return ErrorAnswer::Retry;
    case MessageAnswer::Skip:
        return ErrorAnswer::Skip;
    default:
        return ErrorAnswer::Cancel;
    }
}

bool OperationDialogs::askCreateFolder(const QString &path)
{
    MessageRequest request;
    request.text =
        QStringLiteral("The folder\n%1\ndoes not exist.\n\nDo you want to create it?").arg(path);
    request.caption = QStringLiteral("Confirm Folder Create");
    request.buttons = MessageButtons::YesNo;
    request.icon = MessageIcon::Question;
    request.defaultAnswer = MessageAnswer::Yes;
    return messages_.show(owner_, request) == MessageAnswer::Yes;
}

void OperationDialogs::showProgress(const OperationProgress &progress)
{
    if (cancelled_)
        return;
    if (!progress_) {
        progress_ = new QProgressDialog(owner_);
        progress_->setObjectName(QStringLiteral("CopyProgress"));
        progress_->setWindowTitle(QStringLiteral("Copying..."));
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setCancelButtonText(QStringLiteral("Cancel"));
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setMinimumDuration(0);
        progress_->setRange(0, ProgressSteps);
        progress_->setMinimumWidth(420);
        QObject::connect(progress_, &QProgressDialog::canceled, [this] { cancelled_ = true; });
        progress_->show();
    }
    progress_->setLabelText(progressText(progress));
    const double share =
        progress.bytesTotal > 0 ? double(progress.bytesDone) / double(progress.bytesTotal) : 0.0;
    progress_->setValue(qBound(0, int(share * ProgressSteps), ProgressSteps));
}

QString OperationDialogs::progressText(const OperationProgress &progress)
{
    const QLocale english(QLocale::English);
    const QString amount = QStringLiteral("%1 of %2")
                               .arg(english.formattedDataSize(progress.bytesDone, 2, Traditional),
                                    english.formattedDataSize(progress.bytesTotal, 2, Traditional));
    if (progress.currentName.isEmpty())
        return amount;
    return progress.currentName + QLatin1Char('\n') + amount;
}

bool OperationDialogs::cancelRequested()
{
    return cancelled_;
}

void OperationDialogs::report(const QString &message)
{
    MessageRequest request;
    request.text = message;
    request.caption = QStringLiteral(" Copy Folders");
    request.icon = MessageIcon::Exclamation;
    messages_.show(owner_, request);
}

void OperationDialogs::finished()
{
    delete progress_;
}
