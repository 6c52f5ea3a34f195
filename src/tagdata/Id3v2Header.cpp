#include "Id3v2Header.h"

namespace {

constexpr quint8 FooterFlag = 0x10;

} // namespace

bool Id3v2Header::parse(const char *bytes, qsizetype size)
{
    if (size < Size || bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3')
        return false;
    const auto byte = [bytes](int i) { return quint8(bytes[i]); };
    if (byte(3) < 2 || byte(3) > 4 || byte(4) == 0xFF)
        return false;
    quint32 body = 0;
    for (int i = 6; i < Size; ++i) {
        // Each size byte carries seven bits, so no byte of it can look like
        // the start of an MPEG frame.
        if (byte(i) & 0x80)
            return false;
        body = (body << 7) | byte(i);
    }
    major = byte(3);
    revision = byte(4);
    flags = byte(5);
    bodySize = body;
    return true;
}

qint64 Id3v2Header::tagSize() const
{
    const bool footer = major == 4 && (flags & FooterFlag);
    return Size + qint64(bodySize) + (footer ? Size : 0);
}
