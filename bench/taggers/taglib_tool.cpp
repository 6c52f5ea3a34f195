// A small TagLib reader and writer of ID3v1 trailers, for comparison.
//   taglib_tool read FILE...           prints each file's ID3v1 title
//   taglib_tool write TITLE FILE...    sets the ID3v1 title, nothing else
#include <taglib/id3v1tag.h>
#include <taglib/mpegfile.h>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    const bool writing = argc > 2 && std::strcmp(argv[1], "write") == 0;
    if (argc < 3 || (!writing && std::strcmp(argv[1], "read") != 0)) {
        std::fprintf(stderr, "usage: taglib_tool read FILE... | write TITLE FILE...\n");
        return 2;
    }
    int failed = 0;
    for (int i = writing ? 3 : 2; i < argc; ++i) {
        TagLib::MPEG::File file(argv[i], false);
        if (!file.isValid()) {
            failed = 1;
            continue;
        }
        if (writing) {
            file.ID3v1Tag(true)->setTitle(TagLib::String(argv[2], TagLib::String::UTF8));
            if (!file.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripNone, TagLib::ID3v2::v4,
                           TagLib::File::DoNotDuplicate))
                failed = 1;
        } else if (file.hasID3v1Tag()) {
            std::printf("%s: %s\n", argv[i], file.ID3v1Tag()->title().toCString(true));
        } else {
            std::printf("%s: no ID3v1 tag\n", argv[i]);
        }
    }
    return failed;
}
