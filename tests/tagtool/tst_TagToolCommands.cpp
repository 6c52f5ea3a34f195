// brelko-tag run as a user runs it: the real executable on real files in a
// temporary folder, with its journal in a state folder of its own.
#include "TagToolProcess.h"

namespace {

// Each bad input is reported with the file and the reason. When nothing is
// done (status 2, or a dry run), nothing changes; else the other files are
// done. Fields cut or changed to fit are said, and written to the last file.
// clang-format off
const struct { const char *name, *args; int status; const char *err, *written = "", *out = ""; } kInputs[] = {
    // arguments '|'-separated; standard error and output hold err and out; written: %XX a
    // byte, and the last file said to be written when out is not given
    {"unknown genre", "set|--genre|rock|t.mp3", 2, "unknown genre \"rock\" (did you mean \"Rock\"?)"},
    {"genre number", "set|--genre|256|t.mp3", 2, "256"}, {"no command", "", 2, ""},
    {"command", "play|t.mp3", 2, "unknown command \"play\""}, {"nothing", "set|t.mp3", 2, "nothing to set"},
    {"no value", "set|t.mp3|--title", 2, "--title needs a value"}, {"no files", "show", 2, "no files given"},
    {"option", "set|--titel=x|t.mp3", 2, "unknown option --titel=x"},
    {"order", "rename|--order|x|t.mp3", 2, "--order must be"},
    {"fill, no files", "fill|--from-v2", 2, "fill: no files given"},
    {"both", "show|--json|--csv|t.mp3", 2, "cannot be combined"}, {"help", "--help", 0, "", "", "show [--json"},
    {"-0 without a list", "show|-0|t.mp3", 2, "-0 needs --files-from"},
    {"jobs", "show|--jobs|0|t.mp3", 2, "--jobs must be a number from 1 to 1024"},
    {"fill, no source", "fill|t.mp3", 2, "fill: give either --from-v2 or --from-name"},
    {"fill, both sources", "fill|--from-v2|--from-name|%title%|t.mp3", 2, "fill: give either"},
    {"fill, placeholder", "fill|--from-name|%name%|t.mp3", 2, "fill: unknown placeholder"},
    {"genre shown for an unknown number", "set|--genre|Unknown Genre Entry|t.mp3", 2, "unknown genre"},
    {"track 256", "set|--track|256|t.mp3", 2, "track \"256\" is not a number"},
    {"track 255", "set|--track|255|t.mp3", 0, "", "%00%FF%11"},
    {"genre by its number", "set|--genre|255|t.mp3", 0, "", "%09%FF"},
    {"first genre", "set|--genre|Blues|t.mp3", 0, "", "%09%00"},
    {"genre as the table spells it", "set|--genre|Poweer Ballad|t.mp3", 0, "", "%09u"},
    {"missing list", "show|--files-from|nolist|t.mp3", 1, "brelko-tag: show: nolist: No such file or directory", "",
     "t.mp3:\n  Title:   Morning"},
    {"directory, rename", "rename|--order|title-artist|dir.mp3|t.mp3", 1, "brelko-tag: dir.mp3: Is a directory", "",
     "t.mp3 -> Morning - Quartet.mp3"},
    // Fields trimmed, controls made safe, the genre's name, the track, the ID3v2 version.
    {"show", "show|v2.mp3|plain.mp3", 0, "", "", "v2.mp3:\n  Title:   Say \"hi\", ?x\n  Artist:  =cmd()\n"
     "  Album:   Album\n  Year:    1999\n  Comment: Live\n  Genre:   Unknown Genre Entry (200)\n"
     "  Track:   9\n  ID3v2:   2.3\nplain.mp3:\n  no ID3v1 tag\n"},
    {"long year", "set|--year|20019|t.mp3", 0, "--year: only the first 4 characters are written", "2001Live"},
    {"comment beside a track", "set|--track|4|--comment|ccccccccccccccccccccccccccccc|t.mp3", 0,
     "--comment: only the first 28 characters are written", "cccccccccccccccccccccccccccc%00%04"},
    {"outside code page", "set|--album|Ω Café €|t.mp3", 0,
     "--album: characters outside Windows-1252 are written as \"?\"", "? Caf%E9 %80 "},
    {"slash in new name", "rename|--order|title-artist|slash.mp3", 1,
     "slash.mp3: the new name \"AC/DC - Band.mp3\" contains \"/\""},
    {"empty title", "rename|--order|title-artist|empty.mp3", 1, "empty.mp3: title or artist is empty"},
    {"target exists", "rename|--order|title-artist|taken.mp3", 1, "taken.mp3: \"Taken - Quartet.mp3\" exists"},
    {"no tag to rename by", "rename|--order|title-artist|plain.mp3", 1, "plain.mp3: has no ID3v1 tag"},
    {"rename dry run, fields trimmed", "rename|--order|artist-title|--dry-run|OLD.MP3", 0, "", "",
     "OLD.MP3 -> The Quartet - Morning.mp3\n"},
    {"fill dry run", "fill|--from-name|%track%. %artist% - %title%|--dry-run|07. Trio - Señor Ω.mp3", 0,
     "07. Trio - Señor Ω.mp3: title: characters outside Windows-1252 are written as \"?\"", "",
     "07. Trio - Señor Ω.mp3:\n  Title:   \"Old\" -> \"Señor ?\"\n"
     "  Artist:  \"Quartet\" -> \"Trio\"\n  Track:   none -> 7\n"},
    {"fill, name does not match", "fill|--from-name=%artist% - %title%|t.mp3|Taken - Quartet.mp3", 1,
     "t.mp3: the name does not match \"%artist% - %title%\"; left alone", "TAGQuartet "},
    {"fill, no ID3v2 tag", "fill|--from-v2|t.mp3", 1, "brelko-tag: t.mp3: no ID3v2 tag; left alone"},
    // The comment and the track share 30 bytes.
    {"new comment keeps the track", "set|--comment|Studio|t.mp3", 0, "", "Studio                      %00%09"},
    {"new track over old", "set|--track|12|t.mp3", 0, "", "%00%0C%11"},
    {"track removed", "set|--track|0|t.mp3", 0, "", "%20%20%00%00%11"},
    {"track removed, new comment", "set|--comment|Hi|--track|0|t.mp3", 0, "", "Hi                          %00%00%11"},
    {"no track in a full comment", "set|--track|0|full.mp3", 0, "", "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyy%11"},
};

// bash scripts with brelko-tag as T, in a folder with t.mp3 (tagged), a copy
// of it in orig, x.mp3, real/x.mp3, a FIFO, and lnk -> real/sub, so lnk/..
// is real, not the working folder. After them, check must hold.
const struct { const char *name, *commands; int status; const char *err, *out, *check; } kScripts[] = {
    // Undo goes back one change at a time, the newest first, and follows a rename back.
    {"undo, newest first", "T set --title Evening t.mp3 && T set --artist Trio t.mp3 && "
     "T rename --order artist-title t.mp3 && T set --year 2002 'Trio - Evening.mp3' && "
     "T undo 'Trio - Evening.mp3' && T undo 'Trio - Evening.mp3' && T undo t.mp3 && "
     "T undo t.mp3 && T undo t.mp3", 1, "t.mp3: no change by Brelko is recorded for it",
     "Trio - Evening.mp3: rename undone, now \"t.mp3\"\n", "same t.mp3 && ! test -e 'Trio - Evening.mp3'"},
    // The file named is the file changed, journaled and undone: names are bytes, and a
    // folder is the one the kernel resolves.
    {"name that is not UTF-8", "T set --title X $'\\xff.mp3'", 0, "", "", "! same $'\\xff.mp3' && same $'\\xef\\xbf\\xbd.mp3'"},
    {"not UTF-8, undone", "T set --title X $'\\xff.mp3' && T undo $'\\xff.mp3'", 0, "", "", "same $'\\xff.mp3'"},
    {"through a link and .., undone by the real path only", "T set --title X t.mp3 lnk/../x.mp3 && ! same real/x.mp3 && "
     "same x.mp3 && { T undo x.mp3; T undo real/x.mp3; }", 0, "x.mp3: no change by Brelko", "", "same real/x.mp3"},
    {"rename through a link and .., undone", "T rename --order title-artist lnk/../x.mp3 && ! test -e real/x.mp3 && "
     "same 'real/Morning - Quartet.mp3' x.mp3 && T undo 'real/Morning - Quartet.mp3'", 0, "", "",
     "same real/x.mp3 && ! test -e 'real/Morning - Quartet.mp3'"},
    // A FIFO in a file's place is refused at once (show, set and rename meet FIFOs in the
    // batch tests).
    {"undo after a swap for a FIFO", "T set --year 2001 t.mp3; mv t.mp3 y.mp3 && mkfifo t.mp3 && T undo t.mp3",
     1, ": not a regular file", "t.mp3: tag written", "! same y.mp3"},
    // Undo refuses a file changed since the write it would take back; the time stays
    // to the nanosecond unless the time is what changes.
    {"undo after a longer file", "W; printf '\\0' >> t.mp3; touch -r ref t.mp3; U", 1,
     "t.mp3: cannot undo: its length changed", "", "cmp -s t.mp3 want"},
    {"undo after a newer time", "W; touch -d @$(($(stat -c %Y t.mp3) + 5)) t.mp3; U", 1,
     "t.mp3: cannot undo: it was modified", "", "cmp -s t.mp3 want"},
    {"undo after a tag change", "W; poke; touch -r ref t.mp3; U", 1,
     "t.mp3: cannot undo: its tag changed", "", "cmp -s t.mp3 want"},
    // Held back by the tag lock of a writer, undo checks again after it.
    {"undo after a write while it waits", "W; (flock 9 && touch held && sleep 1 && poke) 9<t.mp3 & "
     "until test -e held; do sleep 0.01; done; U; s=$?; wait; exit $s", 1,
     "t.mp3: cannot undo: it was modified", "", "! cmp -s t.mp3 want && cmp -s t.mp3 poked"},
    // set waits for a writer's lock, then changes its field on the trailer that writer left.
    {"set after a write while it waits", "(flock 9 && cp t.mp3 snap && touch held && sleep 1 && cp snap t.mp3 && poke) "
     "9<t.mp3 & until test -e held; do sleep 0.01; done; T set --artist Trio t.mp3; s=$?; wait; exit $s", 0, "",
     "t.mp3: tag written", "test \"$(tail -c 95 t.mp3 | head -c 4)$(tail -c 100 t.mp3 | head -c 1)\" = TrioX"},
    {"undo the journal cannot record", "W; J=$XDG_STATE_HOME/brelko/changes.log; mv $J $J.1 && "
     "ln -s nowhere $J; U", 1, "t.mp3: cannot undo: the journal cannot record it", "", "cmp -s t.mp3 want"},
};
// clang-format on

// Then the files named above. same: each file as t.mp3 was. W: a write,
// then ref keeps its time. U: undo, with the file as it is before in want.
// poke: a byte of the tag.
const char kPrelude[] =
    "T() { \"$0\" \"$@\"; }; same() { for f; do cmp -s orig \"$f\" || return 1; done; }; "
    "W() { T set --title Evening t.mp3 >/dev/null && touch -r t.mp3 ref; }; "
    "U() { cp -p t.mp3 want; T undo t.mp3; }; poke() { printf X | dd of=t.mp3 bs=1 "
    "seek=$(($(stat -c %s t.mp3) - 100)) conv=notrunc status=none; cp t.mp3 poked; }; "
    "cp t.mp3 orig && mkdir -p real/sub && ln -s real/sub lnk && mkfifo fifo.mp3 && for f in "
    "x.mp3 real/x.mp3 $'\\xff.mp3' $'\\xef\\xbf\\xbd.mp3'; do cp orig \"$f\"; done && ";

} // namespace

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

    void badInput_data() { AddRows(kInputs); }
    void badInput()
    {
        const auto &input = CurrentRow(kInputs);
        const QStringList args = QString::fromUtf8(input.args).split('|', Qt::SkipEmptyParts);
        const QString last = args.value(args.size() - 1);
        const QString out =
            *input.written && !*input.out ? last + ": tag written\n" : QString(input.out);
        const QByteArray comment = QByteArray("Live").leftJustified(28) + '\0' + char(9);
        // clang-format off
        const QList<QPair<QString, QByteArray>> files{
            {"t.mp3", Trailer("Morning", "Quartet", comment)}, {"full.mp3", Trailer("Full", "Text", QByteArray(30, 'y'))},
            {"slash.mp3", Trailer("AC/DC", "Band")}, {"empty.mp3", Trailer("   ", "Band")},
            {"taken.mp3", Trailer("Taken", "Quartet")}, {"Taken - Quartet.mp3", {}}, {"plain.mp3", {}},
            {"OLD.MP3", Trailer(QByteArray("  Morning") + '\0' + "junk", " The Quartet ")},
            {"07. Trio - Señor Ω.mp3", Trailer("Old", "Quartet", "note")}};
        // clang-format on
        for (const auto &[name, trailer] : files)
            make(name, trailer);
        WriteFile(path("v2.mp3"),
                  QByteArray("ID3\x03\0\0\0\0\0\0", 10) + MpegFrames(4) +
                      Trailer("  Say \"hi\", \x1bx ", "=cmd()", comment, char(200)));
        QVERIFY(QDir(dirs_->files.path()).mkdir("dir.mp3"));
        auto before = snapshot();
        const Result r = run(args);
        QCOMPARE(r.status, input.status);
        QVERIFY2(r.err.contains(QString::fromUtf8(input.err)), qPrintable(r.err));
        QVERIFY(*input.err || r.status != 0 || r.err.isEmpty()); // nothing to warn of
        QVERIFY2(out.isEmpty() ? r.out.isEmpty() : r.out.contains(out), qPrintable(r.out));
        auto after = snapshot();
        if (r.status != 2 && !args.contains("--dry-run")) // only the last file may change
            before.remove(last), after.remove(last);
        QVERIFY(after == before || r.out.contains(" -> ")); // or a rename
        QVERIFY(trailerOf(last).contains(QByteArray::fromPercentEncoding(input.written)));
    }

    void scripts_data() { AddRows(kScripts); }
    void scripts()
    {
        QFETCH(int, row);
        make("t.mp3", Trailer("Morning", "Quartet"));
        // A hang fails after 5 seconds; QTemporaryDir cannot remove the name that is not UTF-8.
        const Result r = script(QString(kPrelude) + '(' + kScripts[row].commands + "); s=$?; " +
                                    kScripts[row].check + " || echo CHECK FAILED >&2; " +
                                    "rm -f $'\\xff.mp3'; exit $s",
                                5000);
        QCOMPARE(r.status, kScripts[row].status);
        QVERIFY2(r.err.contains(kScripts[row].err) && !r.err.contains("CHECK"), qPrintable(r.err));
        QVERIFY2(r.out.contains(kScripts[row].out), qPrintable(r.out));
    }
};

QTEST_GUILESS_MAIN(TestTagToolCommands)
#include "tst_TagToolCommands.moc"
