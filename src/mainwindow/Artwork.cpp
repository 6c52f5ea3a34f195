#include "Artwork.h"

#include "PackedPicture.h"

#include <cstring>
#include <iterator>

namespace {

// The pixels are used where they lie, without a copy; the picture stays
// read-only, so drawing on it would detach first.
QImage Load(const char *name)
{
    for (const PackedPicture *picture = PackedPictures; picture->name; ++picture) {
        if (std::strcmp(picture->name, name) == 0)
            return QImage(picture->pixels, picture->width, picture->height, picture->width * 4,
                          QImage::Format_ARGB32_Premultiplied);
    }
    return QImage();
}

} // namespace

QImage ButtonPicture(int index)
{
    const char *const names[] = {"knop0", "knop1", "knop2", "knop3", "knop4"};
    return index >= 0 && size_t(index) < std::size(names) ? Load(names[index]) : QImage();
}

QImage WelcomePicture()
{
    return Load("welcome");
}

QImage FolderPicture(bool open)
{
    return Load(open ? "folder-open" : "folder-closed");
}
