// brelko-tag run as a user runs it: the real executable on real files in a
// temporary folder, with its journal in a state folder of its own.
#include "Mp3Fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

} // namespace

class TestTagToolCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void showPrintsEachFile();
    void showJsonAndCsv();
    void badFilesAreReportedAndTheRestDone_data();
    void badFilesAreReportedAndTheRestDone();
    void unreadableFileIsReported();
    void usageErrorsTouchNothing_data();
    void usageErrorsTouchNothing();
    void setChangesOnlyTheGivenFields();
    void setAppendsToAFileWithoutTag();
    void setCutsAndWarns();
    void setKeepsAndRemovesTheTrack();
    void independentReaderAgrees();
    void renameBuildsTheWindowsName_data();
    void renameBuildsTheWindowsName();
    void renameRefusals();
    void undoTakesBackWriteAppendAndRename();
    void undoRefusedAfterOutsideChange_data();
    void undoRefusedAfterOutsideChange();
    void helpAndVersion();

private:
    Result run(const QStringList &args, const QString &asUser = QString());
    QString path(const QString &name) const { return dir_->filePath(name); }
    QString make(const QString &name, const QByteArray &trailer = QByteArray());

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QTemporaryDir> state_;
};

Result TestTagToolCommands::run(const QStringList &args, const QString &asUser)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_STATE_HOME"), state_->path());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir_->path());
    if (asUser.isEmpty()) {
        process.start(QStringLiteral(BRELKO_TAG_PATH), args);
    } else {
        process.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=") + asUser,
                                                             QStringLiteral("--regid=") + asUser,
                                                             QStringLiteral("--clear-groups"),
                                                             QStringLiteral(BRELKO_TAG_PATH)} +
                                                     args);
    }
    Result result;
    if (!process.waitForFinished(30000))
        return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString TestTagToolCommands::make(const QString &name, const QByteArray &trailer)
{
    const QString file = path(name);
    if (!WriteBytes(file, MpegFrames(4) + trailer))
        qFatal("cannot write fixture");
    return file;
}

void TestTagToolCommands::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    state_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid() && state_->isValid());
}

void TestTagToolCommands::showPrintsEachFile()
{
    QByteArray comment = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(7);
    make("a.mp3", Trailer("  Morning  ", "Quartet", comment, char(200)));
    make("b.mp3");
    const Result r = run({"show", "a.mp3", "b.mp3"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("a.mp3:\n  Title:   Morning\n  Artist:  Quartet\n"
                                   "  Album:   Album\n  Year:    1999\n  Comment: Live\n"
                                   "  Genre:   Unknown Genre Entry (200)\n  Track:   7\n"
                                   "b.mp3:\n  no ID3v1 tag\n"));
    QVERIFY(r.err.isEmpty());
}

void TestTagToolCommands::showJsonAndCsv()
{
    make("q.mp3", Trailer("Say \"hi\", \x1b"
                          "x",
                          "=cmd()", "", char(0)));
    make("n.mp3");
    Result r = run({"show", "--json", "q.mp3", "n.mp3"});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QJsonParseError error{};
    const QJsonObject tagged = QJsonDocument::fromJson(lines[0].toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(tagged.value("title").toString(), QStringLiteral("Say \"hi\", \x1bx"));
    QCOMPARE(tagged.value("genre").toString(), QStringLiteral("Blues"));
    QCOMPARE(tagged.value("genre_number").toInt(), 0);
    QVERIFY(tagged.value("track").isNull());
    QCOMPARE(QJsonDocument::fromJson(lines[1].toUtf8()).object().value("tag").toBool(true), false);

    r = run({"show", "--csv", "q.mp3", "n.mp3"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out,
             QStringLiteral("file,tag,title,artist,album,year,comment,genre,genre_number,"
                            "track\n"
                            "q.mp3,yes,\"Say \"\"hi\"\", \x1bx\",'=cmd(),Album,1999,,Blues,0,\n"
                            "n.mp3,no,,,,,,,,\n"));
}

void TestTagToolCommands::badFilesAreReportedAndTheRestDone_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("show") << "show";
    QTest::newRow("set") << "set";
    QTest::newRow("rename") << "rename";
}

void TestTagToolCommands::badFilesAreReportedAndTheRestDone()
{
    QFETCH(QString, command);
    make("good.mp3", Trailer("Morning", "Quartet"));
    QDir(dir_->path()).mkdir("folder.mp3");
    QStringList args{command};
    if (command == "set")
        args << "--year"
             << "2001";
    if (command == "rename")
        args << "--order"
             << "title-artist";
    const Result r = run(args + QStringList{"missing.mp3", "folder.mp3", "good.mp3"});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("brelko-tag: missing.mp3: No such file or directory"),
             qPrintable(r.err));
    QVERIFY2(r.err.contains("brelko-tag: folder.mp3: Is a directory"), qPrintable(r.err));
    QVERIFY2(r.out.contains("good.mp3"), qPrintable(r.out)); // done despite the others
}

void TestTagToolCommands::unreadableFileIsReported()
{
    const QString file = make("locked.mp3", Trailer("Morning", "Quartet"));
    QVERIFY(::chmod(QFile::encodeName(file).constData(), 0) == 0);
    QString user;
    if (::geteuid() == 0) {
        // root reads anything; look as an ordinary user would
        QVERIFY(::chmod(QFile::encodeName(dir_->path()).constData(), 0755) == 0);
        user = QStringLiteral("65534");
    }
    const Result r = run({"show", "locked.mp3"}, user);
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("locked.mp3: Permission denied"), qPrintable(r.err));
}

void TestTagToolCommands::usageErrorsTouchNothing_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown genre") << QStringList{"set", "--genre", "rock", "t.mp3"}
                                   << "unknown genre \"rock\" (did you mean \"Rock\"?)";
    QTest::newRow("genre number") << QStringList{"set", "--genre", "256", "t.mp3"} << "256";
    QTest::newRow("track") << QStringList{"set", "--track", "x", "t.mp3"} << "track \"x\"";
    QTest::newRow("nothing") << QStringList{"set", "t.mp3"} << "nothing to set";
    QTest::newRow("no value") << QStringList{"set", "t.mp3", "--title"} << "--title needs a value";
    QTest::newRow("option") << QStringList{"set", "--titel=x", "t.mp3"}
                            << "unknown option --titel=x";
    QTest::newRow("order") << QStringList{"rename", "--order", "x", "t.mp3"} << "--order must be";
    QTest::newRow("no files") << QStringList{"show"} << "no files given";
    QTest::newRow("both") << QStringList{"show", "--json", "--csv", "t.mp3"}
                          << "cannot be combined";
    QTest::newRow("command") << QStringList{"play", "t.mp3"} << "unknown command \"play\"";
}

void TestTagToolCommands::usageErrorsTouchNothing()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const QString file = make("t.mp3", Trailer("Morning", "Quartet"));
    const QByteArray before = ReadBytes(file);
    const Result r = run(args);
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(ReadBytes(file), before);
    QVERIFY(r.out.isEmpty());
}

void TestTagToolCommands::setChangesOnlyTheGivenFields()
{
    const QByteArray comment = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(9);
    const QString file = make("s.mp3", Trailer("Morning", "Quartet", comment, 8));
    const QByteArray before = ReadBytes(file);
    const Result r = run({"set", "--artist", "Trio", "--genre", "Poweer Ballad", "s.mp3"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("s.mp3: tag written\n"));
    QByteArray expected = before;
    expected.replace(before.size() - 128 + 33, 30, QByteArray("Trio").leftJustified(30, ' '));
    expected[expected.size() - 1] = char(117);
    QCOMPARE(ReadBytes(file), expected);
}

void TestTagToolCommands::setAppendsToAFileWithoutTag()
{
    const QString file = make("new.mp3");
    const QByteArray audio = ReadBytes(file);
    QCOMPARE(run({"set", "--title", "Morning", "new.mp3"}).status, 0);
    const QByteArray after = ReadBytes(file);
    QCOMPARE(after.size(), audio.size() + 128);
    QVERIFY(after.startsWith(audio));
    QCOMPARE(after.mid(audio.size(), 33), QByteArray("TAGMorning") + QByteArray(23, ' '));
    QCOMPARE(quint8(after.back()), quint8(255)); // no genre given: none stored
}

void TestTagToolCommands::setCutsAndWarns()
{
    const QString file = make("c.mp3", Trailer("Morning", "Quartet"));
    const QString longTitle = QStringLiteral("A title that runs past thirty characters");
    const Result r = run({"set", "--title", longTitle, "--year", "19999", "--album",
                          QStringLiteral("Ω Café €"), "c.mp3"});
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.contains("--title: only the first 30 characters are written"));
    QVERIFY(r.err.contains("--year: only the first 4 characters are written"));
    QVERIFY(r.err.contains("--album: characters outside Windows-1252 are written as \"?\""));
    const QByteArray trailer = ReadBytes(file).right(128);
    QCOMPARE(trailer.mid(3, 30), longTitle.left(30).toLatin1());
    QCOMPARE(trailer.mid(93, 4), QByteArray("1999"));
    QCOMPARE(trailer.mid(63, 9), QByteArray("? Caf\xe9 \x80 "));
}

void TestTagToolCommands::setKeepsAndRemovesTheTrack()
{
    const QByteArray withTrack = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(9);
    const QString file = make("k.mp3", Trailer("Morning", "Quartet", withTrack));
    auto commentBytes = [&] { return ReadBytes(file).right(128).mid(97, 30); };

    QCOMPARE(run({"set", "--comment", "Studio", "k.mp3"}).status, 0);
    QCOMPARE(commentBytes(), QByteArray("Studio") + QByteArray(22, ' ') + '\0' + char(9));
    QCOMPARE(run({"set", "--track", "12", "k.mp3"}).status, 0);
    QCOMPARE(commentBytes(), QByteArray("Studio") + QByteArray(22, ' ') + '\0' + char(12));
    QCOMPARE(run({"set", "--track", "0", "k.mp3"}).status, 0);
    QCOMPARE(commentBytes(), QByteArray("Studio") + QByteArray(22, ' ') + QByteArray(2, '\0'));
    QVERIFY(!run({"show", "k.mp3"}).out.contains("Track:"));
    QCOMPARE(run({"set", "--track", "3", "--comment", QString(30, 'x'), "k.mp3"}).status, 0);
    QCOMPARE(commentBytes(), QByteArray(28, 'x') + '\0' + char(3));
}

void TestTagToolCommands::independentReaderAgrees()
{
    const QString file = make("m.mp3");
    const Result r =
        run({"set", "--title", QStringLiteral("Café €"), "--artist", "Quartet", "--album", "Dawn",
             "--year", "1999", "--comment", "hi", "--genre", "Jazz", "--track", "5", "m.mp3"});
    QCOMPARE(r.status, 0);
    QProcess python;
    const char *script = "import sys\nfrom mutagen.id3 import ID3\nt = ID3(sys.argv[1])\n"
                         "for k in ('TIT2','TPE1','TALB','TDRC','TCON','TRCK'):\n"
                         "    print(k, str(t[k]).encode('latin-1').hex())\n"
                         "print('COMM', str(t.getall('COMM')[0]))\n";
    python.start(QStringLiteral("/usr/bin/python3"), {"-c", script, file});
    QVERIFY(python.waitForFinished(30000));
    if (python.exitCode() != 0)
        QFAIL(python.readAllStandardError().constData());
    const QString out = QString::fromUtf8(python.readAllStandardOutput());
    auto hex = [](const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex()); };
    QVERIFY2(out.contains("TIT2 " + hex("Caf\xe9 \x80")), qPrintable(out));
    QVERIFY(out.contains("TPE1 " + hex("Quartet")));
    QVERIFY(out.contains("TALB " + hex("Dawn")));
    QVERIFY(out.contains("TDRC " + hex("1999")));
    QVERIFY(out.contains("TCON " + hex("Jazz")));
    QVERIFY(out.contains("TRCK " + hex("5")));
    QVERIFY(out.contains("COMM hi"));
}

void TestTagToolCommands::renameBuildsTheWindowsName_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("expected");
    QTest::newRow("title first") << "title-artist"
                                 << "Morning - The Quartet.mp3";
    QTest::newRow("artist first") << "artist-title"
                                  << "The Quartet - Morning.mp3";
}

void TestTagToolCommands::renameBuildsTheWindowsName()
{
    QFETCH(QString, order);
    QFETCH(QString, expected);
    QByteArray title = QByteArray("  Morning") + '\0' + "junk";
    make("OLD.MP3", Trailer(title, " The Quartet "));
    Result r = run({"rename", "--order", order, "--dry-run", "OLD.MP3"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, "OLD.MP3 -> " + expected + "\n");
    QVERIFY(QFileInfo::exists(path("OLD.MP3")));
    r = run({"rename", "--order=" + order, dir_->path() + "/OLD.MP3"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, dir_->path() + "/OLD.MP3 -> " + dir_->path() + "/" + expected + "\n");
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{expected});
}

void TestTagToolCommands::renameRefusals()
{
    make("slash.mp3", Trailer("AC/DC", "Band"));
    make("empty.mp3", Trailer("   ", "Band"));
    make("taken.mp3", Trailer("Morning", "Quartet"));
    make("Morning - Quartet.mp3");
    make("plain.mp3");
    const Result r = run(
        {"rename", "--order", "title-artist", "slash.mp3", "empty.mp3", "taken.mp3", "plain.mp3"});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("slash.mp3: the new name \"AC/DC - Band.mp3\" contains \"/\""),
             qPrintable(r.err));
    QVERIFY(r.err.contains("empty.mp3: title or artist is empty"));
    QVERIFY(r.err.contains("taken.mp3: \"Morning - Quartet.mp3\" exists"));
    QVERIFY(r.err.contains("plain.mp3: has no ID3v1 tag"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), 5);
    QVERIFY(ReadBytes(path("Morning - Quartet.mp3")) == MpegFrames(4));
}

void TestTagToolCommands::undoTakesBackWriteAppendAndRename()
{
    const QString tagged = make("t.mp3", Trailer("Morning", "Quartet"));
    const QString bare = make("b.mp3");
    const QByteArray taggedBefore = ReadBytes(tagged);
    const QByteArray bareBefore = ReadBytes(bare);

    QCOMPARE(run({"set", "--title", "Evening", "t.mp3", "b.mp3"}).status, 0);
    QCOMPARE(run({"set", "--artist", "Trio", "t.mp3"}).status, 0);
    QCOMPARE(run({"rename", "--order", "artist-title", "t.mp3"}).status, 0);
    const QString renamed = path("Trio - Evening.mp3");
    QVERIFY(QFileInfo::exists(renamed));

    Result r = run({"undo", "Trio - Evening.mp3", "b.mp3"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("Trio - Evening.mp3: rename undone, now \"t.mp3\"\n"
                                   "b.mp3: tag write undone\n"));
    QCOMPARE(ReadBytes(bare), bareBefore); // the appended trailer is gone
    QCOMPARE(run({"undo", "t.mp3"}).status, 0);
    QCOMPARE(run({"undo", "t.mp3"}).status, 0);
    QCOMPARE(ReadBytes(tagged), taggedBefore);
    r = run({"undo", "t.mp3"});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.contains("t.mp3: no change by Brelko is recorded for it"));
}

void TestTagToolCommands::undoRefusedAfterOutsideChange_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("reason");
    QTest::newRow("length") << 0 << "its length changed";
    QTest::newRow("time") << 1 << "it was modified";
    QTest::newRow("trailer") << 2 << "its tag changed";
}

void TestTagToolCommands::undoRefusedAfterOutsideChange()
{
    QFETCH(int, change);
    QFETCH(QString, reason);
    const QString file = make("o.mp3", Trailer("Morning", "Quartet"));
    QCOMPARE(run({"set", "--title", "Evening", "o.mp3"}).status, 0);
    QByteArray bytes = ReadBytes(file);
    const QByteArray native = QFile::encodeName(file);
    struct stat written {};
    QVERIFY(::stat(native.constData(), &written) == 0);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    if (change == 0)
        QVERIFY(f.resize(bytes.size() + 1));
    if (change == 2) {
        f.seek(bytes.size() - 100);
        f.write("X");
    }
    f.close();
    // Only the change under test differs: the time goes back to the exact
    // nanosecond the write left, unless the time is what changes.
    struct timespec times[2] = {written.st_atim, written.st_mtim};
    if (change == 1)
        times[1].tv_sec += 5;
    QVERIFY(::utimensat(AT_FDCWD, native.constData(), times, 0) == 0);
    bytes = ReadBytes(file);
    const Result r = run({"undo", "o.mp3"});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains("o.mp3: cannot undo: " + reason), qPrintable(r.err));
    QCOMPARE(ReadBytes(file), bytes);
}

void TestTagToolCommands::helpAndVersion()
{
    Result r = run({"--help"});
    QCOMPARE(r.status, 0);
    for (const char *word : {"show [--json | --csv]", "--genre NAME|NUMBER", "--dry-run", "undo"})
        QVERIFY2(r.out.contains(word), word);
    r = run({"--version"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("brelko-tag " BRELKO_VERSION "\n"));
    QCOMPARE(run({}).status, 2);
}

QTEST_GUILESS_MAIN(TestTagToolCommands)
#include "tst_TagToolCommands.moc"
