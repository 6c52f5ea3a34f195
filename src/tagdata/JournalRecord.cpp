#include "JournalRecord.h"

#include "Id3v1Tag.h"

#include <QList>
#include <QtEndian>

#include <array>

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

// Eight bytes a step: a batch journals and re-reads megabytes of lines.
quint32 Crc32(QByteArrayView data)
{
    using Tables = std::array<std::array<quint32, 256>, 8>;
    static const Tables t = [] {
        Tables tables{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            tables[0][i] = c;
        }
        for (size_t s = 1; s < tables.size(); ++s)
            for (size_t i = 0; i < 256; ++i)
                tables[s][i] = (tables[s - 1][i] >> 8) ^ tables[0][tables[s - 1][i] & 0xFF];
        return tables;
    }();
    const auto *p = reinterpret_cast<const uchar *>(data.data());
    qsizetype left = data.size();
    quint32 crc = 0xFFFFFFFFu;
    for (; left >= 8; p += 8, left -= 8) {
        const quint32 low = qFromLittleEndian<quint32>(p) ^ crc;
        const quint32 high = qFromLittleEndian<quint32>(p + 4);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^
              t[4][low >> 24] ^ t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^
              t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; left > 0; ++p, --left)
        crc = t[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// Whether the checksum at the line's end holds: the line was written whole.
bool Intact(QByteArrayView line)
{
    const qsizetype crcAt = line.lastIndexOf(' ');
    bool ok = false;
    return crcAt > 0 && line.sliced(crcAt + 1).toUInt(&ok, 16) == Crc32(line.first(crcAt)) && ok;
}

// Each whole line of a segment, without its newline; a torn last line is left out.
template <typename Take> void ForEachLine(QByteArrayView lines, Take take)
{
    qsizetype start = 0;
    for (qsizetype end; (end = lines.indexOf('\n', start)) >= 0; start = end + 1)
        take(lines.sliced(start, end - start));
}

} // namespace

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
    if (!Intact(line))
        return false;
    bool ok = false;
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
    ForEachLine(segment, [&records](QByteArrayView line) {
        JournalRecord record;
        if (DecodeRecord(line.toByteArray(), record))
            records.append(record);
    });
    return records;
}

int CountChangeLines(QByteArrayView lines)
{
    // The type and the checksum only: at every rotation a whole segment is
    // counted, and decoding each field would cost ten times as much.
    int count = 0;
    ForEachLine(lines, [&count](QByteArrayView line) {
        if (line.size() > 1 && line[1] == ' ' &&
            JournalRecord::isChange(JournalRecord::Type(line[0])) && Intact(line))
            ++count;
    });
    return count;
}
