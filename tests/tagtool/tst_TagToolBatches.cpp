// brelko-tag over many files at once: results in order, failures in their
// place, Ctrl-C between files, and batches racing on the same files.
#include "TagToolProcess.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

class TestTagToolBatches : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolders> dirs_;

    QString path(const QString &name) const { return dirs_->file(name); }
    QString make(const QString &name, const QByteArray &t = {}) { return dirs_->mp3(name, 4, t); }
    QByteArray trailerOf(int i) const
    {
        return ReadFile(path(QString("%1.mp3").arg(i))).right(128);
    }
    // 0.mp3, 1.mp3, ...: tagged files for a batch.
    QStringList makeTagged(int count)
    {
        QStringList names;
        for (int i = 0; i < count; ++i) {
            names.append(QString("%1.mp3").arg(i));
            make(names.last(), Trailer("Morning", "Quartet"));
        }
        return names;
    }

private Q_SLOTS:
    void init() { dirs_ = std::make_unique<TestFolders>(); }

    // Many files read at once still come out in the order given, with each
    // failure reported in its place among the others and the rest shown; a
    // FIFO is refused at once rather than waited on. Names from a list are
    // bytes: one that is not UTF-8 still names its file.
    void showManyInOrder_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<char>("list"); // ' ' names as arguments, 'n' a list file, '0' stdin, -0
        QTest::newRow("one at a time") << QStringList{"--jobs", "1"} << ' ';
        QTest::newRow("eight at a time") << QStringList{"--jobs=8"} << ' ';
        QTest::newRow("as the device suits") << QStringList{} << ' ';
        QTest::newRow("list file") << QStringList{"--jobs", "3"} << 'n';
        QTest::newRow("nul list on stdin") << QStringList{"-0"} << '0';
    }

    void showManyInOrder()
    {
        QFETCH(QStringList, options);
        QFETCH(char, list);
        QByteArrayList names;
        QByteArray out =
            "file,tag,title,artist,album,year,comment,genre,genre_number,track,id3v2\n";
        QString err;
        const QByteArray latin1Name("caf\xe9.mp3");
        for (int i = 0; i < 300; ++i) {
            const QByteArray name = QByteArray::number(i) + ".mp3";
            QByteArray title = "Song " + QByteArray::number(i);
            names.append(name);
            if (i == 40 || i == 41) { // the second has no tag
                make(name, i == 40 ? Trailer(title, "Quartet") : QByteArray());
                out += name + (i == 40 ? ",yes," + title + ",Quartet,Album,1999,,Rock,17,,\n"
                                       : QByteArray(",no,,,,,,,,,\n"));
                continue;
            }
            if (i % 50 == 7) { // a failure every fifty files
                const char *reasons[] = {"No such file or directory", "Permission denied",
                                         "not a regular file", "Is a directory"};
                const int kind = (i / 50) % 4;
                if (kind == 1)
                    QVERIFY(::chmod(QFile::encodeName(make(name)).constData(), 0) == 0);
                if (kind == 2)
                    QVERIFY(::mkfifo(QFile::encodeName(path(name)).constData(), 0644) == 0);
                if (kind == 3)
                    QVERIFY(QDir(dirs_->files.path()).mkdir(name));
                err += "brelko-tag: " + name + ": " + reasons[kind] + '\n';
                continue;
            }
            if (i == 150 && list != ' ') {
                names.last() = latin1Name;
                const int fd =
                    ::open(QByteArray(QFile::encodeName(dirs_->files.path()) + '/' + latin1Name)
                               .constData(),
                           O_WRONLY | O_CREAT, 0644);
                QVERIFY(fd >= 0 && ::write(fd, Trailer(title, "Trio").constData(), 128) == 128);
                ::close(fd);
                out += "caf\xef\xbf\xbd.mp3,yes," + title + ",Trio,Album,1999,,Rock,17,,\n";
                continue;
            }
            make(name, Trailer(title, "Quartet", "", char(i % 3)));
            const char *genres[] = {"Blues,0", "Classic Rock,1", "Country,2"};
            out += name + ",yes," + title + ",Quartet,Album,1999,," + genres[i % 3] + ",,\n";
        }
        QVERIFY(::chmod(QFile::encodeName(dirs_->files.path()).constData(), 0755) == 0);
        QStringList args = QStringList{"show", "--csv"} + options;
        QByteArray input;
        if (list == ' ') {
            for (const QByteArray &name : names)
                args.append(QString::fromUtf8(name));
        } else if (list == 'n') {
            QVERIFY(TryWriteFile(path("list.txt"), names.join('\n') + "\n\n"));
            args += {"--files-from", "list.txt"};
        } else {
            input = names.join('\0');
            args += {"--files-from", "-"};
        }
        const Result r = RunTagTool(*dirs_, args, true, input);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out.toUtf8(), out);
        QCOMPARE(r.err, err);
    }

    // Ctrl-C while the list is still coming in: what was listed so far is
    // shown, in full, and the exit status says the run was cut short.
    void showInterruptedWhileListing()
    {
        QByteArray names;
        for (int i = 0; i < 20; ++i) {
            names += QByteArray::number(i) + ".mp3\n";
            make(QString::number(i) + ".mp3", Trailer("Song", "Quartet"));
        }
        QProcess process;
        PrepareTagTool(process, *dirs_);
        process.start(BRELKO_TAG_PATH, {"show", "--json", "--jobs", "4", "--files-from", "-"});
        QVERIFY(process.waitForStarted());
        process.write(names);
        QByteArray out;
        while (out.count('\n') < 20 && process.waitForReadyRead(10000))
            out += process.readAllStandardOutput();
        QCOMPARE(out.count('\n'), 20);
        QVERIFY(::kill(pid_t(process.processId()), SIGINT) == 0);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(out.startsWith("{\"file\":\"0.mp3\",\"tag\":true,\"title\":\"Song\""));
        QVERIFY(process.readAllStandardError().contains("interrupted"));
    }

    // set over many files, with random trailers and failures mid-batch:
    // each file gets exactly the field given and nothing of another file,
    // the results come in file order, and undo brings every byte back.
    void setManyThenUndo_data()
    {
        QTest::addColumn<QString>("jobs");
        QTest::newRow("one at a time") << "1";
        QTest::newRow("eight at a time") << "8";
    }

    void setManyThenUndo()
    {
        QFETCH(QString, jobs);
        QRandomGenerator random(20261207);
        QStringList names;
        QByteArrayList before;
        QString out, err;
        for (int i = 0; i < 120; ++i) {
            const QString name = QString("%1.mp3").arg(i);
            names.append(name);
            before.append(QByteArray());
            if (i % 40 == 13) { // a FIFO, a missing file, a folder
                if (i == 13)
                    QVERIFY(::mkfifo(QFile::encodeName(path(name)).constData(), 0644) == 0);
                if (i == 93)
                    QVERIFY(QDir(dirs_->files.path()).mkdir(name));
                err += "brelko-tag: " + name + ": " +
                       (i == 13   ? "not a regular file"
                        : i == 53 ? "No such file or directory"
                                  : "Is a directory") +
                       '\n';
                continue;
            }
            QByteArray trailer(128, '\0');
            for (char &c : trailer)
                c = char(random.bounded(256));
            trailer.replace(0, 3, i % 9 ? "TAG" : "XYZ"); // now and then no tag to edit
            before.last() = ReadFile(make(name, trailer));
            out += name + ": tag written\n";
        }
        const Result r =
            RunTagTool(*dirs_, QStringList{"set", "--artist", "Trio", "--jobs", jobs} + names);
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, out);
        QCOMPARE(r.err, err);
        for (int i = 0; i < names.size(); ++i) {
            if (before.at(i).isEmpty())
                continue;
            const QByteArray after = ReadFile(path(names.at(i)));
            const bool tagged = before.at(i).right(128).startsWith("TAG");
            QByteArray expected = tagged ? before.at(i) : before.at(i) + QByteArray(128, ' ');
            expected.replace(expected.size() - 95, 30, QByteArray("Trio").leftJustified(30));
            if (!tagged) { // a new tag: nothing but the artist, no genre
                expected.replace(expected.size() - 128, 3, "TAG");
                expected[expected.size() - 1] = char(255);
            }
            QCOMPARE(after.left(after.size() - 128), expected.left(expected.size() - 128));
            QCOMPARE(after.right(128).mid(33, 30), expected.right(128).mid(33, 30));
            if (tagged) // every other byte of the trailer kept
                QCOMPARE(after, expected);
        }
        QCOMPARE(RunTagTool(*dirs_, QStringList{"undo"} + names).status, 1);
        for (int i = 0; i < names.size(); ++i) {
            if (!before.at(i).isEmpty())
                QCOMPARE(ReadFile(path(names.at(i))), before.at(i));
        }
    }

    // Ctrl-C while files wait for their locks: every file is either written
    // and said to be, or untouched and listed as such; never both, never
    // neither.
    void setInterrupted_data()
    {
        QTest::addColumn<int>("jobs");
        QTest::newRow("one at a time") << 1;
        QTest::newRow("four at a time") << 4;
    }

    void setInterrupted()
    {
        QFETCH(int, jobs);
        const QStringList names = makeTagged(40);
        // Another writer holds files from the sixth on, one for each file in
        // flight (O_CLOEXEC: brelko-tag must not inherit the locks).
        std::vector<int> held;
        for (int i = 5; i < 5 + jobs; ++i) {
            held.push_back(
                ::open(QFile::encodeName(path(names.at(i))).constData(), O_RDWR | O_CLOEXEC));
            QVERIFY(held.back() >= 0 && ::flock(held.back(), LOCK_EX) == 0);
        }
        QProcess process;
        PrepareTagTool(process, *dirs_);
        process.start(BRELKO_TAG_PATH,
                      QStringList{"set", "--title", "Evening", "--jobs", QString::number(jobs)} +
                          names);
        QVERIFY(process.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (!trailerOf(4).contains("Evening") && waited.elapsed() < 20000)
            QTest::qWait(20);
        QTest::qWait(300); // until the writers wait for the held files
        QVERIFY(::kill(pid_t(process.processId()), SIGINT) == 0);
        QTest::qWait(100);
        for (const int fd : held)
            ::close(fd);
        process.waitForFinished(20000); // false when qWait already saw the end
        QCOMPARE(process.state(), QProcess::NotRunning);
        QCOMPARE(process.exitCode(), 1);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.startsWith("brelko-tag: interrupted; these files were not touched:"),
                 qPrintable(err));
        int untouched = 0;
        for (int i = 0; i < names.size(); ++i) {
            const bool written = trailerOf(i).contains("Evening");
            const bool said = out.contains(QString("\n%1: tag written").arg(names.at(i))) ||
                              out.startsWith(names.at(i) + ": tag written");
            const bool listed = err.contains("brelko-tag:   " + names.at(i) + '\n');
            QVERIFY2(written == said && written != listed, qPrintable(names.at(i)));
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
        for (QProcess *p : {&title, &artist})
            PrepareTagTool(*p, *dirs_);
        title.start(BRELKO_TAG_PATH,
                    QStringList{"set", "--title", "Evening", "--jobs", "8"} + names);
        artist.start(BRELKO_TAG_PATH,
                     QStringList{"set", "--artist", "Trio", "--jobs", "8"} + names);
        QVERIFY(title.waitForFinished(60000) && artist.waitForFinished(60000));
        QCOMPARE(title.exitCode(), 0);
        QCOMPARE(artist.exitCode(), 0);
        for (int i = 0; i < names.size(); ++i) {
            const QByteArray trailer = trailerOf(i);
            QCOMPARE(trailer.mid(3, 30), QByteArray("Evening").leftJustified(30));
            QCOMPARE(trailer.mid(33, 30), QByteArray("Trio").leftJustified(30));
        }
    }
};

QTEST_GUILESS_MAIN(TestTagToolBatches)
#include "tst_TagToolBatches.moc"
