// brelko-tag run as a user runs it: the real executable on real files in a
// temporary folder, with its journal in a state folder of its own.
#include "TagToolProcess.h"

class TestTagToolCommands : public TagToolTest {
    Q_OBJECT

    // Every file and its bytes, to see that nothing changed.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        for (const QString &name :
             QDir(dirs_->files.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries))
            files.insert(name, ReadFile(path(name)));
        return files;
    }

private Q_SLOTS:
    void init() { fresh(); }

    void show()
    {
        const QByteArray comment = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(7);
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
    // files are done. Fields cut or changed to fit are said and written.
    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QByteArray>("written"); // in t.mp3's trailer after
        // clang-format off
        const char *rows[][6] = {
            // name, arguments, status, on standard error, on standard output, written (%XX: a byte)
            {"directory, rename", "rename|--order|title-artist|dir.mp3|t.mp3", "1",
             "brelko-tag: dir.mp3: Is a directory", "t.mp3 -> Morning - Quartet.mp3", ""},
            {"unknown genre", "set|--genre|rock|t.mp3", "2", "unknown genre \"rock\" (did you mean \"Rock\"?)", "", ""},
            {"genre number", "set|--genre|256|t.mp3", "2", "256", "", ""},
            {"track", "set|--track|x|t.mp3", "2", "track \"x\"", "", ""},
            {"nothing", "set|t.mp3", "2", "nothing to set", "", ""},
            {"no value", "set|t.mp3|--title", "2", "--title needs a value", "", ""},
            {"option", "set|--titel=x|t.mp3", "2", "unknown option --titel=x", "", ""},
            {"order", "rename|--order|x|t.mp3", "2", "--order must be", "", ""},
            {"no files", "show", "2", "no files given", "", ""},
            {"-0 without a list", "show|-0|t.mp3", "2", "-0 needs --files-from", "", ""},
            {"jobs", "show|--jobs|0|t.mp3", "2", "--jobs must be a number from 1 to 1024", "", ""},
            {"missing list", "show|--files-from|nolist|t.mp3", "1",
             "brelko-tag: show: nolist: No such file or directory", "t.mp3:\n  Title:   Morning", ""},
            {"both", "show|--json|--csv|t.mp3", "2", "cannot be combined", "", ""},
            {"command", "play|t.mp3", "2", "unknown command \"play\"", "", ""},
            {"no command", "", "2", "", "", ""},
            {"help", "--help", "0", "", "show [--json | --csv]", ""},
            {"version", "--version", "0", "", "brelko-tag " BRELKO_VERSION "\n", ""},
            {"fill, no source", "fill|t.mp3", "2", "fill: give either --from-v2 or --from-name", "", ""},
            {"fill, both sources", "fill|--from-v2|--from-name|%title%|t.mp3", "2", "fill: give either", "", ""},
            {"fill, placeholder", "fill|--from-name|%name%|t.mp3", "2", "fill: unknown placeholder", "", ""},
            {"fill, no files", "fill|--from-v2", "2", "fill: no files given", "", ""},
            {"long title", "set|--title|A title that runs past thirty characters|t.mp3", "0",
             "--title: only the first 30 characters are written", "t.mp3: tag written",
             "A title that runs past thirty Quartet"},
            {"long year", "set|--year|20019|t.mp3", "0", "--year: only the first 4 characters are written",
             "t.mp3: tag written", "2001Live"},
            {"comment beside a track", "set|--track|4|--comment|ccccccccccccccccccccccccccccc|t.mp3", "0",
             "--comment: only the first 28 characters are written", "t.mp3: tag written",
             "cccccccccccccccccccccccccccc%00%04"},
            {"new comment keeps the track", "set|--comment|Studio|t.mp3", "0", "", "t.mp3: tag written",
             "Studio                      %00%09"},
            {"outside code page", "set|--album|Ω Café €|t.mp3", "0",
             "--album: characters outside Windows-1252 are written as \"?\"", "t.mp3: tag written",
             "? Caf%E9 %80 "},
            {"slash in new name", "rename|--order|title-artist|slash.mp3", "1",
             "slash.mp3: the new name \"AC/DC - Band.mp3\" contains \"/\"", "", ""},
            {"empty title", "rename|--order|title-artist|empty.mp3", "1", "empty.mp3: title or artist is empty", "", ""},
            {"target exists", "rename|--order|title-artist|taken.mp3", "1", "taken.mp3: \"Taken - Quartet.mp3\" exists", "", ""},
            {"no tag to rename by", "rename|--order|title-artist|plain.mp3", "1", "plain.mp3: has no ID3v1 tag", "", ""},
            {"rename dry run, fields trimmed", "rename|--order|artist-title|--dry-run|OLD.MP3", "0", "",
             "OLD.MP3 -> The Quartet - Morning.mp3\n", ""},
            {"fill dry run", "fill|--from-name|%track%. %artist% - %title%|--dry-run|07. Trio - Señor Ω.mp3", "0", "",
             "07. Trio - Señor Ω.mp3:\n  Title:   \"Old\" -> \"Señor ?\"\n"
             "  Artist:  \"Quartet\" -> \"Trio\"\n  Track:   none -> 7\n", ""},
        };
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromUtf8(row[1]).split('|', Qt::SkipEmptyParts)
                                  << atoi(row[2]) << QString::fromUtf8(row[3])
                                  << QString::fromUtf8(row[4])
                                  << QByteArray::fromPercentEncoding(row[5]);
    }

    void badInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QString, out);
        QFETCH(QByteArray, written);
        make("t.mp3",
             Trailer("Morning", "Quartet", QByteArray("Live").leftJustified(28) + '\0' + char(9)));
        make("slash.mp3", Trailer("AC/DC", "Band"));
        make("empty.mp3", Trailer("   ", "Band"));
        make("taken.mp3", Trailer("Taken", "Quartet"));
        make("Taken - Quartet.mp3");
        make("plain.mp3");
        make("OLD.MP3", Trailer(QByteArray("  Morning") + '\0' + "junk", " The Quartet "));
        make(QString::fromUtf8("07. Trio - Señor Ω.mp3"), Trailer("Old", "Quartet", "note"));
        QVERIFY(QDir(dirs_->files.path()).mkdir("dir.mp3"));
        const auto before = snapshot();
        const Result r = run(args);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
        QVERIFY2(out.isEmpty() ? r.out.isEmpty() : r.out.contains(out), qPrintable(r.out));
        if (out.isEmpty() || args.contains("--dry-run"))
            QCOMPARE(snapshot(), before);
        if (!written.isEmpty())
            QVERIFY(trailerOf("t.mp3").contains(written));
    }

    // Undo goes back one change at a time, the newest first, and follows a
    // rename back to the old name.
    void undoTakesBackWritesAndRename()
    {
        const QByteArray before = ReadFile(make("t.mp3", Trailer("Morning", "Quartet")));
        for (const char *command :
             {"set|--title|Evening|t.mp3", "set|--artist|Trio|t.mp3",
              "rename|--order|artist-title|t.mp3", "set|--year|2002|Trio - Evening.mp3",
              "undo|Trio - Evening.mp3"})
            QCOMPARE(run(QString(command).split('|')).status, 0);
        Result r = run({"undo", "Trio - Evening.mp3"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("Trio - Evening.mp3: rename undone, now \"t.mp3\"\n"));
        QCOMPARE(run({"undo", "t.mp3"}).status, 0);
        QCOMPARE(run({"undo", "t.mp3"}).status, 0);
        QCOMPARE(ReadFile(path("t.mp3")), before);
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
        // clang-format off
        const char *rows[][4] = {
            {"name that is not UTF-8", "{set} $'\\xff.mp3'", "0", "\xff.mp3"},
            {"not UTF-8, undone", "{set} $'\\xff.mp3' && \"$0\" undo $'\\xff.mp3'", "0", ""},
            {"through a link and ..", "{set} lnk/../x.mp3", "0", "real/x.mp3"},
            {"undo of the file never written", "{set} lnk/../x.mp3 && \"$0\" undo x.mp3", "1", "real/x.mp3"},
            {"undo by its real path", "{set} lnk/../x.mp3 && \"$0\" undo real/x.mp3", "0", ""},
            {"rename through a link and ..", "{rename}", "0", "real/x.mp3|real/Morning - Quartet.mp3"},
            {"rename undone", "{rename} && \"$0\" undo 'real/Morning - Quartet.mp3'", "0", ""},
        };
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[1])
                                         .replace("{set}", "\"$0\" set --title X")
                                         .replace("{rename}",
                                                  "\"$0\" rename --order title-artist lnk/../x.mp3")
                                  << atoi(row[2]) << QByteArray(row[3]).split('|');
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
            QVERIFY(writeAt(name, mp3));
        QCOMPARE(script(commands).status, status);
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
        QCOMPARE(::mkfifo(native("fifo.mp3").constData(), 0644), 0);
        const Result r = script(commands, 5000);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(": not a regular file"), qPrintable(r.err));
        QVERIFY2(r.out.contains("t.mp3"), qPrintable(r.out));
    }

    // A reader that went away: no death by SIGPIPE, the batch stops between
    // two files and says which ones it did not touch. One file at a time,
    // so the stop surely lands mid-batch (tst_TagToolBatches stops many).
    void closedOutputStopsBetweenFiles()
    {
        const QStringList names = makeTagged(300);
        const Result r = script(
            "{ sleep 0.5; \"$0\" set --jobs 1 --title X *.mp3; echo \"status $?\" >&2; } | true");
        QVERIFY2(r.err.contains("status 1\n"), qPrintable(r.err));
        QVERIFY(r.err.contains("cannot write to standard output; these files were not touched:"));
        int untouched = 0;
        for (const QString &name : names) {
            const bool listed = r.err.contains("brelko-tag:   " + name + "\n");
            QVERIFY2(listed != trailerOf(name).startsWith("TAGX "), qPrintable(name));
            untouched += listed ? 1 : 0;
        }
        QVERIFY(untouched > 0);
    }

    // Undo refuses a file changed since the write it would take back.
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
        struct stat written {};
        QVERIFY(::stat(native("o.mp3").constData(), &written) == 0);
        QByteArray bytes = ReadFile(file);
        if (change == 0)
            bytes += '\0';
        if (change == 2 || change == 3)
            bytes[bytes.size() - 100] = 'X';
        Result r;
        if (change == 3) {
            const int fd = lock("o.mp3");
            QProcess undo;
            start(undo, {"undo", "o.mp3"});
            QVERIFY(fd >= 0 && !undo.waitForFinished(500)); // it waits for the lock
            QCOMPARE(::pwrite(fd, bytes.constData() + bytes.size() - 100, 1, bytes.size() - 100),
                     ssize_t(1));
            ::close(fd);
            r = finish(undo);
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
            QVERIFY(::utimensat(AT_FDCWD, native("o.mp3").constData(), times, 0) == 0);
            r = run({"undo", "o.mp3"});
        }
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("o.mp3: cannot undo: " + reason), qPrintable(r.err));
        QCOMPARE(ReadFile(file), bytes);
    }
};

QTEST_GUILESS_MAIN(TestTagToolCommands)
#include "tst_TagToolCommands.moc"
