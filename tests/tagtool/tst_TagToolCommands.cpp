// brelko-tag run as a user runs it: the real executable on real files in a
// temporary folder, with its journal in a state folder of its own.
#include "TagToolProcess.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

class TestTagToolCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolders> dirs_;

    QString path(const QString &name) const { return dirs_->file(name); }
    QString make(const QString &name, const QByteArray &t = {}) { return dirs_->mp3(name, 4, t); }
    Result run(const QStringList &args) { return RunTagTool(*dirs_, args); }
    // A bash script with brelko-tag as $0: byte names ($'\xff'), pipes, FIFOs.
    Result script(const QString &text, int timeout = 30000)
    {
        QProcess process;
        PrepareTagTool(process, *dirs_);
        process.start("/bin/bash", {"-c", text, BRELKO_TAG_PATH});
        return FinishTagTool(process, timeout);
    }
    QByteArray at(const QByteArray &name) const
    {
        return QFile::encodeName(dirs_->files.path()) + '/' + name;
    }
    // By bytes: QFile would turn a name that is not UTF-8 into another one.
    void writeAt(const QByteArray &name, const QByteArray &contents) const
    {
        const int fd = ::open(at(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0 && ::write(fd, contents.constData(), size_t(contents.size())) ==
                               ssize_t(contents.size()));
        ::close(fd);
    }
    QByteArray readAt(const QByteArray &name) const
    {
        QByteArray contents(1 << 16, '\0');
        const int fd = ::open(at(name).constData(), O_RDONLY);
        const ssize_t n = fd < 0 ? 0 : ::read(fd, contents.data(), size_t(contents.size()));
        ::close(fd);
        return contents.left(qMax<ssize_t>(n, 0));
    }

private Q_SLOTS:
    void init() { dirs_ = std::make_unique<TestFolders>(); }

    void show()
    {
        QByteArray comment = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(7);
        make("a.mp3", Trailer("  Morning  ", "Quartet", comment, char(200)));
        // b and q also open with an ID3v2 header (version 2.3, 2.4).
        const QByteArray v2 = QByteArray("ID3\x03\0\0\0\0\0\0", 10);
        WriteFile(path("b.mp3"), v2 + MpegFrames(4));
        WriteFile(path("q.mp3"), QByteArray(v2).replace(3, 1, "\x04") + MpegFrames(4) +
                                     Trailer("Say \"hi\", \x1bx", "=cmd()", "", char(0)));
        const Result r = run({"show", "a.mp3", "b.mp3", "q.mp3"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out,
                 QString("a.mp3:\n  Title:   Morning\n  Artist:  Quartet\n"
                         "  Album:   Album\n  Year:    1999\n  Comment: Live\n"
                         "  Genre:   Unknown Genre Entry (200)\n  Track:   7\n"
                         "b.mp3:\n  no ID3v1 tag\n  ID3v2:   2.3\nq.mp3:\n"
                         "  Title:   Say \"hi\", ?x\n  Artist:  =cmd()\n  Album:   Album\n"
                         "  Year:    1999\n  Comment: \n  Genre:   Blues (0)\n  ID3v2:   2.4\n"));
        QVERIFY(r.err.isEmpty());
    }

    // Each bad input is reported with the file and the reason. When nothing
    // is done (no output, or a dry run), nothing changes; else the other
    // files are done.
    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QByteArray>("written"); // expected in t.mp3's trailer after
        auto row = [](const char *name, const QString &args, int status, const QString &err,
                      const QString &out = QString(), const QByteArray &written = QByteArray()) {
            QTest::newRow(name) << args.split('|', Qt::SkipEmptyParts) << status << err << out
                                << written;
        };
        const QString title40 = "A title that runs past thirty characters";
        row("directory, rename", "rename|--order|title-artist|dir.mp3|t.mp3", 1,
            "brelko-tag: dir.mp3: Is a directory", "t.mp3 -> Morning - Quartet.mp3");
        row("unknown genre", "set|--genre|rock|t.mp3", 2,
            "unknown genre \"rock\" (did you mean \"Rock\"?)");
        row("genre number", "set|--genre|256|t.mp3", 2, "256");
        row("track", "set|--track|x|t.mp3", 2, "track \"x\"");
        row("nothing", "set|t.mp3", 2, "nothing to set");
        row("no value", "set|t.mp3|--title", 2, "--title needs a value");
        row("option", "set|--titel=x|t.mp3", 2, "unknown option --titel=x");
        row("order", "rename|--order|x|t.mp3", 2, "--order must be");
        row("no files", "show", 2, "no files given");
        row("-0 without a list", "show|-0|t.mp3", 2, "-0 needs --files-from");
        row("jobs", "show|--jobs|0|t.mp3", 2, "--jobs must be a number from 1 to 1024");
        row("missing list", "show|--files-from|nolist|t.mp3", 1,
            "brelko-tag: show: nolist: No such file or directory", "t.mp3:\n  Title:   Morning");
        row("both", "show|--json|--csv|t.mp3", 2, "cannot be combined");
        row("command", "play|t.mp3", 2, "unknown command \"play\"");
        row("no command", "", 2, "");
        row("help", "--help", 0, "", "show [--json | --csv]");
        row("version", "--version", 0, "", "brelko-tag " BRELKO_VERSION "\n");
        row("long title", "set|--title|" + title40 + "|t.mp3", 0,
            "--title: only the first 30 characters are written", "t.mp3: tag written",
            title40.left(30).toLatin1() + "Quartet");
        row("long year", "set|--year|20019|t.mp3", 0,
            "--year: only the first 4 characters are written", "t.mp3: tag written", "2001 ");
        row("comment beside a track", "set|--track|4|--comment|" + QString(29, 'c') + "|t.mp3", 0,
            "--comment: only the first 28 characters are written", "t.mp3: tag written",
            QByteArray(28, 'c') + '\0' + char(4));
        row("outside code page", QStringLiteral("set|--album|Ω Café €|t.mp3"), 0,
            "--album: characters outside Windows-1252 are written as \"?\"", "t.mp3: tag written",
            "? Caf\xe9 \x80 ");
        row("slash in new name", "rename|--order|title-artist|slash.mp3", 1,
            "slash.mp3: the new name \"AC/DC - Band.mp3\" contains \"/\"");
        row("empty title", "rename|--order|title-artist|empty.mp3", 1,
            "empty.mp3: title or artist is empty");
        row("target exists", "rename|--order|title-artist|taken.mp3", 1,
            "taken.mp3: \"Taken - Quartet.mp3\" exists");
        row("dry run, fields trimmed", "rename|--order|artist-title|--dry-run|OLD.MP3", 0, "",
            "OLD.MP3 -> The Quartet - Morning.mp3\n");
        row("no tag to rename by", "rename|--order|title-artist|plain.mp3", 1,
            "plain.mp3: has no ID3v1 tag");
    }

    void badInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QString, out);
        QFETCH(QByteArray, written);
        const QString file = make("t.mp3", Trailer("Morning", "Quartet"));
        make("slash.mp3", Trailer("AC/DC", "Band"));
        make("empty.mp3", Trailer("   ", "Band"));
        make("taken.mp3", Trailer("Taken", "Quartet"));
        make("Taken - Quartet.mp3");
        make("plain.mp3");
        make("OLD.MP3", Trailer(QByteArray("  Morning") + '\0' + "junk", " The Quartet "));
        QVERIFY(QDir(dirs_->files.path()).mkdir("dir.mp3"));
        const QStringList names = QDir(dirs_->files.path()).entryList();
        const QByteArray before = ReadFile(file);
        const Result r = run(args);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
        QVERIFY2(out.isEmpty() ? r.out.isEmpty() : r.out.contains(out), qPrintable(r.out));
        if (out.isEmpty() || args.contains("--dry-run")) {
            QCOMPARE(QDir(dirs_->files.path()).entryList(), names);
            QCOMPARE(ReadFile(file), before);
            QCOMPARE(ReadFile(path("Taken - Quartet.mp3")), MpegFrames(4));
        }
        if (!written.isEmpty())
            QVERIFY(ReadFile(file).right(128).contains(written));
    }

    void setChangesOnlyTheGivenFields()
    {
        const QByteArray comment = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(9);
        const QString file = make("s.mp3", Trailer("Morning", "Quartet", comment, 8));
        QByteArray expected = ReadFile(file);
        const Result r = run({"set", "--artist", "Trio", "--genre", "Poweer Ballad", "--comment",
                              "Studio", "s.mp3"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("s.mp3: tag written\n"));
        expected.replace(expected.size() - 128 + 33, 30, QByteArray("Trio").leftJustified(30));
        expected[expected.size() - 1] = char(117);
        expected.replace(expected.size() - 31, 6, "Studio");
        QCOMPARE(ReadFile(file), expected); // the track too is kept
    }

    void undoTakesBackWriteAppendAndRename()
    {
        const QString tagged = make("t.mp3", Trailer("Morning", "Quartet"));
        const QString bare = make("b.mp3");
        const QByteArray taggedBefore = ReadFile(tagged), bareBefore = ReadFile(bare);
        QCOMPARE(run({"set", "--title", "Evening", "t.mp3", "b.mp3"}).status, 0);
        QCOMPARE(run({"set", "--artist", "Trio", "t.mp3"}).status, 0);
        QCOMPARE(run({"rename", "--order", "artist-title", "t.mp3"}).status, 0);
        QCOMPARE(run({"set", "--year", "2002", "Trio - Evening.mp3"}).status, 0);
        QCOMPARE(run({"undo", "Trio - Evening.mp3"}).status, 0); // the write after the rename
        Result r = run({"undo", "Trio - Evening.mp3", "b.mp3"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("Trio - Evening.mp3: rename undone, now \"t.mp3\"\n"
                                       "b.mp3: tag write undone\n"));
        QCOMPARE(ReadFile(bare), bareBefore); // the appended trailer is gone
        QCOMPARE(run({"undo", "t.mp3"}).status, 0);
        QCOMPARE(run({"undo", "t.mp3"}).status, 0);
        QCOMPARE(ReadFile(tagged), taggedBefore);
        r = run({"undo", "t.mp3"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("t.mp3: no change by Brelko is recorded for it"));
    }

    // The file named is the file changed, journaled and undone: names are
    // bytes, and a folder is the one the kernel resolves (lnk -> real/sub,
    // so lnk/.. is real, not the working folder).
    void pathsAsTheKernelResolvesThem_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArrayList>("changed");
        const QString set = "\"$0\" set --title X ";
        const QString rename = "\"$0\" rename --order title-artist lnk/../x.mp3";
        QTest::newRow("name that is not UTF-8")
            << set + "$'\\xff.mp3'" << 0 << QByteArrayList{"\xff.mp3"};
        QTest::newRow("not UTF-8, undone")
            << set + "$'\\xff.mp3' && \"$0\" undo $'\\xff.mp3'" << 0 << QByteArrayList{};
        QTest::newRow("through a link and ..")
            << set + "lnk/../x.mp3" << 0 << QByteArrayList{"real/x.mp3"};
        QTest::newRow("undo of the file never written")
            << set + "lnk/../x.mp3 && \"$0\" undo x.mp3" << 1 << QByteArrayList{"real/x.mp3"};
        QTest::newRow("undo by its real path")
            << set + "lnk/../x.mp3 && \"$0\" undo real/x.mp3" << 0 << QByteArrayList{};
        QTest::newRow("rename through a link and ..")
            << rename << 0 << QByteArrayList{"real/x.mp3", "real/Morning - Quartet.mp3"};
        QTest::newRow("rename undone")
            << rename + " && \"$0\" undo 'real/Morning - Quartet.mp3'" << 0 << QByteArrayList{};
    }

    void pathsAsTheKernelResolvesThem()
    {
        QFETCH(QString, commands);
        QFETCH(int, status);
        QFETCH(QByteArrayList, changed);
        const QByteArray mp3 = MpegFrames(4) + Trailer("Morning", "Quartet");
        QVERIFY(QDir(path("")).mkpath("real/sub"));
        QVERIFY(QFile::link("real/sub", path("lnk")));
        const QByteArrayList watched{"\xff.mp3", "\xef\xbf\xbd.mp3", "x.mp3", "real/x.mp3",
                                     "real/Morning - Quartet.mp3"};
        for (const QByteArray &name : watched.mid(0, 4))
            writeAt(name, mp3);
        const Result r = script(commands);
        QCOMPARE(r.status, status);
        for (const QByteArray &name : watched)
            QVERIFY2((readAt(name) != (name.contains("Morning") ? QByteArray() : mp3)) ==
                         changed.contains(name),
                     name.constData());
    }

    // A FIFO in a file's place is refused at once, and the other files are
    // still done (show and set meet FIFOs in the batch tests). A hang fails
    // the test after 5 seconds.
    void fifoNeverHangs_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::newRow("rename") << "\"$0\" rename --order title-artist fifo.mp3 t.mp3";
        QTest::newRow("undo after a swap")
            << "\"$0\" set --year 2001 t.mp3 fifo.mp3; mv t.mp3 x.mp3 && mkfifo t.mp3 && "
               "\"$0\" undo t.mp3";
    }

    void fifoNeverHangs()
    {
        QFETCH(QString, commands);
        make("t.mp3", Trailer("Morning", "Quartet"));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo.mp3")).constData(), 0644), 0);
        const Result r = script(commands, 5000);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(": not a regular file"), qPrintable(r.err));
        QVERIFY2(r.out.contains("t.mp3"), qPrintable(r.out));
    }

    // A reader that went away: no death by SIGPIPE, the batch stops between
    // two files and says which ones it did not touch. One file at a time,
    // so the stop surely lands mid-batch; with many in flight a small batch
    // may be done before the first line fails (tst_TagToolBatches covers
    // stopping there).
    void closedOutputStopsBetweenFiles()
    {
        for (int i = 0; i < 300; ++i)
            make(QString::asprintf("f%03d.mp3", i));
        const Result r = script(
            "{ sleep 0.5; \"$0\" set --jobs 1 --title X f*.mp3; echo \"status $?\" >&2; } | true");
        QVERIFY2(r.err.contains("status 1\n"), qPrintable(r.err));
        QVERIFY(r.err.contains("cannot write to standard output; these files were not touched:"));
        int untouched = 0;
        for (int i = 0; i < 300; ++i) {
            const QString name = QString::asprintf("f%03d.mp3", i);
            const bool listed = r.err.contains("brelko-tag:   " + name + "\n");
            const bool written = ReadFile(path(name)).right(128).startsWith("TAGX ");
            QVERIFY2(listed != written, qPrintable(name));
            untouched += listed ? 1 : 0;
        }
        QVERIFY(untouched > 0);
    }

    void undoRefusedAfterOutsideChange_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("reason");
        QTest::newRow("length") << 0 << "its length changed";
        QTest::newRow("time") << 1 << "it was modified";
        QTest::newRow("trailer") << 2 << "its tag changed";
        // Held back by the tag lock of a writer, undo checks again after it.
        QTest::newRow("written while undo waits") << 3 << "it was modified";
        QTest::newRow("journal cannot record it") << 4 << "the journal cannot record it";
    }

    void undoRefusedAfterOutsideChange()
    {
        QFETCH(int, change);
        QFETCH(QString, reason);
        const QString file = make("o.mp3", Trailer("Morning", "Quartet"));
        QCOMPARE(run({"set", "--title", "Evening", "o.mp3"}).status, 0);
        const QByteArray native = QFile::encodeName(file);
        struct stat written {};
        QVERIFY(::stat(native.constData(), &written) == 0);
        QByteArray bytes = ReadFile(file);
        if (change == 0)
            bytes += '\0';
        if (change == 2 || change == 3)
            bytes[bytes.size() - 100] = 'X';
        Result r;
        if (change == 3) {
            // Not inherited by the child: its copy would hold the lock too.
            const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
            QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX) == 0);
            QProcess undo;
            PrepareTagTool(undo, *dirs_);
            undo.start(BRELKO_TAG_PATH, {"undo", "o.mp3"});
            QVERIFY(!undo.waitForFinished(500)); // it waits for the lock
            QCOMPARE(::pwrite(fd, bytes.constData() + bytes.size() - 100, 1, bytes.size() - 100),
                     ssize_t(1));
            ::close(fd);
            r = FinishTagTool(undo);
        } else if (change == 4) {
            // The history is readable, but nothing can be added to it.
            const QString journal = dirs_->state.filePath("brelko/changes.log");
            QVERIFY(QFile::rename(journal, journal + ".1") && QFile::link("nowhere", journal));
            r = run({"undo", "o.mp3"});
        } else {
            QVERIFY(TryWriteFile(file, bytes));
            // Only the change under test differs: the time goes back to the
            // exact nanosecond the write left, unless the time is what changes.
            struct timespec times[2] = {written.st_atim, written.st_mtim};
            times[1].tv_sec += change == 1 ? 5 : 0;
            QVERIFY(::utimensat(AT_FDCWD, native.constData(), times, 0) == 0);
            r = run({"undo", "o.mp3"});
        }
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("o.mp3: cannot undo: " + reason), qPrintable(r.err));
        QCOMPARE(ReadFile(file), bytes);
    }
};

QTEST_GUILESS_MAIN(TestTagToolCommands)
#include "tst_TagToolCommands.moc"
