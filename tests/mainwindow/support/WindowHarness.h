#pragma once

#include "Fakes.h"
#include "MainWindow.h"

#include <memory>
#include <QAbstractItemView>
#include <QLabel>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// A main window with fake services, started in a temporary folder with its
// own settings file.
struct WindowHarness {
    explicit WindowHarness(const QString &startFolder = QString())
    {
        start = startFolder.isEmpty() ? dir.path() : startFolder;
        settingsPath = configDir.filePath(QStringLiteral("Brelko.ini"));
    }

    MainWindow &open()
    {
        const MainWindowServices services{messages, clock,    shell,        pauser,
                                          folders,  tagFiles, settingsPath, start};
        window = std::make_unique<MainWindow>(services);
        return *window;
    }

    template <typename T> T *find(const QString &name) const
    {
        T *child = window->findChild<T *>(name);
        if (!child)
            qFatal("no control named %s", qPrintable(name));
        return child;
    }

    // Clicks row of List1 with the mouse, as a user picks a file.
    void clickRow(int row)
    {
        auto *list = find<QAbstractItemView>(QStringLiteral("List1"));
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QTreeWidgetItem *folderItem(const QString &name) const
    {
        for (QTreeWidgetItemIterator it(find<QTreeWidget>(QStringLiteral("Dir1"))); *it; ++it) {
            if ((*it)->text(0) == name)
                return *it;
        }
        return nullptr;
    }

    // Double-clicks a folder of Dir1 by its name, as a user opens it.
    bool doubleClickFolder(const QString &name)
    {
        auto *tree = find<QTreeWidget>(QStringLiteral("Dir1"));
        QTreeWidgetItem *item = folderItem(name);
        if (!item)
            return false;
        const QRect rect = tree->visualItemRect(item);
        // A real double click: press and release, then the double-click event
        // (QTest's double click alone sends only the last).
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
        return true;
    }

    // The entries of List1 as it shows them.
    QStringList listed() const
    {
        auto *list = find<QAbstractItemView>(QStringLiteral("List1"));
        QStringList names;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            names.append(list->model()->index(i, 0).data().toString());
        return names;
    }

    QString dirPath() const
    {
        auto *tree = find<QTreeWidget>(QStringLiteral("Dir1"));
        return tree->currentItem() ? tree->currentItem()->data(0, Qt::UserRole).toString()
                                   : QString();
    }

    int selectedRow() const
    {
        auto *list = find<QAbstractItemView>(QStringLiteral("List1"));
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }

    QString text(const QString &name) const
    {
        if (auto *label = window->findChild<QLabel *>(name))
            return label->text();
        return find<QWidget>(name)->property("text").toString();
    }

    QTemporaryDir dir;       // where the music is
    QTemporaryDir configDir; // where the settings file is
    QString start;
    QString settingsPath;
    FakeMessages messages;
    FakeClock clock;
    FakeShell shell;
    FakePauser pauser;
    FakeFolders folders;
    FakeTagFiles tagFiles;
    std::unique_ptr<MainWindow> window;
};
