#include "CodePage.h"

#include <array>

namespace {

// 0x80..0x9F are the only bytes where Windows-1252 differs from Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

QChar DecodeCodePageByte(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHighControls[byte - 0x80]);
    return QChar(byte);
}

QString DecodeCodePage(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        text[i] = DecodeCodePageByte(static_cast<unsigned char>(bytes[i]));
    return text;
}

int EncodeCodePageChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == u)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

QByteArray EncodeCodePage(const QString &text, bool *lossless)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    bool allMapped = true;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one character, one replacement byte
        const int byte = EncodeCodePageChar(c);
        if (byte < 0) {
            allMapped = false;
            bytes.append('?');
        } else {
            bytes.append(static_cast<char>(byte));
        }
    }
    if (lossless)
        *lossless = allMapped;
    return bytes;
}
