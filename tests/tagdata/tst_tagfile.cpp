#include "CodePage.h"
#include "TagFile.h"
#include "TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Trailer(const QByteArray &title, const QByteArray &comment = QByteArray(30, ' '),
                   char genre = 17)
{
    return ::Trailer(QList<QByteArray>{title, "Artist", "Album", "2001", comment}, uchar(genre));
}

QByteArray Audio(int size)
{
    QByteArray audio(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        audio[i] = char((i * 7 + 3) & 0xFF);
    return audio;
}

Id3v1Tag Record(const QString &title, const QString &header, const QString &comment = {})
{
    Id3v1Tag tag;
    AssignField(tag.Header, header, Id3v1Tag::HeaderWidth);
    AssignField(tag.Title, title, Id3v1Tag::TitleWidth);
    AssignField(tag.Comment, comment, Id3v1Tag::CommentWidth);
    tag.Genre = QString(QChar(8));
    return tag;
}

// Fails writes after a number of bytes, or the flush, like a full disk or a
// failing device would.
class FailingIo : public TagFileIo {
public:
    qint64 bytesBeforeFailure = -1; // -1: writes succeed
    bool failFlush = false;
    bool failRestore = false; // putting the old trailer or length back fails too
    bool failClose = false;   // close reports a deferred error after the fsync
    bool restoring = false;

    ssize_t pwrite(int fd, const void *data, size_t size, off_t offset) override
    {
        if (restoring && failRestore) {
            errno = EIO;
            return -1;
        }
        if (bytesBeforeFailure < 0 || restoring)
            return TagFileIo::pwrite(fd, data, size, offset);
        if (bytesBeforeFailure == 0) {
            restoring = true; // the next writes are the library putting things back
            errno = ENOSPC;
            return -1;
        }
        const size_t allowed = std::min<size_t>(size, size_t(bytesBeforeFailure));
        bytesBeforeFailure -= qint64(allowed);
        return TagFileIo::pwrite(fd, data, allowed, offset);
    }
    int fsync(int fd) override
    {
        if (failFlush && !restoring) {
            restoring = true;
            errno = EIO;
            return -1;
        }
        return TagFileIo::fsync(fd);
    }
    int ftruncate(int fd, off_t length) override
    {
        if (failRestore) {
            errno = EIO;
            return -1;
        }
        return TagFileIo::ftruncate(fd, length);
    }
    int close(int fd) override
    {
        TagFileIo::close(fd);
        if (failClose)
            errno = EIO;
        return failClose ? -1 : 0;
    }
};

} // namespace

class TestTagFile : public QObject {
    Q_OBJECT
    QScopedPointer<QTemporaryDir> dir_;

    QString makeFile(const QByteArray &contents, const QString &name = QStringLiteral("song.mp3"))
    {
        const QString path = dir_->filePath(name);
        WriteFile(path, contents);
        return path;
    }

private Q_SLOTS:

    void init()
    {
        dir_.reset(new QTemporaryDir);
        QVERIFY(dir_->isValid());
    }

    void readTag_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("found");
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("127 bytes") << Trailer("x").left(127) << false;
        QTest::newRow("exactly 128 bytes") << Trailer("Only") << true;
        QTest::newRow("129 bytes") << "\x01" + Trailer("One more") << true;
        QTest::newRow("audio then trailer") << Audio(5000) + Trailer("Song") << true;
        QTest::newRow("lower-case tag") << Audio(10) + "tag" + Trailer("x").mid(3) << false;
        QTest::newRow("TA then other") << Audio(10) + "TAX" + Trailer("x").mid(3) << false;
        QTest::newRow("trailer not at end") << Trailer("x") + Audio(10) << false;
    }

    void readTag()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, found);
        const QString path = makeFile(contents);
        Id3v1Tag tag;
        QCOMPARE(ReadTag(path, tag), found);
        if (found)
            QCOMPARE(tag.render(), contents.right(128));
        QCOMPARE(ReadFile(path), contents); // reading never changes a byte
    }

    void missingPathsAndFolders()
    {
        Id3v1Tag tag;
        const QString missing = dir_->filePath(QStringLiteral("gone.mp3"));
        for (const QString &path : {missing, dir_->path(), QString()}) {
            QVERIFY(!ReadTag(path, tag));
            QVERIFY(!WriteTag(path, tag));
        }
        QVERIFY(!QFile::exists(missing));
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("callerHeader");
        QTest::addColumn<int>("keptBytes"); // bytes before the new trailer, unchanged

        const QByteArray audio = Audio(1000);
        QTest::newRow("append to empty file") << QByteArray() << "" << 0;
        // Whether the file has a trailer is the file's word, not the caller's
        // (the random round trip mixes the two at every size).
        QTest::newRow("append to 127 bytes, caller says TAG") << Audio(127) << "TAG" << 127;
        QTest::newRow("overwrite 128-byte file, caller says none") << Trailer("Old") << "" << 0;
        QTest::newRow("lower-case trailer is audio")
            << audio + "tag" + Trailer("x").mid(3) << "TAG" << 1128;
    }

    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, callerHeader);
        QFETCH(int, keptBytes);
        const QString path = makeFile(before);
        Id3v1Tag tag = Record(QStringLiteral("New Title"), callerHeader);
        QVERIFY(WriteTag(path, tag));
        QCOMPARE(tag.Header, QStringLiteral("TAG"));

        const QByteArray after = ReadFile(path);
        QCOMPARE(after.size(), keptBytes + 128);
        QCOMPARE(after.left(keptBytes), before.left(keptBytes));
        QCOMPARE(after.right(128), tag.render());
    }

    void trackNumber_data()
    {
        QTest::addColumn<QByteArray>("oldComment");
        QTest::addColumn<QString>("newComment");
        QTest::addColumn<QByteArray>("writtenComment");
        const QByteArray withTrack = QByteArray("old").leftJustified(28, '\0') + '\0' + '\x09';
        QTest::newRow("short comment keeps track")
            << withTrack << "new" << QByteArray("new").leftJustified(28) + '\0' + '\x09';
        QTest::newRow("28 characters keep track")
            << withTrack << QString(28, 'c') << QByteArray(28, 'c') + '\0' + '\x09';
        QTest::newRow("29 characters replace track")
            << withTrack << QString(29, 'c') << QByteArray(29, 'c') + ' ';
        QTest::newRow("zero padding is no track")
            << QByteArray(30, '\0') << "new" << QByteArray("new").leftJustified(30);
    }

    void trackNumber()
    {
        QFETCH(QByteArray, oldComment);
        QFETCH(QString, newComment);
        QFETCH(QByteArray, writtenComment);
        const QString path = makeFile(Audio(500) + Trailer("Song", oldComment));
        Id3v1Tag tag = Record(QStringLiteral("Song"), QStringLiteral("TAG"), newComment);
        QVERIFY(WriteTag(path, tag));
        QCOMPARE(ReadFile(path).mid(500 + Id3v1Tag::CommentOffset, 30), writtenComment);
    }

    void failedWriteLeavesFileAsItWas_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("bytesBeforeFailure");
        QTest::addColumn<QString>("alsoFails"); // "flush", "restore" or "close"
        const QByteArray plain = Audio(3000);
        const QByteArray tagged = Audio(3000) + Trailer("Old", QByteArray(28, ' ') + '\0' + '\x04');
        for (const auto &[kind, before] : {std::pair{"append", plain}, {"overwrite", tagged}}) {
            QTest::addRow("%s, nothing written", kind) << before << 0 << "";
            QTest::addRow("%s, half written", kind) << before << 64 << "";
            QTest::addRow("%s, flush fails", kind) << before << -1 << "flush";
            QTest::addRow("%s, put back fails", kind) << before << 64 << "restore";
            QTest::addRow("%s, close fails", kind) << before << -1 << "close";
        }
    }

    // The outcome tells the truth: a write that reached the disk is a success
    // whatever close() says afterwards, and a failed put-back is not hidden.
    void failedWriteLeavesFileAsItWas()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, bytesBeforeFailure);
        QFETCH(QString, alsoFails);
        const QString path = makeFile(before);
        FailingIo io;
        io.bytesBeforeFailure = bytesBeforeFailure;
        io.failFlush = alsoFails == "flush";
        io.failRestore = alsoFails == "restore";
        io.failClose = alsoFails == "close";
        const bool written = io.failClose;
        const TagEditOutcome outcome = EditTag(
            ToFilePath(path),
            [](const FileState &, Id3v1Tag &tag) {
                AssignField(tag.Title, QStringLiteral("New"), Id3v1Tag::TitleWidth);
                return true;
            },
            io);
        QCOMPARE(outcome.written, written);
        QCOMPARE(outcome.restored, !io.failRestore);
        QCOMPARE(outcome.error != 0, !written);
        Id3v1Tag back;
        if (written)
            QVERIFY(ReadTag(path, back) && back.Title.startsWith(QStringLiteral("New ")));
        else if (!io.failRestore)
            QCOMPARE(ReadFile(path), before);
    }

    void fileSizeLimit()
    {
        const QByteArray before = Audio(4096);
        const QString path = makeFile(before);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(before.size()), rlim_t(before.size())};
            setrlimit(RLIMIT_FSIZE, &limit);
            Id3v1Tag tag = Record(QStringLiteral("Too big"), QString());
            _exit(WriteTag(path, tag) ? 1 : 0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status), "the writer was killed instead of failing");
        QCOMPARE(WEXITSTATUS(status), 0); // WriteTag reported the failure
        QCOMPARE(ReadFile(path), before);
    }

    void fullFileSystem()
    {
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs root; the I/O seam covers disk full");
        QTemporaryDir mountPoint;
        if (RunQuietly(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                 QStringLiteral("-o"), QStringLiteral("size=256k"),
                                                 QStringLiteral("brelko-test"), mountPoint.path()}))
            QSKIP("this machine does not allow mounting a tmpfs; the I/O seam covers disk full");
        auto unmount =
            qScopeGuard([&] { RunQuietly(QStringLiteral("umount"), {mountPoint.path()}); });
        // A page-aligned file needs a new block for the trailer.
        const QByteArray before = Audio(8192);
        const QString path = mountPoint.filePath(QStringLiteral("song.mp3"));
        WriteFile(path, before);
        QFile filler(mountPoint.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) == 4096) {
        }
        filler.close();
        Id3v1Tag tag = Record(QStringLiteral("No room"), QString());
        QVERIFY(!WriteTag(path, tag));
        QCOMPARE(ReadFile(path), before);
    }

    void filesBeyondFourGiB()
    {
        const qint64 size = (qint64(5) << 30) + 17; // past every 32-bit offset
        const QString path = dir_->filePath(QStringLiteral("huge.mp3"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (!file.resize(size))
                QSKIP("this file system cannot hold a sparse 5 GiB file");
        }
        for (const QString &header : {QString(), QStringLiteral("TAG")}) {
            Id3v1Tag tag = Record(QStringLiteral("Huge") + header, header);
            QVERIFY(WriteTag(path, tag));
            QCOMPARE(QFileInfo(path).size(), size + 128); // appended once, then overwritten
            Id3v1Tag back;
            QVERIFY(ReadTag(path, back));
            QCOMPARE(back.Title, tag.Title);
        }
    }

    void randomRoundTrip()
    {
        QRandomGenerator random(20261206);
        auto randomText = [&random](int maxLength) {
            QByteArray bytes(int(random.bounded(maxLength + 1)), Qt::Uninitialized);
            for (char &b : bytes)
                b = char(random.bounded(256));
            return DecodeCodePage(bytes);
        };
        for (int round = 0; round < 300; ++round) {
            QByteArray before(int(random.bounded(3000)), Qt::Uninitialized);
            for (char &b : before)
                b = char(random.bounded(256));
            const bool hadTrailer = before.size() >= 128 && random.bounded(2) == 0;
            if (hadTrailer)
                before.replace(before.size() - 128, 3, "TAG");
            const QString path = makeFile(before, QStringLiteral("r%1.mp3").arg(round));

            Id3v1Tag tag;
            AssignField(tag.Header, random.bounded(2) ? QStringLiteral("TAG") : QString(), 3);
            AssignField(tag.Title, randomText(40), 30);
            AssignField(tag.Artist, randomText(40), 30);
            AssignField(tag.Album, randomText(40), 30);
            AssignField(tag.Year, randomText(6), 4);
            AssignField(tag.Comment, randomText(40), 30);
            tag.Genre = randomText(1).leftJustified(1, QChar(0));
            Id3v1Tag expected = tag;
            expected.Header = QStringLiteral("TAG");
            if (hadTrailer) {
                const Id3v1Tag old = Id3v1Tag::parse(before.right(128));
                if (old.track() != 0 && expected.Comment.endsWith(QStringLiteral("  ")))
                    expected.Comment = expected.Comment.left(28) + QChar(0) + old.Comment.at(29);
            }

            QVERIFY(WriteTag(path, tag));
            const QByteArray after = ReadFile(path);
            const int kept = hadTrailer ? before.size() - 128 : before.size();
            QCOMPARE(after.size(), kept + 128);
            QCOMPARE(after.left(kept), before.left(kept));
            Id3v1Tag back;
            QVERIFY(ReadTag(path, back));
            QCOMPARE(back.render(), expected.render());
        }
    }
};

QTEST_GUILESS_MAIN(TestTagFile)
#include "tst_tagfile.moc"
