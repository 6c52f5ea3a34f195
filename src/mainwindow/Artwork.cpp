#include "Artwork.h"

// Outside any namespace, as the resource macro needs.
static void InitResources()
{
    Q_INIT_RESOURCE(mainwindow);
}

namespace {

QImage Load(const QString &name)
{
    // The pictures live in a static library; its resources must be asked for.
    static const bool loaded = [] {
        InitResources();
        return true;
    }();
    Q_UNUSED(loaded);
    return QImage(QStringLiteral(":/mainwindow/") + name + QStringLiteral(".png"));
}

} // namespace

QImage ButtonPicture(int index)
{
    return Load(QStringLiteral("knop%1").arg(index));
}

QImage WelcomePicture()
{
    return Load(QStringLiteral("welcome"));
}

QImage FolderPicture(bool open)
{
    return Load(open ? QStringLiteral("folder-open") : QStringLiteral("folder-closed"));
}
