#pragma once

#include "TestFiles.h"

#include "Clock.h"
#include "FolderLister.h"
#include "MainWindow.h"
#include "MessageService.h"
#include "Pauser.h"
#include "ShellLauncher.h"
#include "TagFileService.h"

#include <functional>
#include <memory>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// MP3 files for tests: real MPEG frames, then an optional ID3v1 trailer.
inline QByteArray Audio(int frames = 1)
{
    return MpegFrames(frames);
}

inline QByteArray Trailer(const QList<QByteArray> &fields, int genre = 255, char pad = ' ')
{
    QByteArray trailer = "TAG";
    for (int i = 0, width = 30; i < 5; ++i, width = i == 3 ? 4 : 30)
        trailer += fields.value(i).left(width).leftJustified(width, pad);
    return trailer + char(genre);
}

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

// The real tag writes and renames, recorded; writes can fail on demand.
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

// A main window with fake services, started in a temporary folder with its
// own settings file.
struct WindowHarness {
    MainWindow &open()
    {
        window = std::make_unique<MainWindow>(MainWindowServices{
            messages, clock, shell, pauser, folders, tagFiles, settingsPath, dir.path()});
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window was never shown");
        return *window;
    }
    // Writes the files, opens their folder and clicks a row of List1 (-1: none).
    MainWindow &openWith(const QList<QPair<QString, QByteArray>> &files, int row = -1)
    {
        for (const auto &file : files)
            TryWriteFile(path(file.first), file.second);
        open().openFolder(dir.path());
        if (row >= 0)
            clickRow(row);
        return *window;
    }
    template <typename T = QWidget> T *find(const QString &name) const
    {
        T *child = window->findChild<T *>(name);
        return child ? child : (qFatal("no control named %s", qPrintable(name)), nullptr);
    }
    QAbstractItemView *list() const { return find<QAbstractItemView>(QStringLiteral("List1")); }
    void clickRow(int row)
    {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void click(const QString &name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void setText(const QString &name, const QString &text)
    {
        auto *combo = window->findChild<QComboBox *>(name);
        combo ? combo->setEditText(text) : void(find(name)->setProperty("text", text));
    }
    QString text(const QString &name) const
    {
        auto *combo = window->findChild<QComboBox *>(name);
        return combo ? combo->currentText() : find(name)->property("text").toString();
    }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < list()->model()->rowCount(); ++i)
            names.append(list()->model()->index(i, 0).data().toString());
        return names;
    }
    int selectedRow() const { return list()->selectionModel()->selectedRows().value(0).row(); }
    QString dirPath() const // the folder Dir1 is in
    {
        const QTreeWidgetItem *item = find<QTreeWidget>(QStringLiteral("Dir1"))->currentItem();
        return item ? item->data(0, Qt::UserRole).toString() : QString();
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir, configDir; // the music; the settings file
    QString settingsPath = configDir.filePath(QStringLiteral("Brelko.ini"));
    FakeMessages messages;
    FakeClock clock;
    FakeShell shell;
    FakePauser pauser;
    SystemFolderLister folders;
    FakeTagFiles tagFiles;
    std::unique_ptr<MainWindow> window;
};
