#include "CodePage.h"
#include "TableRows.h"
#include "TagFile.h"
#include "TestFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

Id3v1Tag Record(const QString &title, const QString &header)
{
    Id3v1Tag tag;
    AssignField(tag.Header, header, Id3v1Tag::HeaderWidth);
    AssignField(tag.Title, title, Id3v1Tag::TitleWidth);
    tag.Genre = QString(QChar(8));
    return tag;
}

bool NewTitle(const FileState &, Id3v1Tag &tag)
{
    AssignField(tag.Title, QStringLiteral("New"), Id3v1Tag::TitleWidth);
    return true;
}

// The write's system calls failing as a full disk or a failing device makes
// them: writes fail (ENOSPC) once `budget` bytes are written (-1: never),
// "flush" fails the flush, "restore" fails putting the old trailer or length
// back as well, "close" reports a deferred error after the data is on disk,
// "meddle" lets a writer that takes no lock change the trailer just written,
// "busy" says EAGAIN while the descriptor may not wait, as a file system
// that honours O_NONBLOCK for regular files would.
struct FailingIo : TagFileIo {
    QByteArray fault;
    qint64 budget = -1;
    bool restoring = false;

    ssize_t pwrite(int fd, const void *data, size_t size, off_t offset) override
    {
        if (restoring && fault == "restore")
            return errno = EIO, -1;
        if (fault == "busy" && (::fcntl(fd, F_GETFL) & O_NONBLOCK))
            return errno = EAGAIN, -1;
        if (budget < 0 || restoring)
            return TagFileIo::pwrite(fd, data, size, offset);
        if (budget == 0)
            return restoring = true, errno = ENOSPC, -1;
        size = std::min<size_t>(size, size_t(budget));
        budget -= qint64(size);
        return TagFileIo::pwrite(fd, data, size, offset);
    }
    int flush(int fd) override
    {
        if (fault == "flush" && !restoring)
            return restoring = true, errno = EIO, -1;
        struct stat info {};
        if (fault == "meddle" && ::fstat(fd, &info) == 0)
            ::pwrite(fd, "TAGMeddled", 10, info.st_size - 128);
        return TagFileIo::flush(fd);
    }
    int ftruncate(int fd, off_t length) override
    {
        return fault == "restore" ? (errno = EIO, -1) : TagFileIo::ftruncate(fd, length);
    }
    int close(int fd) override
    {
        TagFileIo::close(fd);
        return fault == "close" ? (errno = EIO, -1) : 0;
    }
};

// The edit in a child whose files may not grow past `limit`; the outcome
// comes back in its exit code.
TagEditOutcome EditUnderSizeLimit(const QString &path, rlim_t limit)
{
    const auto edit = [&path] {
        const TagEditOutcome o = EditTag(ToFilePath(path), NewTitle);
        return o.written | o.restored << 1 | (o.error != 0) << 2;
    };
    // A child killed by the limit instead of failing gives all false.
    const int bits = std::max(0, InChild(edit, limit));
    return {bool(bits & 1), bool(bits & 2), bits & 4 ? EFBIG : 0, {}, {}};
}

// Files with a trailer, or with something like one that is not.
const QByteArray Tag = Trailer({"Song"});
// clang-format off
const struct { const char *name; QByteArray before; bool found; } kFiles[] = {
    {"empty", {}, false}, {"128 bytes", Tag, true}, {"127 bytes", Tag.left(127), false},
    {"audio then trailer", MpegFrames(12) + Tag, true},
    {"lower-case tag", MpegFrames(1) + "tag" + Tag.mid(3), false},
    {"TA then other", MpegFrames(1) + "TAX" + Tag.mid(3), false},
    {"trailer not at end", Tag + MpegFrames(1), false}};
// clang-format on

} // namespace

class TestTagFile : public QObject {
    Q_OBJECT
    QScopedPointer<QTemporaryDir> dir_;

    QString makeFile(const QByteArray &contents, const QString &name = QStringLiteral("song.mp3"))
    {
        WriteFile(dir_->filePath(name), contents);
        return dir_->filePath(name);
    }

private Q_SLOTS:
    void init() { dir_.reset(new QTemporaryDir); }

    void readAndWrite_data() { AddRows(kFiles); }

    // Reading never changes a byte. Whether the file has a trailer is the
    // file's word, never the caller's: here the caller is always wrong.
    void readAndWrite()
    {
        const auto &[name, before, found] = CurrentRow(kFiles);
        const QString path = makeFile(before);
        Id3v1Tag tag;
        QCOMPARE(ReadTag(path, tag), found);
        if (found)
            QCOMPARE(tag.render(), before.right(128));
        QCOMPARE(ReadFile(path), before);

        tag = Record("New Title", found ? "" : "TAG");
        QVERIFY(WriteTag(path, tag));
        QCOMPARE(tag.Header, QStringLiteral("TAG"));
        const int kept = found ? before.size() - 128 : before.size();
        QCOMPARE(ReadFile(path), before.left(kept) + tag.render());
    }

    void missingPathsAndFolders()
    {
        Id3v1Tag tag;
        const QString missing = dir_->filePath(QStringLiteral("gone.mp3"));
        for (const QString &path : {missing, dir_->path(), QString()})
            QVERIFY(!ReadTag(path, tag) && !WriteTag(path, tag));
        QVERIFY(!QFile::exists(missing));
    }

    void writeFaults_data()
    {
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<bool>("tagged");
        for (const char *fault :
             {"nothing written", "half written", "flush", "restore", "close", "meddle", "busy"}) {
            QTest::addRow("append, %s", fault) << QByteArray(fault) << false;
            QTest::addRow("overwrite, %s", fault) << QByteArray(fault) << true;
        }
        // Only an append needs room that a limit or a full disk can refuse.
        QTest::newRow("append, file size limit") << QByteArray("size limit") << false;
        QTest::newRow("append, full file system") << QByteArray("full disk") << false;
    }

    // The outcome tells the truth: a write that reached the disk is a success
    // whatever close() says afterwards, and a failed put-back is not hidden.
    void writeFaults()
    {
        QFETCH(QByteArray, fault);
        QFETCH(bool, tagged);
        QTemporaryDir mountPoint;
        if (fault == "full disk") {
            if (geteuid() != 0 || RunQuietly("mount", {"-t", "tmpfs", "-o", "size=256k",
                                                       "brelko-test", mountPoint.path()}))
                QSKIP("mounting a small tmpfs needs root; the I/O seam covers disk full");
            dir_.reset(new QTemporaryDir(mountPoint.filePath("XXXXXX")));
        }
        auto unmount = qScopeGuard([&] {
            if (fault == "full disk")
                dir_.reset(), RunQuietly("umount", {mountPoint.path()});
        });
        // Page-aligned, so the trailer needs a block of its own.
        const QByteArray before = QByteArray(8192, 'a') + (tagged ? Trailer({"Old"}) : "");
        const QString path = makeFile(before);
        if (fault == "full disk") {
            QFile filler(dir_->filePath("filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (filler.write(QByteArray(4096, 'f')) == 4096) {
            }
        }
        FailingIo io;
        io.fault = fault;
        io.budget = fault == "nothing written"                      ? 0
                    : fault == "half written" || fault == "restore" ? 64
                                                                    : -1;
        const TagEditOutcome outcome = fault == "size limit"
                                           ? EditUnderSizeLimit(path, rlim_t(before.size()))
                                           : EditTag(ToFilePath(path), NewTitle, io);
        const bool written = fault == "close" || fault == "meddle" || fault == "busy";
        QCOMPARE(outcome.written, written);
        QCOMPARE(outcome.restored, fault != "restore");
        QCOMPARE(outcome.error != 0, !written);
        if (!written && outcome.restored)
            QCOMPARE(ReadFile(path), before);
        // What the journal keeps as written is this write's trailer, so the
        // other writer's change shows, and undo refuses to take it back.
        FileState now;
        QVERIFY(!written || ReadFileState(ToFilePath(path), now));
        QVERIFY(!written || outcome.after.trailer.startsWith("TAGNew "));
        QCOMPARE(written && now != outcome.after, fault == "meddle");
    }

    void filesBeyondFourGiB()
    {
        const qint64 size = (qint64(5) << 30) + 17; // past every 32-bit offset
        const QString path = makeFile({}, QStringLiteral("huge.mp3"));
        if (!QFile::resize(path, size))
            QSKIP("this file system cannot hold a sparse 5 GiB file");
        for (const QString &header : {QString(), QStringLiteral("TAG")}) {
            Id3v1Tag tag = Record(QStringLiteral("Huge") + header, header), back;
            QVERIFY(WriteTag(path, tag));
            QCOMPARE(QFileInfo(path).size(), size + 128); // appended once, then overwritten
            QVERIFY(ReadTag(path, back) && back.Title == tag.Title);
        }
    }

    void randomRoundTrip()
    {
        QRandomGenerator random(20261206);
        const auto bytes = [&random](int maxLength) {
            QByteArray bytes(int(random.bounded(maxLength + 1)), Qt::Uninitialized);
            for (char &b : bytes)
                b = char(random.bounded(256));
            return bytes;
        };
        for (int round = 0; round < 300; ++round) {
            QByteArray before = bytes(3000);
            const bool hadTrailer = before.size() >= 128 && random.bounded(2) == 0;
            if (hadTrailer)
                before.replace(before.size() - 128, 3, "TAG");
            if (hadTrailer && random.bounded(2)) // a track number: a zero before it
                before[before.size() - 128 + Id3v1Tag::TrackZeroOffset] = '\0';
            const QString path = makeFile(before, QStringLiteral("r%1.mp3").arg(round));

            Id3v1Tag tag;
            AssignField(tag.Header, random.bounded(2) ? QStringLiteral("TAG") : QString(), 3);
            for (QString *field : {&tag.Title, &tag.Artist, &tag.Album})
                AssignField(*field, DecodeCodePage(bytes(40)), 30);
            // Half the comments near the 28 characters that leave room for a track.
            const QString nearTrack(27 + int(random.bounded(4)), QChar('c'));
            AssignField(tag.Comment, random.bounded(2) ? DecodeCodePage(bytes(40)) : nearTrack, 30);
            AssignField(tag.Year, DecodeCodePage(bytes(6)), 4);
            tag.Genre = DecodeCodePage(bytes(1)).leftJustified(1, QChar(0));
            Id3v1Tag expected = tag;
            expected.Header = QStringLiteral("TAG");
            // A comment that leaves room (28 characters or fewer) keeps the track.
            const Id3v1Tag old = Id3v1Tag::parse(hadTrailer ? before.right(128) : Trailer({}));
            if (old.track() != 0 && expected.Comment.endsWith(QStringLiteral("  ")))
                expected.Comment = expected.Comment.left(28) + QChar(0) + old.Comment.at(29);

            QVERIFY(WriteTag(path, tag));
            const int kept = hadTrailer ? before.size() - 128 : before.size();
            QCOMPARE(ReadFile(path), before.left(kept) + expected.render());
        }
    }
};

QTEST_GUILESS_MAIN(TestTagFile)
#include "tst_tagfile.moc"
