// Renders the SVG drawings of the main window into the PNG files in images/,
// which the build turns into ready pixels. Run after changing a drawing:
//   cmake --build build --target brelko_render_artwork
//   build/src/mainwindow/brelko_render_artwork src/mainwindow/images
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s IMAGE-FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const struct {
        const char *name;
        QSize size;
    } pictures[] = {{"knop0", {48, 48}},       {"knop1", {48, 48}},        {"knop2", {48, 48}},
                    {"knop3", {48, 48}},       {"knop4", {48, 48}},        {"welcome", {417, 376}},
                    {"folder-open", {16, 16}}, {"folder-closed", {16, 16}}};
    for (const auto &picture : pictures) {
        const QString name = QString::fromLatin1(picture.name);
        QSvgRenderer renderer(folder + name + QStringLiteral(".svg"));
        if (!renderer.isValid())
            return 1;
        QImage image(picture.size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        if (!image.save(folder + name + QStringLiteral(".png")))
            return 1;
    }
    return 0;
}
