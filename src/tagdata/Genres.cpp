#include "Genres.h"

#include "CodePage.h"

#include <array>

const char *const UnknownGenreName = "Unknown Genre Entry";

namespace {

// The spellings are the ones stored tags have used for decades ("Poweer
// Ballad", "Psychadelic", "A Capela"); correcting them would stop matching
// what people's files and other programs hold.
constexpr std::array<const char *, GenreCount> kGenreNames = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "AlternRock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "InstrumentalRock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock&Roll",
    "Hard Rock",
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Brass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Poweer Ballad",
    "Rhytmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A Capela",
    "Euro-House",
    "Dance Hall",
};

} // namespace

const QStringList &GenreTable()
{
    // Built once, on first use; the names never change afterwards.
    static const QStringList table = [] {
        QStringList names;
        names.reserve(GenreCount);
        for (const char *name : kGenreNames)
            names.append(QString::fromLatin1(name));
        return names;
    }();
    return table;
}

int GenreNumber(const QString &field)
{
    if (field.isEmpty())
        return 255;
    const int byte = EncodeCodePageChar(field.at(0));
    return byte < 0 ? int('?') : byte;
}

QString GenreName(const QString &field)
{
    const int number = GenreNumber(field);
    if (number < GenreCount)
        return QString::fromLatin1(kGenreNames[std::size_t(number)]);
    return QString::fromLatin1(UnknownGenreName);
}

QString GenreCode(const QString &name)
{
    for (int i = 0; i < GenreCount; ++i) {
        if (name == QLatin1String(kGenreNames[std::size_t(i)]))
            return QString(QChar(i));
    }
    return QString(QChar(OtherGenre));
}
