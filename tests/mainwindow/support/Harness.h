#pragma once

#include "FakeServices.h"
#include "TestFiles.h"

#include "FolderLister.h"
#include "MainWindowPresenter.h"
#include "TagFileService.h"

// The real tag reads, writes and renames, recorded; writes can fail on demand.
struct FakeTagFiles : TagFileService {
    bool writeTag(const QString &path, Id3v1Tag &tag) override
    {
        writes.append(path);
        return !failWrites && TagFileService::writeTag(path, tag);
    }
    bool rename(const QString &folder, const QString &from, const QString &to) override
    {
        return ++renames, TagFileService::rename(folder, from, to);
    }
    QStringList writes;
    int renames = 0;
    bool failWrites = false;
};

// The desktop's services as fakes, a temporary music folder the program
// starts in and a settings file of its own.
struct ServiceRig {
    MainWindowServices services()
    {
        return {messages, clock, shell, pauser, *folders, *tags, settingsPath, startFolder};
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    void write(const QList<QPair<QString, QByteArray>> &files)
    {
        for (const auto &file : files)
            WriteFile(path(file.first), file.second);
    }

    QTemporaryDir dir, configDir; // the music; the settings file
    QString settingsPath = configDir.filePath(QStringLiteral("Brelko.ini"));
    FakeMessages messages;
    FakeClock clock;
    FakeShell shell;
    FakePauser pauser;
    SystemFolderLister systemFolders;
    FolderLister *folders = &systemFolders;
    FakeTagFiles tagFiles;
    TagFileService *tags = &tagFiles;
    QString startFolder = dir.path();
};
