// Turns the PNG files of the main window into C++ arrays of ready-to-draw
// pixels (premultiplied ARGB32, in this machine's byte order), so start-up
// neither looks for image plugins nor decodes PNG. Run by the build:
//   brelko_pack_artwork OUTPUT.cpp PICTURE.png...
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <cstdio>

namespace {

// The picture's name as a C++ identifier: "folder-open" becomes "folder_open".
QByteArray Identifier(const QString &name)
{
    QByteArray id = name.toLatin1();
    id.replace('-', '_');
    return id;
}

QByteArray Pixels(const QImage &image)
{
    QByteArray text;
    const auto *bytes = image.constBits();
    const qsizetype count = image.sizeInBytes();
    for (qsizetype i = 0; i < count; ++i)
        text += QByteArray::number(bytes[i]) + (i % 24 == 23 ? ",\n" : ",");
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp PICTURE.png...\n", argv[0]);
        return 2;
    }
    QByteArray source = "// Made by brelko_pack_artwork from the PNG files in images/.\n"
                        "#include \"PackedPicture.h\"\n\nnamespace {\n";
    QByteArray table = "} // namespace\n\nconst PackedPicture PackedPictures[] = {\n";
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 1;
        }
        const QString name = QFileInfo(path).completeBaseName();
        const QByteArray id = Identifier(name);
        source += "alignas(16) const unsigned char " + id + "[] = {\n" + Pixels(image) + "};\n";
        table += "    {\"" + name.toLatin1() + "\", " + QByteArray::number(image.width()) + ", " +
                 QByteArray::number(image.height()) + ", " + id + "},\n";
    }
    table += "    {nullptr, 0, 0, nullptr}};\n";
    QSaveFile output(QString::fromLocal8Bit(argv[1]));
    if (!output.open(QIODevice::WriteOnly) || output.write(source + table) < 0 ||
        !output.commit()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
