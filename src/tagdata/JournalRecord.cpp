#include "JournalRecord.h"

#include "Id3v1Tag.h"

#include <QFile>
#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int FieldCount = 9; // type id path old new size mtime trailer crc

QByteArray EncodeBytes(const QByteArray &bytes)
{
    return bytes.isEmpty() ? QByteArrayLiteral("-") : bytes.toBase64();
}

bool DecodeBytes(const QByteArray &text, QByteArray &bytes)
{
    if (text == "-") {
        bytes.clear();
        return true;
    }
    const auto result =
        QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return false;
    bytes = *result;
    return !bytes.isEmpty();
}

bool DecodeNumber(const QByteArray &text, qint64 &value)
{
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok;
}

bool KnownType(char c)
{
    return c == 'W' || c == 'R' || c == 'D' || c == 'U';
}

} // namespace

bool ReadFileState(const QString &path, FileState &state)
{
    state = FileState();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0;
    if (ok && !S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ok = false;
    }
    if (ok) {
        state.size = info.st_size;
        state.mtimeNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        if (state.size >= Id3v1Tag::Size) {
            state.trailer.resize(Id3v1Tag::Size);
            const ssize_t n = ::pread(fd, state.trailer.data(), Id3v1Tag::Size,
                                      off_t(state.size - Id3v1Tag::Size));
            ok = n == Id3v1Tag::Size;
        }
    }
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (!ok)
        state = FileState();
    return ok;
}

quint32 Crc32(const QByteArray &data)
{
    static const auto table = [] {
        QVector<quint32> t(256);
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[int(i)] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data)
        crc = table[int((crc ^ quint8(byte)) & 0xFF)] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray EncodeRecord(const JournalRecord &record)
{
    QByteArray line;
    line += char(record.type);
    line += ' ' + QByteArray::number(record.id);
    line += ' ' + EncodeBytes(QFile::encodeName(record.path));
    line += ' ' + EncodeBytes(QFile::encodeName(record.oldName));
    line += ' ' + EncodeBytes(QFile::encodeName(record.newName));
    line += ' ' + QByteArray::number(record.state.size);
    line += ' ' + QByteArray::number(record.state.mtimeNs);
    line += ' ' + EncodeBytes(record.state.trailer);
    line += ' ' + QByteArray::number(Crc32(line), 16);
    line += '\n';
    return line;
}

bool DecodeRecord(const QByteArray &line, JournalRecord &record)
{
    const int crcAt = line.lastIndexOf(' ');
    if (crcAt <= 0)
        return false;
    bool ok = false;
    const quint32 crc = line.mid(crcAt + 1).toUInt(&ok, 16);
    if (!ok || crc != Crc32(line.left(crcAt)))
        return false;
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != FieldCount || fields[0].size() != 1 || !KnownType(fields[0][0]))
        return false;
    JournalRecord r;
    r.type = JournalRecord::Type(fields[0][0]);
    r.id = fields[1].toULongLong(&ok);
    QByteArray path, oldName, newName;
    if (!ok || !DecodeBytes(fields[2], path) || !DecodeBytes(fields[3], oldName) ||
        !DecodeBytes(fields[4], newName) || !DecodeNumber(fields[5], r.state.size) ||
        !DecodeNumber(fields[6], r.state.mtimeNs) || !DecodeBytes(fields[7], r.state.trailer))
        return false;
    r.path = QFile::decodeName(path);
    r.oldName = QFile::decodeName(oldName);
    r.newName = QFile::decodeName(newName);
    record = r;
    return true;
}

QVector<JournalRecord> DecodeRecords(const QByteArray &segment)
{
    QVector<JournalRecord> records;
    qsizetype start = 0;
    while (start < segment.size()) {
        qsizetype end = segment.indexOf('\n', start);
        if (end < 0)
            break; // a torn last line
        JournalRecord record;
        if (DecodeRecord(segment.mid(start, end - start), record))
            records.append(record);
        start = end + 1;
    }
    return records;
}
