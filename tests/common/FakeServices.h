#pragma once

// Stand-ins for the desktop's services, recording what they are asked.

#include "Clock.h"
#include "MessageService.h"
#include "Pauser.h"
#include "ShellLauncher.h"

#include <functional>
#include <QList>
#include <QStringList>

// Records every message box and answers with a scripted answer.
struct FakeMessages : MessageService {
    MessageAnswer show(QWidget *, const MessageRequest &r) override
    {
        return shown.append(r), answer;
    }
    QList<MessageRequest> shown;
    MessageAnswer answer = MessageAnswer::Yes;
};

struct FakeClock : Clock {
    QDateTime now() const override { return time; }
    QDateTime time = QDateTime(QDate(2024, 3, 7), QTime(9, 5, 3));
};

struct FakeShell : ShellLauncher {
    void open(const QString &target) override { opened.append(target); }
    QStringList opened;
};

// Records each pause; what happens "during" it is up to the test.
struct FakePauser : Pauser {
    void pause(float seconds) override { pauses.append(seconds), during ? during() : void(); }
    QList<float> pauses;
    std::function<void()> during;
};
