// The main window as widgets and as a screen reader meets it: the mouse, the
// keyboard and assistive technology reach each control with the same effect,
// the names it is heard by follow the screen, the focus order, the help
// panel, the press animation, the colour kept at close, and the whole window
// rendered against reference pictures.
#include "DesktopServices.h"
#include "RenderCheck.h"
#include "TableRows.h"
#include "Window.h"

#include <QAction>
#include <utility>

namespace {
const QByteArray SettingsHead = "\"Quarvel Software 2011\"\r\n\"--------------------------\"\r\n";

// A fixed disk for the pictures: one drive, the folder "/muziek" with two
// files and a subfolder, and one tag that needs no file.
struct FixedDisk : FolderLister, TagFileService {
    FolderContents contents(const QString &) override
    {
        return {{"Alpha - Beta.mp3", "Zonder tag.mp3"}, {"Rock"}, true};
    }
    QList<Volume> volumes() override { return {{"/", "/"}}; }
    bool canList(const QString &) override { return true; }
    bool readTag(const QString &path, Id3v1Tag &tag) override
    {
        tag = Id3v1Tag::parse(Trailer({"Alpha", "Beta", "Gamma", "1999", "Een opmerking"}, 17));
        return path.endsWith("Alpha - Beta.mp3");
    }
};

// clang-format off
const struct { const char *name; } kRenders[] = {{"welcome"}, {"help"}, {"tag"}};

// Each gesture, "what control [entry]", in turn: the user's, assistive
// technology's, then a line of the state after them.
const struct { const char *name, *user, *assistive, *after; } kGestures[] = {
    {"file chosen", "row List1 1", "select List1 b.mp3", "Bestand ..............: b.mp3"},
    {"folder chosen", "enter Dir1 sub", "select Dir1 sub", "folder=<music>/sub"},
    {"folder above chosen", "open sub, enter Dir1 /", "open sub, select Dir1 /", "folder=/"},
    // The start folder's drive, chosen from another folder, opens it again.
    {"drive chosen", "open sub, pick Drive1 *", "open sub, select Drive1 *", "folder=<music>"},
    {"fields emptied", "row List1 0, click Knop_0", "select List1 a.mp3, press Knop_0", "Files : 0"},
    {"tag written", "row List1 0, type Text3 Album, pick Combo1 Rock, click UpdateKnop",
     "select List1 a.mp3, insert Text3 Album, select Combo1 Rock, press UpdateKnop",
     "tag=TAGEen Artiest A Album 17"},
    {"renamed", "row List1 0, click RenameKnop_1", "select List1 a.mp3, press RenameKnop_1",
     "listed=Artiest A - Een.mp3|b.mp3"},
    {"played", "row List1 0, key F5", "select List1 a.mp3, menu Projecten Afspelen",
     "opened=<music>/a.mp3"},
    {"software page", "click Knop_4", "menu Help Meer Software", "opened=<software page>"},
    {"help shown", "key F1", "menu Help Help", "help=101"},
    {"help hidden", "key F1, key F1", "menu Help Help, menu Help Help", "help=010"}};

// The gestures, then the control, its name and a line of its description.
const struct { const char *name, *gestures, *control, *heard, *description; } kHeard[] = {
    {"bar", "", "MenuPic", "Knoppenbalk", "Velden leeg"},
    {"drive", "", "Drive1", "Station", "Station"}, {"genre", "", "Combo1", "Genre", "Genre"},
    {"help shown", "key F1", "Label2", "Brelko", ""},
    {"welcome read", "", "Pic", "Tags", "Welkom bij Brelko"},
    {"tag read", "row List1 0", "Pic", "Tags", "Artiest... : Artiest A"},
    {"help read", "key F1", "HelpPic", "Uitleg Brelko", "Afdrukken van de tags"},
    {"cleared", "row List1 0, press Knop_0", "Label3", "Bestand ..............: ", ""},
    {"clock ticked", "", "KlokLabel", "9:05:03 ", ""}};

// The keys, the buttons whose action ran, the bar's description after.
const struct { const char *name, *keys, *pressed, *heard; } kBarKeys[] = {
    {"Space: the first", "Space", "0", "Velden leeg"},
    {"Right twice, Enter", "Right Right Return", "2", "Copy Folders"},
    {"Left wraps to the last", "Left Space", "4", "Meer Software"},
    {"arrows alone", "Right Right Right Left", "", "Copy Folders"}};
// clang-format on
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Window> h;

private Q_SLOTS:
    void init() { h = std::make_unique<Window>(); }
    void cleanup() { h.reset(); }

    void render_data() { AddRows(kRenders); }
    void render()
    {
        const QString state = QTest::currentDataTag();
        FixedDisk disk;
        h->folders = &disk;
        h->tags = &disk;
        h->startFolder = QStringLiteral("/muziek");
        MainWindow &main = h->open(false);
        if (state == "help")
            h->find<QAction>("HelpHelp")->trigger();
        if (state == "tag")
            main.presenter().openFile(QStringLiteral("/muziek/Alpha - Beta.mp3"));
        QTRY_COMPARE(h->text("KlokLabel"), QStringLiteral("9:05:03 "));
        QVERIFY(LooksLikeReference(&main, QStringLiteral(REFERENCE_DIR "/%1.png").arg(state)));
    }

    // Assistive technology reaches what the mouse and keyboard reach, with
    // the same effect on the window, the desktop and the disk; all gestures
    // but the last set the scene, alike in both windows.
    void sameAsTheMouse_data() { AddRows(kGestures); }
    void sameAsTheMouse()
    {
        const auto &row = CurrentRow(kGestures);
        const QStringList byUser = QString(row.user).split(", "),
                          byAssistive = QString(row.assistive).split(", ");
        const QString after = row.after;
        Window other;
        h->open(), other.open();
        QStringList before; // the scene the last gesture starts from
        for (qsizetype i = 0; i < byUser.size(); ++i) {
            QTRY_COMPARE(other.state(), before = h->state());
            h->perform(byUser[i]);
            other.perform(byAssistive[i]);
        }
        QTRY_COMPARE(other.state(), h->state());
        QVERIFY2(h->state().contains(after) && !before.contains(after),
                 qPrintable(h->state().join('\n')));
    }

    // What a screen reader gives a control, after the gestures: its name (for
    // a combo box, its label's) and a line of its description. A label is
    // heard as it is shown, a picture box reads out what is written in it, a
    // tooltip is the description, and every control keeps a name.
    void heard_data() { AddRows(kHeard); }
    void heard()
    {
        const auto &row = CurrentRow(kHeard);
        const QString control = row.control, name = row.heard, description = row.description;
        h->open();
        for (const QString &gesture : QString(row.gestures).split(", ", Qt::SkipEmptyParts))
            h->perform(gesture);
        QAccessibleInterface *node = accessible::Of(h->find(control));
        if (qobject_cast<QLabel *>(node->object()))
            QTRY_COMPARE(h->text(control), name);
        const QString lines = node->text(QAccessible::Description);
        QVERIFY2(description.isEmpty() || lines.split('\n').contains(description),
                 qPrintable(lines));
        const auto labels = node->relations(QAccessible::Label); // a combo box is named by it
        QCOMPARE(node->role() != QAccessible::ComboBox ? node->text(QAccessible::Name)
                 : labels.size() == 1                  ? labels[0].first->text(QAccessible::Name)
                                                       : QString(),
                 name);
        for (QWidget *widget : h->window->findChildren<QWidget *>())
            QVERIFY(widget->toolTip().isEmpty() ||
                    accessible::Of(widget)->text(QAccessible::Description) == widget->toolTip());
        QCOMPARE(accessible::NamesNotShown(h->window.get()), QString());
        QCOMPARE(accessible::Unnamed(h->window.get()), QString());
    }

    // The picture buttons take no focus; the bar that holds them, first in
    // the keyboard order, chooses one with the arrows and presses it.
    void buttonBarKeys_data() { AddRows(kBarKeys); }
    void buttonBarKeys()
    {
        const auto &[name, keys, pressed, heard] = CurrentRow(kBarKeys);
        QString ran;
        h->open();
        for (int i : {1, 2, 3})
            h->window->presenter().setButtonAction(MainWindow::Button(i),
                                                   [&ran, i] { ran += QString::number(i); });
        QWidget *bar = h->find("MenuPic");
        QVERIFY(QTest::qWaitForWindowActive(h->window.get()));
        QTRY_VERIFY(bar->hasFocus()); // the first control of the keyboard order
        for (const QString &key : QString(keys).split(' '))
            QTest::keyClick(bar, QKeySequence::fromString(key)[0].key());
        ran += QString(h->text("Label13") == "Files : 0" ? "0" : "") +
               QString(h->shell.opened.isEmpty() ? "" : "4");
        QCOMPARE(ran, pressed);
        QCOMPARE(accessible::Of(bar)->text(QAccessible::Description), heard);
    }

    void focusOrder()
    {
        h->open();
        QWidget *bar = h->find("MenuPic");
        QCOMPARE(QApplication::focusWidget(), bar);
        QStringList order;
        for (QWidget *w = bar->nextInFocusChain(); w != bar; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty())
                order.append(w->objectName());
        QCOMPARE(order.join(' '), "Drive1 Dir1 List1 Pic HelpPic Text1 Text2 Text3 Text4 Text5 "
                                  "Combo1 UpdateKnop RenameKnop_0 RenameKnop_1");
    }

    // Moving through the lists by keyboard: a highlighted folder stays closed
    // until Enter, each file stepped on is shown.
    void keyboardSelection()
    {
        QAbstractItemView *list = (h->open(), h->list());
        auto *tree = h->find<QTreeWidget>("Dir1"); // highlighting a folder opens nothing
        tree->setCurrentItem(tree->findItems("sub", Qt::MatchRecursive).value(0));
        QCOMPARE(h->window->presenter().listedFolder(), h->dir.path());
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(h->window->presenter().selectedFilePath(), QString()); // focus chooses nothing
        QStringList seen;
        QTest::keyClick(list, Qt::Key_Down);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) {
            QTest::keyClick(list, key);
            seen.append(h->text("Text1"));
        }
        QCOMPARE(seen, QStringList({"No ID Version 1.1 Tag Found", "Een"}));
        QCOMPARE(h->window->presenter().selectedFilePath(), h->path("a.mp3"));
    }

    void pressAnimation()
    {
        h->open();
        auto button = [this](int i) { return h->find(QStringLiteral("Knop_%1").arg(i)); };
        auto places = [&] {
            QList<QPoint> at;
            for (int i = 0; i < 5; ++i)
                at.append(button(i)->pos());
            return at;
        };
        const QList<QPoint> rest = places();
        QList<QPoint> moved; // each button, while its pause lasts
        for (int i = 0; i < 5; ++i) {
            h->pauser.during = [&, i] { moved.append(button(i)->pos() - rest[i]); };
            QTest::mouseClick(button(i), Qt::LeftButton);
        }
        QCOMPARE(moved, QList<QPoint>(5, QPoint(2, 2)));
        QCOMPARE(h->pauser.pauses, QList<float>(5, 0.2f));
        QCOMPARE(places(), rest);
        bool nested = false; // a second button clicked while the first one waits
        h->pauser.during = [&] {
            if (!std::exchange(nested, true))
                QTest::mouseClick(button(3), Qt::LeftButton);
        };
        QTest::mouseClick(button(1), Qt::LeftButton);
        QCOMPARE(h->pauser.pauses.size(), 7);
        QCOMPARE(places(), rest);
    }

    void colourKeptAtClose()
    {
        for (bool throughMenu : {false, true}) {
            init();
            MainWindow &main = h->open(); // without a settings file: the standard colour, stored
            QCOMPARE(ReadFile(h->settingsPath), SettingsHead + "220,220,190\r\n");
            main.setBackground({1, 2, 3});
            for (const char *name : {"MainClient", "Frame1", "Frame2", "Frame3", "Frame4", "Frame5",
                                     "Frame6", "HelpFrame"})
                QCOMPARE(h->find(name)->palette().color(QPalette::Window), QColor(1, 2, 3));
            QCOMPARE(h->find("MenuPic")->palette().color(QPalette::Window), QColor(130, 130, 0));
            // "Bestand" > "Exit", else the close box.
            QVERIFY(throughMenu ? (h->find<QAction>("FileExit")->trigger(), true) : main.close());
            QVERIFY(!main.isVisible());
            QCOMPARE(ReadFile(h->settingsPath), SettingsHead + "1,2,3\r\n");
            h->open(); // the next start opens in that colour
            QCOMPARE(h->find("Frame3")->palette().color(QPalette::Window), QColor(1, 2, 3));
        }
    }

    // A message box names its text and buttons, and answers what its
    // button's press action chose.
    void messageBox()
    {
        QtMessageService messages;
        accessible::ModalVisit visit;
        accessible::PressInNextModal("No", visit);
        const MessageRequest question{"Weet je zeker dat je deze tags wilt wijzigen?", "Update",
                                      MessageButtons::YesNo};
        QVERIFY(messages.show(&h->open(), question) == MessageAnswer::No);
        QCOMPARE(visit.unnamed + visit.unheard, QString());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
