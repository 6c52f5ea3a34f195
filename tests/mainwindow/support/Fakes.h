#pragma once

#include "Clock.h"
#include "FolderLister.h"
#include "MessageService.h"
#include "Pauser.h"
#include "ShellLauncher.h"
#include "TagFileService.h"

#include <functional>
#include <QList>
#include <QSet>

// Records every message box and answers with a scripted answer.
class FakeMessages : public MessageService {
public:
    MessageAnswer show(QWidget *, const MessageRequest &request) override
    {
        shown.append(request);
        return answer;
    }
    QList<MessageRequest> shown;
    MessageAnswer answer = MessageAnswer::Yes;
};

// A fixed time, or one that moves on a second at every reading.
class FakeClock : public Clock {
public:
    QDateTime now() const override
    {
        ++readings;
        return advancing ? time.addSecs(readings) : time;
    }
    QDateTime time = QDateTime(QDate(2024, 3, 7), QTime(9, 5, 3));
    bool advancing = false;
    mutable int readings = 0;
};

class FakeShell : public ShellLauncher {
public:
    void open(const QString &target) override { opened.append(target); }
    QStringList opened;
};

// Records each pause; what happens "during" it is up to the test.
class FakePauser : public Pauser {
public:
    void pause(float seconds) override
    {
        pauses.append(seconds);
        if (during)
            during();
    }
    QList<float> pauses;
    std::function<void()> during;
};

// The real file system, with the volumes and the readable drives replaced.
class FakeFolders : public SystemFolderLister {
public:
    QList<Volume> volumes() override { return fakeVolumes; }
    bool canList(const QString &folder) override
    {
        return !unreadable.contains(folder) && SystemFolderLister::canList(folder);
    }
    QList<Volume> fakeVolumes = {{QStringLiteral("/"), QStringLiteral("/")}};
    QSet<QString> unreadable;
};

// The real tag writes and renames, counted, each able to fail on demand.
class FakeTagFiles : public TagFileService {
public:
    bool writeTag(const QString &path, Id3v1Tag &tag) override
    {
        writes.append(path);
        return failWrites ? false : TagFileService::writeTag(path, tag);
    }
    bool rename(const QString &folder, const QString &oldName, const QString &newName) override
    {
        renames.append({folder, oldName, newName});
        return TagFileService::rename(folder, oldName, newName);
    }
    QStringList writes;
    QList<QStringList> renames;
    bool failWrites = false;
};
