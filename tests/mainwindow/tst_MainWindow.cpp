// The main window as widgets: each control reaches the presenter, the focus
// order, the help panel, the press animation, the colour kept at close, and
// the whole window rendered against reference pictures.
#include "Harness.h"
#include "MainWindow.h"
#include "RenderCheck.h"

#include <memory>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>
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
        if (!path.endsWith("Alpha - Beta.mp3"))
            return false;
        tag = Id3v1Tag::parse(Trailer({"Alpha", "Beta", "Gamma", "1999", "Een opmerking"}, 17));
        return true;
    }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ServiceRig> rig;
    std::unique_ptr<MainWindow> window;

    MainWindow &open()
    {
        window = std::make_unique<MainWindow>(rig->services());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window was never shown");
        return *window;
    }
    template <typename T = QWidget> T *find(const char *name) const
    {
        T *child = window->findChild<T *>(QString::fromLatin1(name));
        return child ? child : (qFatal("no control named %s", name), nullptr);
    }
    QAbstractItemView *list() const { return find<QAbstractItemView>("List1"); }
    void clickRow(int row)
    {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    QString text(const char *name) const { return find(name)->property("text").toString(); }

private Q_SLOTS:
    void init() { rig = std::make_unique<ServiceRig>(); }
    void cleanup() { window.reset(), rig.reset(); }

    void render_data()
    {
        QTest::addColumn<QString>("state");
        for (const char *state : {"welcome", "help", "tag"})
            QTest::newRow(state) << state;
    }
    void render()
    {
        QFETCH(QString, state);
        FixedDisk disk;
        window = std::make_unique<MainWindow>(
            MainWindowServices{rig->messages, rig->clock, rig->shell, rig->pauser, disk, disk,
                               rig->settingsPath, QStringLiteral("/muziek")});
        MainWindow &main = *window;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        if (state == "help")
            find<QAction>("HelpHelp")->trigger();
        if (state == "tag")
            main.presenter().openFile(QStringLiteral("/muziek/Alpha - Beta.mp3"));
        QTRY_COMPARE(text("KlokLabel"), QStringLiteral("9:05:03 "));
        QVERIFY(LooksLikeReference(&main, QStringLiteral(REFERENCE_DIR "/%1.png").arg(state)));
    }

    void wiring()
    {
        rig->write({{"a.mp3", MpegFrames(1) + Trailer({"Een", "A"}, 8)},
                    {"b.mp3", MpegFrames(1) + Trailer({"Twee", "B"})}});
        QVERIFY(QDir(rig->dir.path()).mkdir("sub"));
        MainWindow &main = open();
        auto *tree = find<QTreeWidget>("Dir1");
        tree->setFocus();
        tree->setCurrentItem(tree->findItems("sub", Qt::MatchRecursive).value(0));
        QCOMPARE(list()->model()->rowCount(), 0); // highlighting alone opens nothing
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(main.presenter().listedFolder(), rig->path("sub"));
        main.presenter().openFolder(rig->dir.path());
        QCOMPARE(text("Label13"), QStringLiteral("Files : 2"));
        clickRow(0);
        QCOMPARE(text("Text1") + find<QComboBox>("Combo1")->currentText(), "EenJazz");
        QCOMPARE(text("Label3"), QStringLiteral("Bestand ..............: a.mp3"));
        find<QLineEdit>("Text2")->selectAll();
        QTest::keyClicks(find("Text2"), "Nieuw");
        find<QComboBox>("Combo1")->setEditText("Rock");
        QCOMPARE(main.presenter().shownTag().artist + main.presenter().shownTag().genre,
                 "NieuwRock");
        QTest::mouseClick(find("UpdateKnop"), Qt::LeftButton);
        QCOMPARE(rig->tagFiles.writes, QStringList({rig->path("a.mp3")}));
        QTest::keyClick(&main, Qt::Key_F5);
        find<QAction>("HelpMeerSoftware")->trigger();
        QCOMPARE(rig->shell.opened.value(0), rig->path("a.mp3"));
        QCOMPARE(rig->shell.opened.size(), 2);
        QTest::mouseClick(find("RenameKnop_1"), Qt::LeftButton);
        QVERIFY(QFile::exists(rig->path("Nieuw - Een.mp3")));
        QTest::mouseClick(find("RenameKnop_0"), Qt::LeftButton);
        QCOMPARE(rig->tagFiles.renames, 1); // nothing selected after the list was rebuilt
        QTest::mouseClick(find("Knop_0"), Qt::LeftButton);
        QCOMPARE(text("Text1") + text("Label13"), QStringLiteral("Files : 0"));
    }

    void keyboardSelection()
    {
        rig->write({{"a.mp3", MpegFrames(1) + Trailer({"Een"})},
                    {"b.mp3", MpegFrames(1) + Trailer({"Twee"})}});
        open().presenter().openFolder(rig->dir.path());
        list()->setFocus();
        QTRY_VERIFY(list()->hasFocus());
        QCOMPARE(window->presenter().selectedFilePath(), QString()); // focus chooses nothing
        QStringList seen;
        QTest::keyClick(list(), Qt::Key_Down);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) {
            QTest::keyClick(list(), key);
            seen.append(text("Text1"));
        }
        QCOMPARE(seen, QStringList({"Twee", "Een"}));
        QCOMPARE(window->presenter().selectedFilePath(), rig->path("a.mp3"));
    }

    void bigFolder()
    {
        // More files than an old list box could hold.
        QVERIFY(QDir(rig->dir.path()).mkdir("Groot"));
        for (int i = 0; i < 33000; ++i)
            QVERIFY(TryWriteFile(
                rig->path(QStringLiteral("Groot/%1.mp3").arg(i, 5, 10, QChar('0'))), {}));
        open().presenter().openFile(QStringLiteral("Groot/01234.mp3"));
        QCOMPARE(list()->model()->rowCount(), 33000);
        QCOMPARE(list()->selectionModel()->selectedRows().value(0).row(), 1234);
        QCOMPARE(text("Label13"), QStringLiteral("Files : 33000"));
    }

    void focusOrder()
    {
        open();
        QCOMPARE(QApplication::focusWidget(), find("MenuPic"));
        QStringList order;
        for (QWidget *w = find("MenuPic")->nextInFocusChain(); w != find("MenuPic");
             w = w->nextInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty())
                order.append(w->objectName());
        }
        QCOMPARE(order.join(' '), "Drive1 Dir1 List1 Pic HelpPic Text1 Text2 Text3 Text4 Text5 "
                                  "Combo1 UpdateKnop RenameKnop_0 RenameKnop_1");
    }

    void help()
    {
        for (bool byKey : {true, false}) {
            init();
            open();
            auto *action = find<QAction>("HelpHelp");
            for (bool shown : {true, false, true}) {
                byKey ? QTest::keyClick(window.get(), Qt::Key_F1) : action->trigger();
                QCOMPARE(find("HelpFrame")->isVisible(), shown);
                QCOMPARE(find("Frame4")->isVisible(), !shown);
                QCOMPARE(action->isChecked(), shown);
            }
        }
    }

    void pressAnimation()
    {
        open();
        auto button = [this](int i) { return find(qPrintable(QStringLiteral("Knop_%1").arg(i))); };
        QList<QPoint> rest;
        for (int i = 0; i < 5; ++i)
            rest.append(button(i)->pos());
        for (int i = 0; i < 5; ++i) {
            QPoint during;
            rig->pauser.during = [&] { during = button(i)->pos(); };
            QTest::mouseClick(button(i), Qt::LeftButton);
            QCOMPARE(during, rest[i] + QPoint(2, 2));
            QCOMPARE(button(i)->pos(), rest[i]);
        }
        QCOMPARE(rig->pauser.pauses, QList<float>(5, 0.2f));
        bool nested = false; // a second button clicked while the first one waits
        rig->pauser.during = [&] {
            if (!std::exchange(nested, true))
                QTest::mouseClick(button(3), Qt::LeftButton);
        };
        QTest::mouseClick(button(1), Qt::LeftButton);
        QCOMPARE(rig->pauser.pauses.size(), 7);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(button(i)->pos(), rest[i]);
    }

    void colourKeptAtClose()
    {
        const char *const surfaces[] = {"MainClient", "Frame1", "Frame2", "Frame3",
                                        "Frame4",     "Frame5", "Frame6", "HelpFrame"};
        for (bool throughMenu : {false, true}) {
            init();
            MainWindow &main = open(); // without a settings file: the standard colour, stored
            QCOMPARE(ReadFile(rig->settingsPath), SettingsHead + "220,220,190\r\n");
            main.setBackground({1, 2, 3});
            for (const char *name : surfaces)
                QCOMPARE(find(name)->palette().color(QPalette::Window), QColor(1, 2, 3));
            QCOMPARE(find("MenuPic")->palette().color(QPalette::Window), QColor(130, 130, 0));
            if (throughMenu) // "Bestand" > "Exit", else the close box
                find<QAction>("FileExit")->trigger();
            else
                QVERIFY(main.close());
            QVERIFY(!main.isVisible());
            QCOMPARE(ReadFile(rig->settingsPath), SettingsHead + "1,2,3\r\n");
            open(); // the next start opens in that colour
            QCOMPARE(find("Frame3")->palette().color(QPalette::Window), QColor(1, 2, 3));
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
