#pragma once

#include "AccessibleTree.h"
#include "Harness.h"
#include "MainTexts.h"
#include "MainWindow.h"

#include <memory>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTreeWidget>

// A main window on fake services; the music folder holds a tagged a.mp3, an
// untagged b.mp3 and the folder "sub".
struct Window : ServiceRig {
    Window()
    {
        QDir(dir.path()).mkdir("sub");
        write({{"a.mp3", MpegFrames(1) + Trailer({"Een", "Artiest A"}, 8)},
               {"b.mp3", MpegFrames(1)}});
    }
    // Shows the window, its file list filled from the music folder unless
    // the start alone is wanted.
    MainWindow &open(bool list = true)
    {
        window = std::make_unique<MainWindow>(services());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window was never shown");
        if (list)
            window->presenter().openFolder(dir.path());
        return *window;
    }
    template <typename T = QWidget> T *find(const QString &name) const
    {
        T *child = window->findChild<T *>(name);
        return child ? child : (qFatal("no control named %s", qPrintable(name)), nullptr);
    }
    QAbstractItemView *list() const { return find<QAbstractItemView>(QStringLiteral("List1")); }
    QString text(const QString &name) const
    {
        auto *combo = window->findChild<QComboBox *>(name);
        return combo ? combo->currentText() : find(name)->property("text").toString();
    }

    // One gesture, "what control [entry]": the user's own (row, enter, type,
    // pick, click, key, open) or assistive technology's (select, insert,
    // press, menu).
    void perform(const QString &gesture)
    {
        const QStringList words = gesture.split(' ');
        const QString what = words[0], entry = words.mid(2).join(' ');
        if (what == "open")
            return window->presenter().openFolder(path(words[1]));
        if (what == "key") {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            return QTest::keyClick(window.get(), QKeySequence::fromString(words[1])[0].key());
        }
        QObject *target = window->findChild<QMenu *>(words[1]);
        target = target ? target : find(words[1]);
        auto *view = qobject_cast<QAbstractItemView *>(target);
        auto *combo = qobject_cast<QComboBox *>(target);
        if (what == "row") {
            const QRect rect = view->visualRect(view->model()->index(entry.toInt(), 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        } else if (what == "enter") { // highlight a row, then Enter
            view->setCurrentIndex(
                view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, entry).value(0));
            QTest::keyClick(view, Qt::Key_Return);
        } else if (what == "type") {
            QTest::keyClicks(static_cast<QWidget *>(target), entry);
        } else if (what == "pick") { // a click in the open list of a combo box
            combo->showPopup();
            QTest::qWait(QApplication::doubleClickInterval() + 100);
            const QModelIndex index = combo->model()->index(
                entry == "*" ? combo->currentIndex() : combo->findText(entry), 0);
            combo->view()->scrollTo(index);
            QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {},
                              combo->view()->visualRect(index).center());
        } else if (what == "click") {
            QTest::mouseClick(static_cast<QWidget *>(target), Qt::LeftButton);
        } else if (what == "press") {
            QVERIFY(accessible::Act(target, QAccessibleActionInterface::pressAction()));
            QTest::qWait(200); // a pressed button clicks a moment later
        } else if (what == "insert") {
            accessible::Of(target)->editableTextInterface()->insertText(0, entry);
        } else if (what == "select") {
            QVERIFY(accessible::SelectEntry(combo ? combo->view() : view,
                                            entry == "*" ? combo->currentText() : entry));
            QTest::qWait(0); // the choice follows the selection
        } else if (what == "menu") {
            QAccessibleInterface *menu = accessible::Of(target);
            for (int i = 0; i < menu->childCount(); ++i)
                if (menu->child(i)->text(QAccessible::Name) == entry)
                    menu->child(i)->actionInterface()->doAction(
                        QAccessibleActionInterface::pressAction());
        }
    }

    // What the window shows, what it asked of the desktop and what the disk
    // holds, with the music folder's place left out so that two windows
    // compare.
    QStringList state() const
    {
        const QTreeWidgetItem *item = find<QTreeWidget>(QStringLiteral("Dir1"))->currentItem();
        const QByteArray trailer = ReadFile(path("a.mp3")).right(128).rightJustified(128);
        QStringList listed;
        for (int i = 0; i < list()->model()->rowCount(); ++i)
            listed.append(list()->model()->index(i, 0).data().toString());
        // clang-format off
        QStringList state{"chosen=" + window->presenter().selectedFilePath(),
            "folder=" + window->presenter().listedFolder(),
            "tree=" + (item ? item->data(0, Qt::UserRole).toString() : QString()),
            // The help panel, the summary it covers, the menu's check.
            QStringLiteral("help=%1%2%3").arg(find("HelpFrame")->isVisible())
                .arg(find("Frame4")->isVisible()).arg(find<QAction>("HelpHelp")->isChecked()),
            "messages=" + QString::number(messages.shown.size()),
            "opened=" + shell.opened.join('|'), "listed=" + listed.join('|'),
            "tag=" + QString::fromLatin1(trailer.left(127)).simplified() + ' ' +
                QString::number(uchar(trailer.at(127)))};
        // clang-format on
        for (const char *name :
             {"Label3", "Label5", "Label13", "Text1", "Text2", "Text3", "Text4", "Combo1"})
            state << text(name);
        return state.replaceInStrings(dir.path(), "<music>")
            .replaceInStrings(SoftwarePageUrl(), "<software page>");
    }

    std::unique_ptr<MainWindow> window;
};
