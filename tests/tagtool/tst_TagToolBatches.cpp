// brelko-tag over many files at once: results in order, failures in their
// place, Ctrl-C between files, and batches racing on the same files.
#include "TagToolProcess.h"

#include <csignal>
#include <fstream>

namespace {

// Names as arguments (' '), in a list file ('n'), or NUL-separated on standard input ('0').
// clang-format off
const struct { const char *name, *options; char list; } kShows[] = {
    {"one at a time", "--jobs|1", ' '}, {"eight at a time", "--jobs=8", ' '},
    {"as the device suits", "", ' '}, {"list file", "--jobs|3", 'n'}, {"nul list on stdin", "-0", '0'}};
// How many files at a time; 0: one, and the output closed.
const struct { const char *name; int jobs; } kManyJobs[] = {{"1 at a time", 1}, {"8 at a time", 8}},
    kStopJobs[] = {{"output closed", 0}, {"1 at a time", 1}, {"4 at a time", 4}};
// clang-format on

} // namespace

class TestTagToolBatches : public TagToolTest {
    Q_OBJECT

    // Ctrl-C to brelko-tag alone: once it ended, its id is 0, which kill()
    // takes for the whole process group, this test among it.
    static bool interrupt(QProcess &process)
    {
        const pid_t pid = pid_t(process.processId());
        return pid > 0 && ::kill(pid, SIGINT) == 0;
    }

private Q_SLOTS:
    void init() { fresh(); }

    // Many files read at once still come out in the order given, with each
    // failure reported in its place among the others and the rest shown; a
    // FIFO is refused at once rather than waited on. Names from a list are
    // bytes: one that is not UTF-8 still names its file.
    void showManyInOrder_data() { AddRows(kShows); }
    void showManyInOrder()
    {
        const auto &show = CurrentRow(kShows);
        const char list = show.list;
        QByteArrayList names;
        QByteArray out =
            "file,tag,title,artist,album,year,comment,genre,genre_number,track,id3v2\n";
        QString err;
        const char *reasons[] = {"No such file or directory", "Permission denied",
                                 "not a regular file", "Is a directory"};
        const char *genres[] = {"Blues,0", "Classic Rock,1", "Country,2"};
        // A name in bytes as it is; QTemporaryDir could not remove it.
        const std::string latin1 =
            QFile::encodeName(dirs_->files.path()).toStdString() + "/caf\xe9.mp3";
        const auto removeLatin1 = qScopeGuard([&] { std::remove(latin1.c_str()); });
        for (int i = 0; i < 300; ++i) {
            QByteArray name = QByteArray::number(i) + ".mp3", shown = name;
            const QByteArray title = "Song " + name.chopped(4);
            const int kind = (i / 50) % 4;
            if (i % 50 == 7) { // a failure every fifty files
                QVERIFY(kind != 1 || ::chmod(QFile::encodeName(make(name)).constData(), 0) == 0);
                QVERIFY(kind != 2 ||
                        ::mkfifo(QFile::encodeName(path(name)).constData(), 0644) == 0);
                QVERIFY(kind != 3 || QDir(dirs_->files.path()).mkdir(name));
                err += "brelko-tag: " + name + ": " + reasons[kind] + '\n';
            } else if (i == 41) { // no tag
                make(name);
                out += name + ",no,,,,,,,,,\n";
            } else {
                const QByteArray trailer = Trailer(title, "Quartet", "", char(i % 3));
                if (i == 150 && list != ' ') {
                    std::ofstream(latin1) << trailer.toStdString();
                    name = "caf\xe9.mp3", shown = "caf\xef\xbf\xbd.mp3";
                } else {
                    make(name, trailer);
                }
                out += shown + ",yes," + title + ",Quartet,Album,1999,," + genres[i % 3] + ",,\n";
            }
            names.append(name);
        }
        QVERIFY(::chmod(QFile::encodeName(dirs_->files.path()).constData(), 0755) == 0);
        QStringList args =
            QStringList{"show", "--csv"} + QString(show.options).split('|', Qt::SkipEmptyParts);
        QVERIFY(TryWriteFile(path("list.txt"), names.join('\n') + "\n\n"));
        if (list != ' ')
            args += {"--files-from", list == 'n' ? "list.txt" : "-"};
        else
            for (const QByteArray &name : names)
                args.append(QString::fromUtf8(name));
        const Result r = run(args, true, list == '0' ? names.join('\0') : QByteArray());
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out.toUtf8(), out);
        QCOMPARE(r.err, err);
    }

    // Ctrl-C while the list is still coming in: what was listed so far is
    // shown, in full, and the exit status says the run was cut short.
    void showInterruptedWhileListing()
    {
        const QStringList names = makeTagged(20);
        QProcess process;
        start(process, {"show", "--json", "--jobs", "4", "--files-from", "-"});
        process.write(names.join('\n').toUtf8() + '\n');
        QByteArray out;
        while (out.count('\n') < 20 && process.waitForReadyRead(10000))
            out += process.readAllStandardOutput();
        QCOMPARE(out.count('\n'), 20);
        QVERIFY(interrupt(process));
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(out.startsWith("{\"file\":\"0.mp3\",\"tag\":true,\"title\":\"Morning\""));
        QVERIFY(process.readAllStandardError().contains("interrupted"));
    }

    // set over many files, with random trailers and failures mid-batch:
    // each file gets exactly the field given and nothing of another file,
    // the results come in file order, and undo brings every byte back.
    void setManyThenUndo_data() { AddRows(kManyJobs); }
    void setManyThenUndo()
    {
        const int jobs = CurrentRow(kManyJobs).jobs;
        QRandomGenerator random(20261207);
        QStringList names;
        QByteArrayList before, after; // empty where no file can be written
        QString out, err;
        const char *why[] = {"not a regular file", "No such file or directory", "Is a directory"};
        for (int i = 0; i < 120; ++i) {
            const QString name = names.emplace_back(QString("%1.mp3").arg(i));
            QByteArray &was = before.emplace_back(), &now = after.emplace_back();
            if (i % 40 == 13) { // a FIFO, a missing file, a folder
                QVERIFY(i != 13 || ::mkfifo(QFile::encodeName(path(name)).constData(), 0644) == 0);
                QVERIFY(i != 93 || QDir(dirs_->files.path()).mkdir(name));
                err += "brelko-tag: " + name + ": " + why[i / 40] + '\n';
                continue;
            }
            QByteArray trailer(128, '\0');
            random.fillRange(reinterpret_cast<quint32 *>(trailer.data()), 32);
            trailer.replace(0, 3, i % 9 ? "TAG" : "XYZ"); // now and then no tag to edit
            was = ReadFile(make(name, trailer));
            // Only the artist changes; a new tag holds nothing else.
            now = was + (i % 9 ? QByteArray() : Trailer({}));
            now.replace(now.size() - 95, 30, QByteArray("Trio").leftJustified(30));
            out += name + ": tag written\n";
        }
        const Result r =
            run(QStringList{"set", "--artist", "Trio", "--jobs", QString::number(jobs)} + names);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, out);
        QCOMPARE(r.err, err);
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(after.at(i).isEmpty() || ReadFile(path(names.at(i))) == after.at(i));
        QCOMPARE(run(QStringList{"undo"} + names).status, 1);
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(before.at(i).isEmpty() || ReadFile(path(names.at(i))) == before.at(i));
    }

    // rename over many files, read many at a time: the refusals come in file
    // order, of two files after one name the first gets it, and undo puts
    // every name back.
    void renameManyThenUndo_data() { AddRows(kManyJobs); }
    void renameManyThenUndo()
    {
        const int jobs = CurrentRow(kManyJobs).jobs;
        QStringList names, renamed;
        QString out, err, clash;
        const QMap<int, QString> refusals{{13, "not a regular file"},
                                          {27, "No such file or directory"},
                                          {41, "has no ID3v1 tag"}};
        for (int i = 0; i < 60; ++i) {
            const QString name = names.emplace_back(QString("%1.mp3").arg(i));
            const QString target = QString("Song %1 - Trio.mp3").arg(i == 51 ? 50 : i);
            QVERIFY(i != 13 || ::mkfifo(QFile::encodeName(path(name)).constData(), 0644) == 0);
            if (i != 13 && i != 27)
                make(name, i == 41 ? QByteArray()
                                   : Trailer(target.section(" - ", 0, 0).toUtf8(), "Trio"));
            if (refusals.contains(i))
                err += "brelko-tag: " + name + ": " + refusals[i] + '\n';
            else if (i == 51)
                clash = "brelko-tag: 51.mp3: \"" + target + "\" exists\n";
            else
                out += name + " -> " + renamed.emplace_back(target) + '\n';
        }
        const Result r =
            run(QStringList{"rename", "--order", "title-artist", "--jobs", QString::number(jobs)} +
                names);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, out);
        QCOMPARE(r.err, err + clash);
        QCOMPARE(run(QStringList{"undo"} + renamed).status, 0);
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(i == 27 || QFileInfo::exists(path(names.at(i))));
        for (const QString &name : renamed)
            QVERIFY(!QFileInfo::exists(path(name)));
    }

    // A batch stopped between files: by Ctrl-C while files wait for their
    // locks, or by a reader that went away (no death by SIGPIPE; one file at
    // a time, so the stop surely lands mid-batch). Every file is either
    // written and said to be, or untouched and listed as such; never both,
    // never neither.
    void setStopped_data() { AddRows(kStopJobs); }
    void setStopped()
    {
        const int jobs = CurrentRow(kStopJobs).jobs;
        const QStringList names = makeTagged(jobs ? 40 : 300);
        Result r;
        if (jobs == 0) {
            r = script("set -o pipefail; { sleep 0.5; exec \"$0\" set --jobs 1 --title Evening "
                       "*.mp3; } | true");
        } else {
            // Another writer holds files from the sixth on, one for each file in
            // flight (O_CLOEXEC: brelko-tag must not inherit the locks).
            std::vector<int> held;
            for (int i = 5; i < 5 + jobs; ++i) {
                held.push_back(::open(QFile::encodeName(path(names.at(i))), O_RDWR | O_CLOEXEC));
                QVERIFY(held.back() >= 0 && ::flock(held.back(), LOCK_EX) == 0);
            }
            QProcess process;
            start(process,
                  QStringList{"set", "--title", "Evening", "--jobs", QString::number(jobs)} +
                      names);
            QTRY_VERIFY_WITH_TIMEOUT(trailerOf("4.mp3").contains("Evening"), 20000);
            QTest::qWait(300); // until the writers wait for the held files
            // While they wait, the files done so far are already said to be.
            QTRY_VERIFY(process.peek(1 << 16).contains("\n4.mp3: tag written\n"));
            QVERIFY(interrupt(process));
            QTest::qWait(100);
            for (const int fd : held)
                ::close(fd);
            r = finish(process, 20000);
        }
        QCOMPARE(r.status, 1);
        const QString out = '\n' + r.out, err = r.err;
        QVERIFY2(err.startsWith(QString("brelko-tag: ") +
                                (jobs ? "interrupted" : "cannot write to standard output") +
                                "; these files were not touched:"),
                 qPrintable(err));
        int untouched = 0;
        for (const QString &name : names) {
            const bool written = trailerOf(name).contains("Evening");
            const bool said = out.contains('\n' + name + ": tag written");
            const bool listed = err.contains("brelko-tag:   " + name + '\n');
            QVERIFY2((!jobs || written == said) && written != listed, qPrintable(name));
            untouched += listed;
        }
        QVERIFY(untouched >= 40 - 5 - 2 * jobs); // stopped soon after the held files
        QVERIFY(!out.contains("9.mp3") || jobs > 1);
    }

    // Two batches on the same files at once, each changing its own field:
    // the lock held from read to flush keeps both changes in every file.
    void racingBatchesKeepBothChanges()
    {
        const QStringList names = makeTagged(150);
        QProcess title, artist;
        start(title, QStringList{"set", "--title", "Evening", "--jobs", "8"} + names);
        start(artist, QStringList{"set", "--artist", "Trio", "--jobs", "8"} + names);
        QCOMPARE(finish(title).status, 0);
        QCOMPARE(finish(artist).status, 0);
        const QByteArray both =
            QByteArray("Evening").leftJustified(30) + QByteArray("Trio").leftJustified(30);
        for (const QString &name : names)
            QCOMPARE(trailerOf(name).mid(3, 60), both);
    }
};

QTEST_GUILESS_MAIN(TestTagToolBatches)
#include "tst_TagToolBatches.moc"
