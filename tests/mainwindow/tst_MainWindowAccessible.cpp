// The main window as a screen reader meets it: the names it hears, that they
// follow the screen, and that what assistive technology does has the effect
// of the click or key it stands for.

#include "AccessibleTree.h"
#include "DesktopServices.h"
#include "Harness.h"
#include "MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QList<QPair<QString, QByteArray>> Files = {
    {"a.mp3", MpegFrames(1) + Trailer({"Een", "Artiest A"}, 8)}, {"b.mp3", MpegFrames(1)}};

// A main window on fake services, opened on the music folder's files.
struct WindowHarness : ServiceRig {
    WindowHarness()
    {
        QDir(dir.path()).mkdir("sub");
        write(Files);
        window = std::make_unique<MainWindow>(services());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window was never shown");
        window->presenter().openFolder(dir.path());
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
    QString dirPath() const // the folder Dir1 is in
    {
        const QTreeWidgetItem *item = find<QTreeWidget>(QStringLiteral("Dir1"))->currentItem();
        return item ? item->data(0, Qt::UserRole).toString() : QString();
    }
    std::unique_ptr<MainWindow> window;
};
} // namespace

class MainWindowAccessibleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowHarness> h;

    QObject *control(WindowHarness &harness, const QString &name)
    {
        if (auto *menu = harness.window->findChild<QMenu *>(name))
            return menu;
        return harness.find(name);
    }

    // One gesture, "what control [entry]": the user's own (click, row, enter,
    // type, pick, key, tick, open) or assistive technology's (press, insert, select,
    // menu).
    void perform(WindowHarness &harness, const QString &gesture)
    {
        const QStringList words = gesture.split(' ');
        const QString what = words[0], entry = words.mid(2).join(' ');
        if (what == "tick")
            return harness.window->presenter().tick();
        if (what == "row")
            return harness.clickRow(entry.toInt());
        if (what == "open")
            return harness.window->presenter().openFolder(harness.path(words[1]));
        if (what == "key") {
            harness.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(harness.window.get()));
            return QTest::keyClick(harness.window.get(), Qt::Key_F1);
        }
        QObject *target = control(harness, words[1]);
        auto *view = qobject_cast<QAbstractItemView *>(target);
        auto *combo = qobject_cast<QComboBox *>(target);
        if (what == "click")
            QTest::mouseClick(static_cast<QWidget *>(target), Qt::LeftButton);
        else if (what == "enter") { // highlight a row, then Enter
            view->setCurrentIndex(
                view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, entry).value(0));
            QTest::keyClick(view, Qt::Key_Return);
        } else if (what == "type")
            QTest::keyClicks(static_cast<QWidget *>(target), entry);
        else if (what == "pick") { // a click in the open list of a combo box
            combo->showPopup();
            QTest::qWait(QApplication::doubleClickInterval() + 100);
            const QModelIndex index = combo->model()->index(
                entry == "*" ? combo->currentIndex() : combo->findText(entry), 0);
            combo->view()->scrollTo(index);
            QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {},
                              combo->view()->visualRect(index).center());
        } else if (what == "press") {
            QVERIFY(accessible::Act(target, QAccessibleActionInterface::pressAction()));
            QTest::qWait(200); // a pressed button clicks a moment later
        } else if (what == "insert")
            accessible::Of(target)->editableTextInterface()->insertText(0, entry);
        else if (what == "select") {
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

    // What the window shows and the disk holds, with the music folder's
    // place left out so that two windows compare.
    static QStringList State(WindowHarness &harness)
    {
        QStringList state{harness.window->presenter().selectedFilePath(), harness.dirPath(),
                          harness.listed().join('|')};
        for (const char *name :
             {"Label3", "Label5", "Label13", "Text1", "Text2", "Text3", "Text4", "Combo1"})
            state << harness.text(name);
        state << QString::number(harness.find(QStringLiteral("HelpFrame"))->isVisible())
              << QString::number(harness.messages.shown.size())
              << QString::fromLatin1(ReadFile(harness.path("a.mp3")).right(128).toHex());
        return state.replaceInStrings(harness.dir.path(), "<music>");
    }

private Q_SLOTS:
    void init() { h = std::make_unique<WindowHarness>(); }
    void cleanup() { h.reset(); }

    // The name (or, for a combo box, its label) and the description that a
    // screen reader gives each control; a tooltip is the description (its
    // first line here).
    void heard_data()
    {
        QTest::addColumn<QString>("heard");
        QTest::addColumn<QString>("description");
        // clang-format off
        const char *const rows[][3] = {
            {"MenuPic", "Knoppenbalk", "Velden leeg"}, {"Knop_0", "Velden leeg", " Velden leeg "},
            {"Knop_1", "Achtergrondkleuren", " Achtergrondkleuren "},
            {"Knop_2", "Copy Folders", " Copy Folders "}, {"Knop_3", "Tags Afdrukken", " Tags Afdrukken "},
            {"Knop_4", "Meer Software", " Meer Software "}, {"Drive1", "Station", "Station"},
            {"Dir1", "Mappen", ""}, {"List1", "Bestanden", ""}, {"Pic", "Tags", "Welkom bij Brelko"},
            {"HelpPic", "Uitleg Brelko", ""}, {"Text1", "Titel", ""}, {"Text2", "Artiest", ""},
            {"Text3", "Album", ""}, {"Text4", "Jaar", ""}, {"Text5", "Informatie", ""},
            {"Combo1", "Genre", "Genre"}, {"UpdateKnop", "Update", " Wijzigen tags "},
            {"RenameKnop_0", "Rename Titel - Artiest", " Rename bestand "},
            {"RenameKnop_1", "Rename Artiest - Titel", " Rename bestand "}, {"Label13", "Files : 2", ""}};
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row[0]) << row[1] << row[2];
    }
    void heard()
    {
        QFETCH(QString, heard);
        QFETCH(QString, description);
        QWidget *widget = h->find(QTest::currentDataTag());
        QAccessibleInterface *node = accessible::Of(widget);
        QCOMPARE(node->text(QAccessible::Description).section('\n', 0, 0), description);
        QVERIFY(widget->toolTip().isEmpty() || widget->toolTip() == description);
        if (node->role() == QAccessible::ComboBox) {
            const auto labels = node->relations(QAccessible::Label);
            QVERIFY(labels.size() == 1 && labels[0].first->text(QAccessible::Name) == heard);
        } else {
            QCOMPARE(node->text(QAccessible::Name), heard);
        }
        QCOMPARE(accessible::Unnamed(h->window.get()), QString());
    }

    // After each change every label is heard as it is shown, and every
    // control keeps a name.
    void namesFollowTheScreen_data()
    {
        QTest::addColumn<QStringList>("gestures");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shown");
        QTest::newRow("folder listed") << QStringList() << "Label13"
                                       << "Files : 2";
        QTest::newRow("file shown") << QStringList{"row List1 0"} << "Label3"
                                    << "Bestand ..............: a.mp3";
        QTest::newRow("cleared") << QStringList{"row List1 0", "press Knop_0"} << "Label3"
                                 << "Bestand ..............: ";
        QTest::newRow("clock ticked") << QStringList{"tick Main"} << "KlokLabel"
                                      << "9:05:03 ";
        QTest::newRow("help shown") << QStringList{"key F1"} << "Label2"
                                    << "Brelko";
    }
    void namesFollowTheScreen()
    {
        QFETCH(QStringList, gestures);
        QFETCH(QString, label);
        QFETCH(QString, shown);
        for (const QString &gesture : gestures)
            perform(*h, gesture);
        QTRY_COMPARE(h->text(label), shown);
        QCOMPARE(accessible::Of(h->find(label))->text(QAccessible::Name), shown);
        QCOMPARE(accessible::NamesNotShown(h->window.get()), QString());
        QCOMPARE(accessible::Unnamed(h->window.get()), QString());
    }

    // What is written in the picture boxes is read out line by line.
    void picturesRead_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("line");
        QTest::newRow("welcome") << ""
                                 << "Pic"
                                 << "Welkom bij Brelko";
        QTest::newRow("tag shown") << "row List1 0"
                                   << "Pic"
                                   << "Artiest... : Artiest A";
        QTest::newRow("help shown") << "key F1"
                                    << "HelpPic"
                                    << "Afdrukken van de tags";
    }
    void picturesRead()
    {
        QFETCH(QString, gesture);
        QFETCH(QString, box);
        QFETCH(QString, line);
        if (!gesture.isEmpty())
            perform(*h, gesture);
        const QString heard = accessible::Of(h->find(box))->text(QAccessible::Description);
        QVERIFY2(heard.split('\n').contains(line), qPrintable(heard));
    }

    // Assistive technology reaches what the mouse and keyboard reach, with
    // the same effect on the window and the disk.
    void sameAsTheMouse_data()
    {
        QTest::addColumn<QStringList>("user");
        QTest::addColumn<QStringList>("assistive");
        QTest::newRow("file chosen")
            << QStringList{"row List1 1"} << QStringList{"select List1 b.mp3"};
        QTest::newRow("folder chosen")
            << QStringList{"enter Dir1 sub"} << QStringList{"select Dir1 sub"};
        QTest::newRow("folder above chosen")
            << QStringList{"open sub", "enter Dir1 /"} << QStringList{"open sub", "select Dir1 /"};
        QTest::newRow("fields emptied")
            << QStringList{"click Knop_0"} << QStringList{"press Knop_0"};
        QTest::newRow("tag edited and written")
            << QStringList{"row List1 0", "type Text3 Album", "click UpdateKnop"}
            << QStringList{"select List1 a.mp3", "insert Text3 Album", "press UpdateKnop"};
        QTest::newRow("genre chosen")
            << QStringList{"pick Combo1 Jazz"} << QStringList{"select Combo1 Jazz"};
        // The start folder's drive, chosen from another folder, opens it again.
        QTest::newRow("drive chosen") << QStringList{"open sub", "pick Drive1 *"}
                                      << QStringList{"open sub", "select Drive1 *"};
        QTest::newRow("help shown") << QStringList{"key F1"} << QStringList{"menu Help Help"};
    }
    void sameAsTheMouse()
    {
        QFETCH(QStringList, user);
        QFETCH(QStringList, assistive);
        WindowHarness other;
        // All gestures but the last set the scene, alike in both windows.
        for (qsizetype i = 0; i + 1 < user.size(); ++i) {
            perform(*h, user[i]);
            perform(other, assistive[i]);
        }
        const QStringList before = State(*h);
        QTRY_COMPARE(State(other), before);
        perform(*h, user.last());
        perform(other, assistive.last());
        QTRY_COMPARE(State(other), State(*h));
        QVERIFY(State(*h) != before);
    }

    // The picture buttons take no focus; the bar that holds them, first in
    // the keyboard order, chooses one with the arrows and presses it.
    void buttonBarKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("pressed"); // the buttons whose action ran
        QTest::addColumn<QString>("heard");   // the bar's description at the end
        const char *const rows[][4] = {
            {"Space: the first", "Space", "0", "Velden leeg"},
            {"Right twice, Enter", "Right Right Return", "2", "Copy Folders"},
            {"Left wraps to the last", "Left Space", "4", "Meer Software"},
            {"arrows alone", "Right Right Right Left", "", "Copy Folders"}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << row[1] << row[2] << row[3];
    }
    void buttonBarKeys()
    {
        QFETCH(QString, keys);
        QFETCH(QString, pressed);
        QFETCH(QString, heard);
        QString ran;
        for (int i : {1, 2, 3})
            h->window->presenter().setButtonAction(MainWindow::Button(i),
                                                   [&ran, i] { ran += QString::number(i); });
        QWidget *bar = h->find("MenuPic");
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        QTRY_VERIFY(bar->hasFocus()); // the first control of the keyboard order
        for (const QString &key : keys.split(' '))
            QTest::keyClick(bar, QKeySequence::fromString(key)[0].key());
        ran += QString(h->text("Label13") == "Files : 0" ? "0" : "") +
               QString(h->shell.opened.isEmpty() ? "" : "4");
        QCOMPARE(ran, pressed);
        QCOMPARE(accessible::Of(bar)->text(QAccessible::Description), heard);
    }

    // A message box names its text and buttons, and answers what its
    // button's press action chose.
    void messageBox()
    {
        QtMessageService messages;
        accessible::ModalVisit visit;
        accessible::PressInNextModal("No", visit);
        MessageRequest question;
        question.text = QStringLiteral("Weet je zeker dat je deze tags wilt wijzigen?");
        question.buttons = MessageButtons::YesNo;
        QVERIFY(messages.show(h->window.get(), question) == MessageAnswer::No);
        QCOMPARE(visit.unnamed, QString());
        QCOMPARE(visit.unheard, QString());
    }
};

QTEST_MAIN(MainWindowAccessibleTest)
#include "tst_MainWindowAccessible.moc"
