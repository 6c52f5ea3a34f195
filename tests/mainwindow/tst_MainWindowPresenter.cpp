// The main window's rules without a window: browsing, the tag view, update,
// rename, clearing, the button bar and the clock, against fake services and
// real files.
#include "Harness.h"

#include "MainTexts.h"
#include "TableRows.h"

namespace {
const QString NoTag = QStringLiteral("No ID Version 1.1 Tag Found");

// Holds what the window would show now.
// clang-format off
struct FakeView : MainWindowView {
    void showDrives(const QList<Volume> &, int current) override { drive = current; }
    void selectDrive(int index) override { drive = index; }
    void showFolderPath(const FolderTrail &p) override { path = p; }
    void showFiles(const QStringList &names) override { files = names, row = -1; }
    void selectFile(int r) override { row = r; }
    void showFileCount(const QString &text) override { count = text; }
    void showInformation(const QString &n, const QString &d, const QString &p) override
        { info = {n, d, p}; }
    void showFields(const std::array<QString, 5> &f) override
        { fields = QStringList(f.begin(), f.end()); }
    void showGenre(const QString &g) override { genre = g; }
    void showSummary(const QStringList &values) override { summary = values; }
    void showClock(const QString &text) override { clock = text; }
    void showTitleLine(const QString &text) override { title = text; }
    QStringList boxes() const { return fields + QStringList{genre}; }
    QString folder() const { return path.ancestors.value(path.ancestors.size() - 1).path; }

    int drive = -1, row = -1;
    FolderTrail path;
    QStringList files, info, fields, summary;
    QString count, genre, clock, title = QStringLiteral("Brelko"); // as the window starts
};
// clang-format on

struct Rig : ServiceRig {
    FakeView view;
    MainWindowPresenter presenter{services(), view};
    // Writes the files, opens their folder and chooses a row (-1: none).
    void openWith(const QList<QPair<QString, QByteArray>> &files, int row = -1)
    {
        write(files);
        presenter.start();
        presenter.openFolder(dir.path());
        presenter.chooseFile(row);
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
        return opened.append(folder), FolderContents{{}, {}, true};
    }
    QList<Volume> volumes() override { return {{"/", "/"}, {"/media/usb", "USB"}}; }
    bool canList(const QString &folder) override { return folder != "/media/usb"; }
    QStringList opened;
};

// A box typed into and updated (5: the genre) in a file with the trailer
// given (none if empty): the bytes stored at the trailer's offset and what
// the box shows after.
const QByteArray Old = Trailer({"Oud", "A", "B", "1", "C"}, 0);
// clang-format off
const struct { const char *name; QByteArray trailer; int box; const char *typed; int offset;
               QByteArray stored; const char *shownAfter; } kEdits[] = {
    {"no trailer", {}, 1, "Artiest", 0, "TAGNo ID Version 1.1 Tag Found   ", "Artiest"},
    {"leading blanks kept", Old, 0, "  Lead", 3, "  Lead" + QByteArray(24, ' '), "Lead"},
    {"code page", Old, 1, "Caf\u00e9 \u20ac", 33, "Caf\xe9 \x80 ", "Caf\u00e9 \u20ac"},
    {"unknown name", Old, 5, "Polka Punk", 127, "\x0c", "Other"},
    {"genre byte kept", Trailer({"T"}, 200), 1, "X", 127, "\xc8", "X"},
    {"genre chosen", Trailer({"T"}), 5, "Rock", 127, "\x11", "Rock"}};

// How an update ends, by what happened between the choice and the update
// (the row's name): the title typed just before it, and the title box after it.
const struct { const char *name, *title; bool asked, written; QString shownAfter; } kUpdates[] = {
    {"blank title", "   ", false, false, "T"}, {"answered no", "Twee", true, false, "T"},
    {"fail", "Twee", true, false, "T"}, {"clear", "Twee", false, false, ""},
    {"rename", "Twee", true, false, NoTag}, /* a stale view */ {"folder", "Twee", true, true, "Twee"}};
// clang-format on
} // namespace

class MainWindowPresenterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void browse()
    {
        Rig r;
        const QString folder = r.path("Muziek"), sub = folder + "/Weg";
        QVERIFY(QDir().mkpath(sub));
        r.write({{"Muziek/a.mp3", MpegFrames(1)}, {"Muziek/B.MP3", {}}, {"Muziek/c.txt", {}}});
        r.presenter.start();
        QCOMPARE(r.view.folder() + r.view.files.join('|'), r.dir.path()); // the tree, no files
        r.presenter.openFolderEntry(folder);
        QCOMPARE(r.view.files.join('|') + ' ' + r.view.count, "a.mp3|B.MP3 Files : 2");
        QCOMPARE(r.view.path.subfolders.value(0).name + ' ' + r.view.path.subfolders[0].path,
                 "Weg " + sub);
        const FolderEntry top = r.view.path.ancestors.value(1);
        QCOMPARE(r.view.path.ancestors[0].path + top.path, "//" + top.name);
        QVERIFY(folder.startsWith(top.path + '/'));
        // A folder that vanished opens empty, never with the previous
        // folder's names, and without a message.
        QVERIFY(QDir(sub).removeRecursively());
        r.presenter.openFolderEntry(sub);
        QCOMPARE(r.view.folder() + r.view.files.join('|') + r.view.count, sub + "Files : 0");
        QVERIFY(r.messages.shown.isEmpty());
        // A relative path is taken from the start folder; the file is chosen.
        r.presenter.openFile(QStringLiteral("Muziek/B.MP3"));
        QCOMPARE(r.view.folder() + QString::number(r.view.row) + r.presenter.selectedFilePath(),
                 folder + '1' + folder + "/B.MP3");
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
        presenter.chooseDrive(0); // the start drive brings back the start folder
        QCOMPARE(lister.opened, QStringList({r.dir.path()}));
        presenter.openFolder(QStringLiteral("/media/usb/x"));
        QCOMPARE(r.view.drive, 1);
    }

    void tagView_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown"); // five boxes and the genre
        QByteArray track = Trailer({"Titel", "Artiest", "Album", "2001", "Info"}, 13, 0);
        track[126] = 5; // a track number behind the comment's end
        const QStringList noTag = {NoTag, "", "", "", "", "Jazz"}; // the genre stays
        // clang-format off
        QTest::newRow("trimmed") << Trailer({"  Song", "  Quartet  ", "Al bum ", "99", " "}, 0)
            << QStringList{"Song", "Quartet", "Al bum", "99", "", "Blues"};
        QTest::newRow("cut at zero") << track
            << QStringList{"Titel", "Artiest", "Album", "2001", "Info", "Pop"};
        QTest::newRow("no genre") << Trailer({"T", "A", "B", "C", "D"}, 255)
            << QStringList{"T", "A", "B", "C", "D", "Unknown Genre Entry"};
        QTest::newRow("no trailer") << MpegFrames(2) << noTag;
        QTest::newRow("vanished") << QByteArray("gone") << noTag;
        // clang-format on
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
        // The file's lines; a vanished file has no date and size.
        QCOMPARE(r.view.info.value(0) + '|' + r.view.info.value(2),
                 "Bestand ..............: b.mp3|Pathname ...........: " + r.path("b.mp3"));
        QCOMPARE(r.view.info.value(1).section(" / ", 1),
                 bytes == "gone" ? "" : QString("Grootte : %1 Bytes").arg(bytes.size()));
        QVERIFY(r.messages.shown.isEmpty());
    }

    void update_data() { AddRows(kEdits); }
    void update()
    {
        const auto &e = CurrentRow(kEdits);
        Rig r;
        const QByteArray audio = MpegFrames(2);
        r.openWith({{"a.mp3", audio + e.trailer}}, 0);
        r.type(e.box, QString::fromUtf8(e.typed));
        r.presenter.update();
        const QByteArray written = ReadFile(r.path("a.mp3"));
        // The audio kept whole, and a trailer (added or the old one) after it.
        QCOMPARE(written.left(written.size() - 128), audio);
        QCOMPARE(written.mid(audio.size() + e.offset, e.stored.size()), e.stored);
        QCOMPARE(r.view.boxes().value(e.box) + ' ' + r.presenter.tagMarker() + ' ' +
                     r.view.info.value(1).section(" : ", -1),
                 QString::fromUtf8(e.shownAfter) +
                     QStringLiteral(" TAG %1 Bytes").arg(written.size()));
    }

    // What happens between the choice and the update (the row's name), and
    // what the file and the view hold after it.
    void updateMends_data() { AddRows(kUpdates); }
    void updateMends()
    {
        const auto &c = CurrentRow(kUpdates);
        const QString before = c.name;
        Rig r;
        const QByteArray bytes = MpegFrames(1) + Trailer({"T", "A"}),
                         other = MpegFrames(1) + Trailer({"Zee"});
        const QString path = r.path("a.mp3");
        r.openWith({{"ander/z.mp3", other}, {"a.mp3", bytes}}, 0);
        r.tagFiles.failWrites = before == "fail";
        r.messages.answer = before == "answered no" ? MessageAnswer::No : MessageAnswer::Yes;
        if (before == "clear")
            r.presenter.clearFields();
        if (before == "rename")
            r.presenter.rename(RenameOrder::TitleArtist);
        if (before == "folder")
            r.presenter.openFolder(r.path("ander"));
        r.type(0, QString::fromLatin1(c.title));
        r.presenter.update();
        QCOMPARE(r.tagFiles.writes.join('|'), c.asked && before != "answered no" ? path : "");
        QCOMPARE(QFile::exists(path), before != "rename"); // the old name never comes back
        QCOMPARE(ReadFile(path) == bytes, !c.written && before != "rename");
        QCOMPARE(ReadFile(path).mid(420, 4) == "Twee", c.written);
        QCOMPARE(ReadFile(r.path("ander/z.mp3")), other);
        // The view is rebuilt from the file; after "Velden leeg" nothing is.
        QCOMPARE(r.view.fields.value(0), c.shownAfter);
        // The question, then a failure told in a plain box of the program's own.
        const MessageRequest asked = r.messages.shown.value(0), failure = r.messages.shown.value(1);
        const bool failed = before == "fail" || before == "rename";
        QCOMPARE(r.messages.shown.size(), int(c.asked) + int(failed));
        QCOMPARE(asked.text + '|' + asked.caption + '|' + failure.text + '|' + failure.caption,
                 (c.asked ? "Weet je zeker dat je deze tags wilt wijzigen?|Update|" : "|Brelko|") +
                     QString(failed ? "Fout bij het opslaan...|Brelko" : "|Brelko"));
        QVERIFY(!c.asked ||
                (asked.buttons == MessageButtons::YesNo && asked.icon == MessageIcon::None &&
                 asked.defaultAnswer == MessageAnswer::Yes));
        QVERIFY(failure.buttons == MessageButtons::Ok && failure.icon == MessageIcon::None);
        QVERIFY(before != "folder" || r.view.info.value(2) == "Pathname ...........: " + path);
    }

    // The file x.mp3 chosen, its title and artist typed, then renamed: the
    // files the folder holds after, and the message shown.
    void rename_data()
    {
        // The title and artist typed, the order (0: title first), then what follows.
        QTest::addColumn<QStringList>("row");
        // clang-format off
        const char *const rows[][6] = {
            {"title first", "Morning", "Quartet", "0", "Morning - Quartet.mp3", ""},
            {"artist first", "Morning", "Quartet", "1", "Quartet - Morning.mp3", ""},
            {"slash refused", "T", "sub/dir", "1", "x.mp3", ""},
            {"target exists", "T", "A", "0", "T - A.mp3|x.mp3", ""},
            {"nothing selected", "T", "A", "0", "x.mp3", ""},
            {"vanished", "T", "A", "0", "", ""},
            {"no title", "   ", "A", "1", "x.mp3", "Titel en/of artiest niet ingevuld!"}};
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QStringList{row + 1, row + 6};
    }
    void rename()
    {
        QFETCH(QStringList, row);
        const QString before = QTest::currentDataTag();
        Rig r;
        const QByteArray bytes = MpegFrames(1) + Trailer({"T", "A"});
        QVERIFY(QDir(r.dir.path()).mkdir(QStringLiteral("sub")));
        if (before == "target exists")
            r.write({{"T - A.mp3", bytes}});
        r.openWith({{"x.mp3", bytes}}, before == "target exists" ? 1 : 0);
        const QString shownBefore = r.view.count + r.view.info.join('|');
        r.type(0, row[0]);
        r.type(1, row[1]);
        if (before == "vanished")
            QVERIFY(QFile::remove(r.path("x.mp3")));
        if (before == "nothing selected")
            r.presenter.openFolder(r.dir.path()); // a new list, the boxes as they were
        r.presenter.rename(RenameOrder(row[2].toInt()));
        const QStringList listed = QDir(r.dir.path()).entryList(QDir::Files);
        QCOMPARE(listed.join('|'), row[3]);
        for (const QString &name : listed)
            QCOMPARE(ReadFile(r.path(name)), bytes);
        QVERIFY(QDir(r.path("sub")).isEmpty());
        QCOMPARE(r.tagFiles.renames, int(row[4].isEmpty() && before != "nothing selected"));
        const MessageRequest m = r.messages.shown.value(0);
        QCOMPARE(m.text, row[4]);
        QVERIFY(row[4].isEmpty() || (m.caption == "Error" && m.icon == MessageIcon::Critical &&
                                     m.buttons == MessageButtons::Ok));
        // The list is rebuilt with nothing selected (a refused name changes
        // nothing); the count and the view stay.
        QCOMPARE(r.view.files, listed);
        QCOMPARE(r.view.row + r.presenter.selectedRow(), row[4].isEmpty() ? -2 : -1);
        QCOMPARE(r.view.count + r.view.info.join('|'), shownBefore);
    }

    void clearFieldsAndPrint()
    {
        Rig r;
        using Button = MainWindowPresenter::Button;
        QList<ShownTag> printed; // nothing to print while the list is empty
        r.presenter.setButtonAction(Button::Print, [&] { printed.append(r.presenter.shownTag()); });
        r.openWith({{"a.mp3", MpegFrames(1) + Trailer({"T", "A", "B", "Y", "C"}, 8)}}, 0);
        r.type(1, QStringLiteral("typed")); // the report takes the boxes as they stand
        r.type(5, QStringLiteral("Rock"));
        for (Button b : {Button::Print, Button::ClearFields, Button::Print})
            r.presenter.press(b);
        const ShownTag shown = printed.value(0);
        QCOMPARE(QStringList({QString::number(printed.size()), shown.fileName, shown.title,
                              shown.artist, shown.genre, shown.selectedFilePath}),
                 QStringList({"1", "a.mp3", "T", "typed", "Rock", r.path("a.mp3")}));
        // No files and an empty summary (its captions alone); the folder list stays.
        QCOMPARE(
            r.view.boxes() + QStringList{r.view.count} + r.view.info + r.view.files +
                r.view.summary + QStringList{r.view.folder()},
            QStringList({"", "", "", "", "", "Jazz", "Files : 0", "Bestand ..............: ",
                         "Date ...................: ", "Pathname ...........: ", r.dir.path()}));
        QCOMPARE(r.presenter.selectedFilePath() + r.presenter.selectedFolder() +
                     r.presenter.tagMarker(),
                 QStringLiteral("TAG"));
        r.presenter.play(); // nothing chosen: nothing but an empty path to open
        QCOMPARE(r.shell.opened, QStringList({""}));
    }

    void clockAndTitle()
    {
        Rig r;
        // Started late in the minute: "Brelko" until a text is due; a text
        // stays until the next one is.
        const QString host = QString::fromLatin1(MakerHost);
        for (const auto &[second, title] : QList<QPair<int, QString>>{
                 {45, "Brelko"}, {6, "Gratis software"}, {32, host}, {59, host}}) {
            r.clock.time = QDateTime(QDate(2024, 3, 7), QTime(9, 5, second));
            r.presenter.tick();
            QCOMPARE(r.view.title + '|' + r.view.clock,
                     title + QStringLiteral("|9:05:%1 ").arg(second, 2, 10, QChar('0')));
        }
    }
};

QTEST_GUILESS_MAIN(MainWindowPresenterTest)
#include "tst_MainWindowPresenter.moc"
