// TagLib does the parsing: it knows every version's frame layout, text
// encoding, unsynchronisation and extended header. It only ever sees a copy
// of the tag's bytes in memory, so nothing it does can reach the file.
#include "Id3v2Reader.h"

#include "Id3v2Header.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tdebuglistener.h>
#include <taglib/textidentificationframe.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A tag claiming more than this is damaged or mostly pictures; the texts come
// first in every tag written in practice.
constexpr qint64 MaxTagBytes = 16 << 20;

// TagLib reports damaged tags on standard error, which is ours.
class QuietListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String &) override {}
};

void SilenceTagLib()
{
    static QuietListener listener;
    TagLib::setDebugListener(&listener);
}

QString ToQString(const TagLib::String &text)
{
    return QString::fromUtf8(text.toCString(true));
}

const TagLib::ID3v2::FrameList &Frames(const TagLib::ID3v2::Tag &tag, const char *id)
{
    static const TagLib::ID3v2::FrameList none;
    const auto &map = tag.frameListMap();
    const auto found = map.find(id);
    return found == map.end() ? none : found->second;
}

QStringList Values(const TagLib::ID3v2::Tag &tag, const char *id)
{
    QStringList values;
    for (const TagLib::ID3v2::Frame *frame : Frames(tag, id)) {
        if (const auto *text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame *>(frame))
            for (const TagLib::String &value : text->fieldList())
                values.append(ToQString(value));
    }
    return values;
}

// Several values of one frame ("Artist A", "Artist B") read as one text.
QString Joined(const TagLib::ID3v2::Tag &tag, const char *id)
{
    QStringList values = Values(tag, id);
    values.removeAll(QString());
    return values.join(QStringLiteral(" / "));
}

// Players and encoders keep machine data in comments of their own
// ("iTunNORM", "iTunSMPB"); the first other comment is the one for people.
QString FirstComment(const TagLib::ID3v2::Tag &tag)
{
    for (const TagLib::ID3v2::Frame *frame : Frames(tag, "COMM")) {
        const auto *comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame *>(frame);
        if (comment && !ToQString(comment->description()).startsWith(QLatin1String("iTun")))
            return ToQString(comment->text());
    }
    return QString();
}

bool ReadAll(int fd, char *data, qint64 size, qint64 &got)
{
    got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, data + got, size_t(size - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    return true;
}

} // namespace

bool ParseId3v2(const QByteArray &head, Id3v2Texts &texts)
{
    texts = Id3v2Texts();
    Id3v2Header header;
    if (!header.parse(head))
        return false;
    SilenceTagLib();
    TagLib::ByteVectorStream stream(TagLib::ByteVector(head.constData(), uint(head.size())));
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    const TagLib::ID3v2::Tag *tag = file.isValid() ? file.ID3v2Tag() : nullptr;
    texts.version = header.version();
    if (!tag)
        return true;
    texts.title = Joined(*tag, "TIT2");
    texts.artist = Joined(*tag, "TPE1");
    texts.album = Joined(*tag, "TALB");
    texts.dates = Values(*tag, "TDRC") + Values(*tag, "TYER");
    texts.comment = FirstComment(*tag);
    texts.track = Values(*tag, "TRCK").value(0);
    texts.genres = Values(*tag, "TCON");
    return true;
}

Id3v2Read ReadId3v2(const FilePath &path, Id3v2Texts &texts)
{
    texts = Id3v2Texts();
    FileDescriptor file = OpenRegular(AT_FDCWD, path, O_RDONLY);
    if (!file.valid())
        return Id3v2Read::Failed;
    const int fd = file.get();
    QByteArray head(Id3v2Header::Size, '\0');
    qint64 got = 0;
    bool ok = ReadAll(fd, head.data(), head.size(), got);
    Id3v2Header header;
    const bool tagged = ok && header.parse(head.constData(), got);
    bool whole = true;
    if (tagged) {
        const qint64 size = qMin(header.tagSize(), MaxTagBytes);
        head.resize(size);
        qint64 rest = 0;
        ok = ReadAll(fd, head.data() + Id3v2Header::Size, size - Id3v2Header::Size, rest);
        head.resize(Id3v2Header::Size + rest);
        whole = head.size() == size;
    }
    if (!ok)
        return Id3v2Read::Failed;
    if (!tagged)
        return Id3v2Read::NoTag;
    if (!whole)
        return Id3v2Read::Damaged;
    ParseId3v2(head, texts);
    return Id3v2Read::Tag;
}
