// The main window's rules without a window: browsing, the tag view, update,
// rename, clearing, the button bar and the clock, against fake services and
// real files.
#include "Harness.h"

#include "MainTexts.h"

#include <QDir>
#include <QtTest>

namespace {
const QString NoTag = QStringLiteral("No ID Version 1.1 Tag Found");

// Holds what the window would show now.
struct FakeView : MainWindowView {
    void showDrives(const QList<Volume> &v, int current) override { volumes = v, drive = current; }
    void selectDrive(int index) override { drive = index; }
    void showFolderPath(const FolderTrail &p) override { path = p; }
    void showFiles(const QStringList &names) override { files = names, row = -1; }
    void selectFile(int r) override { row = r; }
    void showFileCount(const QString &text) override { count = text; }
    void showInformation(const QString &n, const QString &d, const QString &p) override
    {
        info = {n, d, p};
    }
    void showFields(const std::array<QString, 5> &f) override
    {
        fields = QStringList(f.begin(), f.end());
    }
    void showGenre(const QString &g) override { genre = g; }
    void showSummary(const QStringList &values) override { summary = values; }
    void showClock(const QString &text) override { clock = text; }
    void showTitleLine(const QString &text) override { title = text; }
    QStringList boxes() const { return fields + QStringList{genre}; }

    QList<Volume> volumes;
    int drive = -1, row = -1;
    FolderTrail path;
    QStringList files, info, fields, summary;
    QString count, genre, clock;
    QString title = QStringLiteral("Brelko"); // as the window starts
};

struct Rig : ServiceRig {
    FakeView view;
    MainWindowPresenter presenter{services(), view};
    // Writes the files, opens their folder and chooses a row (-1: none).
    MainWindowPresenter &openWith(const QList<QPair<QString, QByteArray>> &files, int row = -1)
    {
        write(files);
        presenter.start();
        presenter.openFolder(dir.path());
        presenter.chooseFile(row);
        return presenter;
    }
    void type(int box, const QString &text) // box 5 is the genre
    {
        box == 5 ? presenter.setGenre(text) : presenter.setField(box, text);
    }
};

// A volume list of our own, so the drives do not depend on the machine.
struct TwoDrives : FolderLister {
    FolderContents contents(const QString &folder) override
    {
        opened.append(folder);
        return {{}, {}, true};
    }
    QList<Volume> volumes() override { return {{"/", "/"}, {"/media/usb", "USB"}}; }
    bool canList(const QString &folder) override { return folder != "/media/usb"; }
    QStringList opened;
};

QStringList Names(const QList<FolderEntry> &entries, bool paths = false)
{
    QStringList names;
    for (const FolderEntry &entry : entries)
        names.append(paths ? entry.path : entry.name);
    return names;
}
} // namespace

class MainWindowPresenterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void browse()
    {
        Rig r;
        const QString folder = r.path("Muziek"), sub = folder + "/Weg";
        for (const char *name : {"Weg", "Zeta", "alpha", ".verborgen"})
            QVERIFY(QDir().mkpath(folder + '/' + name));
        for (const char *file : {"a.mp3", "B.MP3", "c.txt", ".x.mp3", "Weg/w.mp3"})
            QVERIFY(TryWriteFile(folder + '/' + file, MpegFrames(1)));
        r.presenter.start();
        QCOMPARE(r.view.files, QStringList()); // the start folder's tree, no files yet
        QCOMPARE(r.view.path.ancestors.last().path, r.dir.path());
        r.presenter.openFolderEntry(folder);
        QCOMPARE(r.view.files, QStringList({"a.mp3", "B.MP3"}));
        QCOMPARE(r.view.count, QStringLiteral("Files : 2"));
        QCOMPARE(Names(r.view.path.subfolders), QStringList({"alpha", "Weg", "Zeta"}));
        QCOMPARE(Names(r.view.path.subfolders, true).value(1), sub);
        QCOMPARE(Names(r.view.path.ancestors, true).mid(0, 2),
                 QStringList({"/", "/" + folder.split('/', Qt::SkipEmptyParts).first()}));
        // A folder that vanished opens empty, never with the previous
        // folder's names, and without a message.
        QVERIFY(QDir(sub).removeRecursively());
        r.presenter.openFolderEntry(sub);
        QCOMPARE(r.view.path.ancestors.last().path, sub);
        QCOMPARE(r.view.files, QStringList());
        QCOMPARE(r.view.count, QStringLiteral("Files : 0"));
        QVERIFY(r.messages.shown.isEmpty());
        // A relative folder is taken from the start folder; a file is chosen.
        r.presenter.openFile(QStringLiteral("Muziek/B.MP3"));
        QCOMPARE(r.view.path.ancestors.last().path, folder);
        QCOMPARE(r.view.row, 1);
        QCOMPARE(r.presenter.selectedFilePath(), folder + "/B.MP3");
    }

    void drives()
    {
        Rig r;
        TwoDrives lister;
        r.folders = &lister;
        MainWindowPresenter presenter(r.services(), r.view);
        presenter.start();
        QCOMPARE(r.view.drive, 0);
        lister.opened.clear();
        presenter.chooseDrive(1); // no medium: passed over without a word
        QCOMPARE(lister.opened, QStringList());
        presenter.chooseDrive(0); // the start drive brings back the start folder
        QCOMPARE(lister.opened, QStringList({r.dir.path()}));
        presenter.openFolder(QStringLiteral("/media/usb/x"));
        QCOMPARE(r.view.drive, 1);
    }

    void tagView_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown"); // five boxes and the genre
        QByteArray track = Trailer({"T", "A", "B", "2002", "Comment"}, 2); // ID3v1.1 track
        track.replace(104, 23, QByteArray(22, '\0').append('\x05'));
        const QStringList noTag = {NoTag, "", "", "", "", "Jazz"}; // the genre stays
        QTest::newRow("trimmed") << Trailer({"  Song", "  Quartet  ", "Al bum ", "99", " "}, 0)
                                 << QStringList{"Song", "Quartet", "Al bum", "99", "", "Blues"};
        QTest::newRow("zero padded")
            << Trailer({"Titel", "Artiest", "Album", "2001", "Info"}, 13, 0)
            << QStringList{"Titel", "Artiest", "Album", "2001", "Info", "Pop"};
        QTest::newRow("track") << track << QStringList{"T", "A", "B", "2002", "Comment", "Country"};
        QTest::newRow("no genre") << Trailer({"T", "A", "B", "C", "D"}, 255)
                                  << QStringList{"T", "A", "B", "C", "D", "Unknown Genre Entry"};
        QTest::newRow("code page") << Trailer({"Caf\xe9", "\x80uro"}, 8)
                                   << QStringList{"Caf\u00e9", "\u20acuro", "", "", "", "Jazz"};
        QTest::newRow("no trailer") << MpegFrames(2) << noTag;
        QTest::newRow("short") << QByteArray("TAG short") << noTag;
        QTest::newRow("empty") << QByteArray() << noTag;
        QTest::newRow("vanished") << QByteArray("gone") << noTag;
    }
    void tagView()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shown);
        Rig r;
        r.openWith(
            {{"a.mp3", MpegFrames(1) + Trailer({"T", "A", "B", "1", "C"}, 8)}, {"b.mp3", bytes}},
            0);
        if (bytes == "gone")
            QVERIFY(QFile::remove(r.path("b.mp3")));
        r.presenter.chooseFile(1);
        QCOMPARE(r.view.boxes(), shown);
        QCOMPARE(r.presenter.tagMarker(), QString(shown[0] == NoTag ? "" : "TAG"));
        QCOMPARE(r.view.summary, shown[0] == NoTag ? QStringList{NoTag} : shown);
        QCOMPARE(r.view.info.value(1) == "Date ...................: ", bytes == "gone");
        QVERIFY(r.messages.shown.isEmpty());
    }

    void informationAndReport()
    {
        Rig r;
        r.openWith({{"a.mp3", "x"}, {"song.mp3", MpegFrames(3) + Trailer({"Morning"}, 8)}}, 1);
        const QString path = r.path(QStringLiteral("song.mp3"));
        QCOMPARE(r.view.info.value(0) + '|' + r.view.info.value(2),
                 "Bestand ..............: song.mp3|Pathname ...........: " + path);
        QVERIFY(r.view.info.value(1).startsWith("Date ...................: ") &&
                r.view.info.value(1).endsWith(" / Grootte : 1379 Bytes"));
        QCOMPARE(r.presenter.selectedFolder(), r.dir.path() + '/');
        r.type(1, QStringLiteral("typed")); // the report takes the boxes as they stand
        r.type(5, QStringLiteral("Rock"));
        const ShownTag shown = r.presenter.shownTag();
        QCOMPARE(QStringList({shown.fileName, shown.title, shown.artist, shown.genre,
                              shown.selectedFilePath}),
                 QStringList({"song.mp3", "Morning", "typed", "Rock", path}));
    }

    void updateAsks()
    {
        Rig r;
        const QByteArray bytes = MpegFrames(1) + Trailer({"T", "A"});
        r.openWith({{"a.mp3", bytes}}, 0);
        for (const char *title : {"", "     "}) { // no title: nothing asked, nothing written
            r.type(0, title);
            r.presenter.update();
        }
        QVERIFY(r.messages.shown.isEmpty());
        r.type(0, QStringLiteral("changed"));
        r.messages.answer = MessageAnswer::No;
        r.presenter.update();
        QCOMPARE(r.messages.shown.size(), 1);
        const MessageRequest &asked = r.messages.shown.first();
        QCOMPARE(asked.text + '|' + asked.caption,
                 "Weet je zeker dat je deze tags wilt wijzigen?|Update");
        QVERIFY(asked.buttons == MessageButtons::YesNo &&
                asked.defaultAnswer == MessageAnswer::Yes && asked.icon == MessageIcon::None);
        QVERIFY(r.tagFiles.writes.isEmpty());
        QCOMPARE(ReadFile(r.path("a.mp3")), bytes);
    }

    void update_data()
    {
        QTest::addColumn<QByteArray>("trailer"); // empty: the file has none
        QTest::addColumn<int>("box");            // 5: the genre
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("shownAfter");
        const QByteArray old = Trailer({"Oud", "A", "B", "1", "C"}, 0), no = Trailer({"T"});
        auto row = [](const char *name, const QByteArray &trailer, int box, const char *typed,
                      int offset, const QByteArray &stored, const char *shownAfter) {
            QTest::newRow(name) << trailer << box << typed << offset << stored << shownAfter;
        };
        row("no trailer", {}, 1, "Artiest", 0, "TAGNo ID Version 1.1 Tag Found   ", "Artiest");
        row("title", old, 0, "Nieuw", 3, QByteArray("Nieuw").leftJustified(30), "Nieuw");
        row("leading blanks kept", old, 0, "  Lead", 3, QByteArray("  Lead").leftJustified(30),
            "Lead");
        row("code page", old, 1, "Caf\u00e9 \u20ac", 33,
            QByteArray("Caf\xe9 \x80").leftJustified(30), "Caf\u00e9 \u20ac");
        row("unknown name", old, 5, "Polka Punk", 127, QByteArray(1, 12), "Other");
        row("no genre kept", no, 1, "X", 127, QByteArray(1, '\xff'), "X");
        row("genre byte kept", Trailer({"T"}, 200), 1, "X", 127, "\xc8", "X");
        row("genre chosen", no, 5, "Rock", 127, QByteArray(1, 17), "Rock");
        row("other chosen", no, 5, "Other", 127, QByteArray(1, 12), "Other");
    }
    void update()
    {
        QFETCH(QByteArray, trailer);
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(int, offset);
        QFETCH(QByteArray, stored);
        QFETCH(QString, shownAfter);
        Rig r;
        const QByteArray audio = MpegFrames(2);
        r.openWith({{"a.mp3", audio + trailer}}, 0);
        r.type(box, typed);
        r.presenter.update();
        const QByteArray written = ReadFile(r.path("a.mp3"));
        QCOMPARE(written.size(), audio.size() + 128); // grown by a trailer, or the same length
        QCOMPARE(written.left(audio.size()), audio);
        QCOMPARE(written.mid(audio.size() + offset, stored.size()), stored);
        QCOMPARE(r.view.boxes().value(box) + ' ' + r.presenter.tagMarker(), shownAfter + " TAG");
        QVERIFY(r.view.info.value(1).endsWith(
            QStringLiteral("Grootte : %1 Bytes").arg(written.size())));
    }

    void updateMends_data()
    {
        // What happens between the choice and the update; whether the file
        // then holds the typed title; what the view shows after.
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("fail") << false << "T";
        QTest::newRow("clear") << false << "";
        QTest::newRow("rename") << false << NoTag; // a stale view after a rename
        QTest::newRow("folder") << true << "Twee";
    }
    void updateMends()
    {
        QFETCH(bool, written);
        QFETCH(QString, shownAfter);
        const QString before = QTest::currentDataTag();
        Rig r;
        const QByteArray bytes = MpegFrames(1) + Trailer({"T", "A"}),
                         other = MpegFrames(1) + Trailer({"Zee"});
        const QString path = r.path("a.mp3");
        QVERIFY(QDir(r.dir.path()).mkdir("ander"));
        r.write({{"ander/z.mp3", other}});
        r.openWith({{"a.mp3", bytes}}, 0);
        r.tagFiles.failWrites = before == "fail";
        if (before == "clear")
            r.presenter.clearFields();
        if (before == "rename")
            r.presenter.rename(RenameOrder::TitleArtist);
        if (before == "folder")
            r.presenter.openFolder(r.path("ander"));
        r.type(0, QStringLiteral("Twee"));
        r.presenter.update();
        QCOMPARE(r.tagFiles.writes, before == "clear" ? QStringList() : QStringList({path}));
        QCOMPARE(QFile::exists(path), before != "rename"); // the old name never comes back
        QCOMPARE(ReadFile(path) == bytes, !written && before != "rename");
        QCOMPARE(ReadFile(path).mid(420, 4) == "Twee", written);
        QCOMPARE(ReadFile(r.path("ander/z.mp3")), other);
        // The view is rebuilt from the file; after "Velden leeg" nothing is.
        QCOMPARE(r.view.fields.value(0), before == "clear" ? QString() : shownAfter);
        const bool failed = before == "fail" || before == "rename";
        const MessageRequest failure = r.messages.shown.value(1);
        QCOMPARE(failure.text, QString(failed ? "Fout bij het opslaan..." : ""));
        QVERIFY(!failed || (failure.caption == "Brelko" && failure.buttons == MessageButtons::Ok &&
                            failure.icon == MessageIcon::None));
        QVERIFY(before != "folder" || r.view.info.value(2) == "Pathname ...........: " + path);
    }

    void rename_data()
    {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("newName"); // empty: the file keeps its name
        auto row = [](const char *name, const char *oldName, const char *title, const char *artist,
                      int order, const char *newName) {
            QTest::newRow(name) << oldName << title << artist << order << newName;
        };
        row("title first", "x.mp3", "Morning", "Quartet", 0, "Morning - Quartet.mp3");
        row("artist first", "x.mp3", "Morning", "Quartet", 1, "Quartet - Morning.mp3");
        row("trimmed", "x.MP3", " T ", "A  ", 0, "T - A.mp3");
        row("odd characters", "x.mp3", "Wat? *Nu*", "A: \"B\" <C>|\\", 0,
            "Wat? *Nu* - A: \"B\" <C>|\\.mp3");
        row("slash in title", "x.mp3", "../boven", "A", 0, "");
        row("slash in artist", "x.mp3", "T", "sub/dir", 1, "");
    }
    void rename()
    {
        QFETCH(QString, oldName);
        QFETCH(QString, title);
        QFETCH(QString, artist);
        QFETCH(int, order);
        QFETCH(QString, newName);
        Rig r;
        const QByteArray bytes = MpegFrames(1) + Trailer({"T", "A"});
        QVERIFY(QDir(r.dir.path()).mkdir(QStringLiteral("sub")));
        r.openWith({{oldName, bytes}}, 0);
        const QStringList infoBefore = r.view.info;
        r.type(0, title);
        r.type(1, artist);
        r.presenter.rename(RenameOrder(order));
        const QString expected = newName.isEmpty() ? oldName : newName;
        QCOMPARE(QDir(r.dir.path()).entryList(QDir::Files), QStringList({expected}));
        QCOMPARE(ReadFile(r.path(expected)), bytes);
        QVERIFY(QDir(r.path("sub")).isEmpty() && r.messages.shown.isEmpty());
        // The list is rebuilt with nothing selected; the count and the view stay.
        QCOMPARE(r.view.files, QStringList({expected}));
        QCOMPARE(r.view.row + r.presenter.selectedRow(), -2);
        QCOMPARE(r.view.count + r.view.info.join('|'), "Files : 1" + infoBefore.join('|'));
    }

    void renameLeavesFilesAlone()
    {
        Rig r;
        const QByteArray mine = MpegFrames(1) + Trailer({"T", "A"});
        r.openWith({{"T - A.mp3", "other"}, {"x.mp3", mine}}, 1);
        r.presenter.rename(RenameOrder::TitleArtist); // the target exists: both unchanged
        QCOMPARE(ReadFile(r.path("T - A.mp3")) + ReadFile(r.path("x.mp3")), "other" + mine);
        QCOMPARE(r.tagFiles.renames, 1);
        QVERIFY(TryWriteFile(r.path("y.mp3"), "new"));
        r.presenter.rename(RenameOrder::ArtistTitle); // nothing selected: only the list rebuilt
        QCOMPARE(r.tagFiles.renames, 1);
        QCOMPARE(r.view.files, QStringList({"T - A.mp3", "x.mp3", "y.mp3"}));
        r.presenter.chooseFile(1);
        QVERIFY(QFile::remove(r.path("x.mp3")));
        r.presenter.rename(RenameOrder::TitleArtist); // the file vanished
        QCOMPARE(r.view.files, QStringList({"T - A.mp3", "y.mp3"}));
        QVERIFY(r.messages.shown.isEmpty());
        r.presenter.chooseFile(1);
        r.type(0, "   "); // no title: told so, nothing renamed
        r.presenter.rename(RenameOrder::ArtistTitle);
        QCOMPARE(r.messages.shown.size(), 1);
        const MessageRequest &m = r.messages.shown.first();
        QCOMPARE(m.text + "|" + m.caption,
                 QStringLiteral("Titel en/of artiest niet ingevuld!|Error"));
        QVERIFY(m.icon == MessageIcon::Critical && m.buttons == MessageButtons::Ok);
        QCOMPARE(r.tagFiles.renames, 2);
    }

    void clearFields()
    {
        Rig r;
        r.openWith({{"a.mp3", MpegFrames(1) + Trailer({"T", "A", "B", "Y", "C"}, 8)}}, 0);
        r.presenter.press(MainWindowPresenter::Button::ClearFields);
        QCOMPARE(r.view.boxes() + QStringList{r.view.count} + r.view.info,
                 QStringList({"", "", "", "", "", "Jazz", "Files : 0", "Bestand ..............: ",
                              "Date ...................: ", "Pathname ...........: "}));
        QCOMPARE(r.view.files, QStringList());
        QCOMPARE(r.view.summary, QStringList());                   // the captions alone
        QCOMPARE(r.view.path.ancestors.last().path, r.dir.path()); // the folder list stays
        QCOMPARE(r.presenter.selectedFilePath() + r.presenter.selectedFolder(), QString());
        QCOMPARE(r.presenter.tagMarker(), QStringLiteral("TAG"));
        r.presenter.play(); // nothing chosen: nothing but an empty path to open
        QCOMPARE(r.shell.opened, QStringList({""}));
    }

    void buttonsAndPlay()
    {
        Rig r;
        using Button = MainWindowPresenter::Button;
        QList<int> ran;
        for (Button b : {Button::Colours, Button::CopyFolders, Button::Print})
            r.presenter.setButtonAction(b, [&ran, b] { ran.append(int(b)); });
        r.presenter.start();
        for (Button b : {Button::Colours, Button::CopyFolders, Button::Print, Button::Software})
            r.presenter.press(b);
        QCOMPARE(ran, QList<int>({1, 2})); // nothing to print while the list is empty
        QCOMPARE(r.shell.opened, QStringList({SoftwarePageUrl()}));
        r.openWith({{"a.mp3", MpegFrames(1)}}, 0);
        r.presenter.press(Button::Print);
        QCOMPARE(ran, QList<int>({1, 2, 3}));
        r.presenter.play();
        QCOMPARE(r.shell.opened.last(), r.path("a.mp3"));
    }

    void clockAndTitle()
    {
        Rig r;
        const QString host = QString::fromLatin1(MakerHost);
        // Started late in the minute: "Brelko" until the next one begins; the
        // host stays in view through the last slots.
        const QList<QPair<int, QString>> steps = {
            {45, "Brelko"}, {6, "Gratis software"}, {32, host}, {42, host}, {59, host}};
        for (const auto &[second, title] : steps) {
            r.clock.time = QDateTime(QDate(2024, 3, 7), QTime(9, 5, second));
            r.presenter.tick();
            QCOMPARE(r.view.title + '|' + r.view.clock,
                     title + QStringLiteral("|9:05:%1 ").arg(second, 2, 10, QChar('0')));
        }
    }
};

QTEST_GUILESS_MAIN(MainWindowPresenterTest)
#include "tst_MainWindowPresenter.moc"
