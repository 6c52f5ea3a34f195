#pragma once

#include "OperationUi.h"

#include <QPointer>

class MessageService;
class QProgressDialog;
class QWidget;

// The questions, progress and reports of a running copy or move, as dialogs
// over the copy window.
class OperationDialogs : public OperationUi {
public:
    OperationDialogs(QWidget *owner, MessageService &messages);
    ~OperationDialogs() override;

    ConflictAnswer askReplace(const QString &target) override;
    ErrorAnswer askError(const QString &path, const QString &reason) override;
    bool askCreateFolder(const QString &path) override;
    void showProgress(const OperationProgress &progress) override;
    bool cancelRequested() override;
    void report(const QString &message) override;
    void finished() override;

    // The text of the progress dialog: the file name on a line of its own
    // when there is one, then how much is done.
    static QString progressText(const OperationProgress &progress);

private:
    QWidget *owner_;
    MessageService &messages_;
    QPointer<QProgressDialog> progress_;
    bool cancelled_ = false;
};
