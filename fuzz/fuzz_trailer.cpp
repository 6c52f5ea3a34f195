// Any 128 bytes must read as a record that writes back as the same bytes, and
// the display helpers must cope with whatever a trailer holds.
#include "Genres.h"
#include "Id3v1Tag.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), int(std::min<size_t>(size, 128)));
    bytes = bytes.leftJustified(Id3v1Tag::Size, '\0');
    const Id3v1Tag tag = Id3v1Tag::parse(bytes);
    if (tag.render() != bytes)
        std::abort();
    if (tag.hasHeader() != bytes.startsWith("TAG"))
        std::abort();
    const int track = tag.track();
    if (track < 0 || track > 255)
        std::abort();
    for (const QString *field : {&tag.Title, &tag.Artist, &tag.Album, &tag.Year, &tag.Comment}) {
        if (FieldText(*field).contains(QChar(0)))
            std::abort();
    }
    if (GenreName(tag.Genre).isEmpty())
        std::abort();
    if (GenreNumber(GenreCode(GenreName(tag.Genre))) > 125)
        std::abort();
    return 0;
}
