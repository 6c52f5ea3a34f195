// The main window's actions driven as a user drives them: update, rename,
// the button bar and its press animation.
#include "Genres.h"
#include "Harness.h"
#include "MainTexts.h"
#include "PictureBox.h"
#include "Twips.h"

#include <QAction>
#include <QDir>
#include <QSet>
#include <QtTest>
#include <tuple>
#include <utility>

namespace {
const QString NoTag = QStringLiteral("No ID Version 1.1 Tag Found");
} // namespace

class MainWindowActionsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WindowHarness> h;
    QStringList texts(const QStringList &names) const
    {
        QStringList shown;
        for (const QString &name : names)
            shown.append(h->text(name));
        return shown;
    }

private Q_SLOTS:
    void init() { h = std::make_unique<WindowHarness>(); }
    void cleanup() { h.reset(); }

    void updateAsks()
    {
        const QByteArray bytes = Audio() + Trailer({"T", "A"});
        h->openWith({{"a.mp3", bytes}}, 0);
        for (const char *title : {"", "     "}) { // no title: nothing asked, nothing written
            h->setText("Text1", title);
            h->click(QStringLiteral("UpdateKnop"));
        }
        QVERIFY(h->messages.shown.isEmpty());
        h->setText("Text1", QStringLiteral("changed"));
        h->messages.answer = MessageAnswer::No;
        h->click(QStringLiteral("UpdateKnop"));
        QCOMPARE(h->messages.shown.size(), 1);
        const MessageRequest &asked = h->messages.shown.first();
        QCOMPARE(asked.text + '|' + asked.caption,
                 "Weet je zeker dat je deze tags wilt wijzigen?|Update");
        QVERIFY(asked.buttons == MessageButtons::YesNo &&
                asked.defaultAnswer == MessageAnswer::Yes && asked.icon == MessageIcon::None);
        QVERIFY(h->tagFiles.writes.isEmpty());
        QCOMPARE(ReadFile(h->path("a.mp3")), bytes);
        QCOMPARE(h->text("Text1"), QStringLiteral("changed"));
    }

    void update()
    {
        const QByteArray audio = Audio(2), old = Trailer({"Oud", "A", "B", "1", "C"}, 0),
                         no = Trailer({"T"});
        const struct {
            QByteArray trailer; // empty: the file has none
            QString box, typed;
            int offset;
            QByteArray stored;
            QString shownAfter;
        } rows[] = {
            // clang-format off
            {"", "Text2", "Artiest", 0, "TAGNo ID Version 1.1 Tag Found   ", "Artiest"},
            {old, "Text1", "Nieuw", 3, QByteArray("Nieuw").leftJustified(30), "Nieuw"},
            {old, "Text1", "  Lead", 3, QByteArray("  Lead").leftJustified(30), "Lead"}, // leading spaces kept
            {old, "Text2", "Caf\u00e9 \u20ac", 33, QByteArray("Caf\xe9 \x80").leftJustified(30), "Caf\u00e9 \u20ac"},
            {old, "Combo1", "Polka Punk", 127, QByteArray(1, 12), "Other"}, // not in the table
            {no, "Text2", "X", 127, QByteArray(1, '\xff'), "X"}, {Trailer({"T"}, 200), "Text2", "X", 127, "\xc8", "X"},
            {no, "Combo1", "Rock", 127, QByteArray(1, 17), "Rock"}, {no, "Combo1", "Other", 127, QByteArray(1, 12), "Other"}};
        // clang-format on
        for (const auto &row : rows) {
            init();
            h->openWith({{"a.mp3", audio + row.trailer}}, 0);
            h->setText(row.box, row.typed);
            h->click(QStringLiteral("UpdateKnop"));
            const QByteArray written = ReadFile(h->path("a.mp3"));
            QCOMPARE(written.size(), audio.size() + 128); // grown by a trailer, or the same length
            QCOMPARE(written.left(audio.size()), audio);
            QCOMPARE(written.mid(audio.size() + row.offset, row.stored.size()), row.stored);
            QCOMPARE(h->text(row.box) + ' ' + h->window->tagMarker(), row.shownAfter + " TAG");
            QVERIFY(h->text("Label4").endsWith(
                QStringLiteral("Grootte : %1 Bytes").arg(written.size())));
        }
    }

    void updateMends()
    {
        const QByteArray bytes = Audio() + Trailer({"T", "A"}), other = Audio() + Trailer({"Zee"});
        // What happens between the click and the update; whether the file then
        // holds the typed title; what the view shows after.
        const QList<std::tuple<QString, bool, QString>> rows = {{"fail", false, "T"},
                                                                {"clear", false, "Twee"},
                                                                {"rename", false, NoTag},
                                                                {"folder", true, "Twee"}};
        for (const auto &[before, written, shownAfter] : rows) {
            init();
            const QString path = h->path("a.mp3");
            QVERIFY(QDir(h->dir.path()).mkdir("ander") && TryWriteFile(h->path("ander/z.mp3"), other));
            h->openWith({{"a.mp3", bytes}}, 0);
            h->tagFiles.failWrites = before == "fail"; // through the tag file seam
            if (before == "clear")
                h->window->clearFields();
            if (before == "rename")
                h->click(QStringLiteral("RenameKnop_0"));
            if (before == "folder")
                h->window->openFolder(h->path("ander"));
            h->setText("Text1", QStringLiteral("Twee"));
            h->click(QStringLiteral("UpdateKnop"));
            QCOMPARE(h->tagFiles.writes, before == "clear" ? QStringList() : QStringList({path}));
            QCOMPARE(QFile::exists(path), before != "rename"); // the old name never comes back
            QCOMPARE(ReadFile(path) == bytes, !written && before != "rename");
            QCOMPARE(ReadFile(path).mid(420, 4) == "Twee", written);
            QCOMPARE(ReadFile(h->path("ander/z.mp3")), other);
            QCOMPARE(h->text("Text1"), shownAfter); // the view is rebuilt from the file
            const bool failed = before == "fail" || before == "rename";
            const MessageRequest failure = h->messages.shown.value(1);
            QCOMPARE(failure.text, QString(failed ? "Fout bij het opslaan..." : ""));
            QVERIFY(!failed ||
                    (failure.caption == "Brelko" && failure.buttons == MessageButtons::Ok &&
                     failure.icon == MessageIcon::None));
            QVERIFY(before != "folder" || h->text("Label5") == "Pathname ...........: " + path);
        }
    }

    void rename()
    {
        const QByteArray bytes = Audio() + Trailer({"T", "A"});
        const struct {
            const char *oldName, *title, *artist;
            int order;
            const char *newName; // empty: the file keeps its name
        } rows[] = {             // clang-format off
            {"x.mp3", "Morning", "Quartet", 0, "Morning - Quartet.mp3"}, {"x.mp3", "Morning", "Quartet", 1, "Quartet - Morning.mp3"},
            {"x.MP3", " T ", "A  ", 0, "T - A.mp3"}, {"x.mp3", "Wat? *Nu*", "A: \"B\" <C>|\\", 0, "Wat? *Nu* - A: \"B\" <C>|\\.mp3"},
            {"x.mp3", "../boven", "A", 0, ""}, {"x.mp3", "T", "sub/dir", 1, ""}}; // a slash is refused
        // clang-format on
        for (const auto &row : rows) {
            init();
            QVERIFY(QDir(h->dir.path()).mkdir(QStringLiteral("sub")));
            h->openWith({{row.oldName, bytes}}, 0);
            h->find<QLabel>(QStringLiteral("Label13"))->setText(QStringLiteral("marker"));
            h->setText("Text1", row.title);
            h->setText("Text2", row.artist);
            h->click(QStringLiteral("RenameKnop_%1").arg(row.order));
            const QString expected = *row.newName ? row.newName : row.oldName;
            QCOMPARE(QDir(h->dir.path()).entryList(QDir::Files), QStringList({expected}));
            QCOMPARE(ReadFile(h->path(expected)), bytes);
            QVERIFY(QDir(h->path("sub")).isEmpty() && h->messages.shown.isEmpty());
            // The list is rebuilt with nothing selected; the count and the view stay.
            QCOMPARE(h->listed(), QStringList({expected}));
            QCOMPARE(h->selectedRow(), -1);
            QCOMPARE(texts({"Label13", "Label3"}),
                     QStringList({"marker", "Bestand ..............: " + QString(row.oldName)}));
        }
    }

    void renameLeavesFilesAlone()
    {
        const QByteArray mine = Audio() + Trailer({"T", "A"});
        h->openWith({{"T - A.mp3", "other"}, {"x.mp3", mine}}, 1);
        h->click(QStringLiteral("RenameKnop_0")); // the target exists: both files unchanged
        QCOMPARE(ReadFile(h->path("T - A.mp3")) + ReadFile(h->path("x.mp3")), "other" + mine);
        QCOMPARE(h->selectedRow(), -1);
        QCOMPARE(h->tagFiles.renames, 1);
        QVERIFY(TryWriteFile(h->path("y.mp3"), "new"));
        h->click(QStringLiteral("RenameKnop_1")); // nothing selected: only the list rebuilt
        QCOMPARE(h->tagFiles.renames, 1);
        QCOMPARE(h->listed(), QStringList({"T - A.mp3", "x.mp3", "y.mp3"}));
        h->clickRow(1);
        QVERIFY(QFile::remove(h->path("x.mp3")));
        h->click(QStringLiteral("RenameKnop_0")); // the file vanished
        QCOMPARE(h->listed(), QStringList({"T - A.mp3", "y.mp3"}));
        QVERIFY(h->messages.shown.isEmpty());
        h->clickRow(1);
        h->setText("Text1", "   "); // no title: told so, nothing renamed
        h->click(QStringLiteral("RenameKnop_1"));
        QCOMPARE(h->messages.shown.size(), 1);
        const MessageRequest &m = h->messages.shown.first();
        QCOMPARE(m.text + "|" + m.caption,
                 QStringLiteral("Titel en/of artiest niet ingevuld!|Error"));
        QVERIFY(m.icon == MessageIcon::Critical && m.buttons == MessageButtons::Ok);
        QCOMPARE(h->tagFiles.renames, 2);
    }

    void buttonActions()
    {
        h->open();
        QList<int> ran;
        for (int i : {1, 2, 3})
            h->window->setButtonAction(i, [&ran, i] { ran.append(i); });
        for (int i : {1, 2, 3})
            h->click(QStringLiteral("Knop_%1").arg(i));
        QCOMPARE(ran, QList<int>({1, 2})); // nothing to print while the list is empty
        QVERIFY(TryWriteFile(h->path("a.mp3"), Audio()));
        h->window->openFolder(h->dir.path());
        h->click(QStringLiteral("Knop_3"));
        QCOMPARE(ran, QList<int>({1, 2, 3}));
    }

    void pressAnimation()
    {
        h->open();
        auto rest = [](int i) { return QPoint(Px(120 + 930 * i), Px(105)); };
        auto knop = [this](int i) { return h->find(QStringLiteral("Knop_%1").arg(i)); };
        for (int i = 0; i < 5; ++i) {
            QPoint during;
            h->pauser.during = [&] { during = knop(i)->pos(); };
            QTest::mouseClick(knop(i), Qt::LeftButton);
            QCOMPARE(during, rest(i) + QPoint(Px(30), Px(30)));
            QCOMPARE(knop(i)->pos(), rest(i));
        }
        QCOMPARE(h->pauser.pauses, QList<float>(5, 0.2f));
        bool nested = false; // a second button clicked while the first one waits
        h->pauser.during = [&] {
            if (!std::exchange(nested, true))
                QTest::mouseClick(knop(3), Qt::LeftButton);
        };
        QTest::mouseClick(knop(1), Qt::LeftButton);
        QCOMPARE(h->pauser.pauses.size(), 7);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(knop(i)->pos(), rest(i));
    }
};

QTEST_MAIN(MainWindowActionsTest)
#include "tst_MainWindowActions.moc"
