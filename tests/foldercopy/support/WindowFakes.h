#pragma once

// Stand-ins for the services the copy window is given.

#include "FolderChooser.h"
#include "MessageService.h"
#include "OperationUi.h"
#include "Pauser.h"
#include "ShellOperation.h"

#include <functional>
#include <QCursor>
#include <QGuiApplication>
#include <QList>
#include <QStringList>

namespace fakes {

inline Qt::CursorShape ProgramPointer()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

class Chooser : public FolderChooser {
public:
    QStringList answers;
    QStringList titles;
    QString chooseFolder(QWidget *, const QString &title) override
    {
        titles << title;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

class Engine : public FileOperation {
public:
    QList<ShellRequest> requests;
    QList<Qt::CursorShape> pointers;
    qint32 perform(const ShellRequest &request, OperationUi &) override
    {
        requests << request;
        pointers << ProgramPointer();
        return ResultOk;
    }
};

class Messages : public MessageService {
public:
    QList<MessageRequest> shown;
    MessageAnswer answer = MessageAnswer::Yes;
    MessageAnswer show(QWidget *, const MessageRequest &request) override
    {
        shown << request;
        return answer;
    }
};

class RecordingPauser : public Pauser {
public:
    QList<float> pauses;
    QList<Qt::CursorShape> pointers;
    std::function<void()> during;
    void pause(float seconds) override
    {
        pauses << seconds;
        pointers << ProgramPointer();
        if (during)
            during();
    }
};

} // namespace fakes
