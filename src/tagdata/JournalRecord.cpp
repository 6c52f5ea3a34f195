#include "JournalRecord.h"

#include "Id3v1Tag.h"

#include <QList>

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
    line += ' ' + EncodeBytes(record.path);
    line += ' ' + EncodeBytes(record.oldName);
    line += ' ' + EncodeBytes(record.newName);
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
    if (!ok || !DecodeBytes(fields[2], r.path) || !DecodeBytes(fields[3], r.oldName) ||
        !DecodeBytes(fields[4], r.newName) || !DecodeNumber(fields[5], r.state.size) ||
        !DecodeNumber(fields[6], r.state.mtimeNs) || !DecodeBytes(fields[7], r.state.trailer))
        return false;
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
