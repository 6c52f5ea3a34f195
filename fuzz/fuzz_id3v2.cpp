// Whatever an ID3v2 tag holds, reading it must not crash, and what a fill
// takes from it must fit an ID3v1 trailer. The first two bytes choose the
// version and the header flags, so the fuzzer spends its time on frames.
#include "FillValues.h"
#include "Genres.h"
#include "Id3v2Reader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > (1 << 20))
        return 0;
    const size_t body = size - 2;
    QByteArray head = "ID3";
    head += char(2 + data[0] % 3);
    head += '\0';
    head += char(data[1]);
    for (int shift = 21; shift >= 0; shift -= 7)
        head += char((body >> shift) & 0x7F);
    head.append(reinterpret_cast<const char *>(data) + 2, int(body));

    Id3v2Texts texts;
    if (!ParseId3v2(head, texts))
        std::abort();
    const FillValues values = ValuesFromId3v2(texts);
    const TagEdits &edits = values.edits;
    if (edits.track && (*edits.track < 1 || *edits.track > 255))
        std::abort();
    if (edits.genre && GenreNumber(*edits.genre) >= GenreCount)
        std::abort();
    if (edits.year && edits.year->size() != 4)
        std::abort();
    for (const auto *field : {&edits.title, &edits.artist, &edits.album, &edits.comment}) {
        if (*field && (field->value().isEmpty() || field->value() != field->value().trimmed()))
            std::abort();
    }
    return 0;
}
