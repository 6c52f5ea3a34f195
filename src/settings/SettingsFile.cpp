#include "SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <climits>
#include <cstring>
#include <optional>
#include <utility>

namespace {

const char kHeader[] = "Quarvel Software 2011";
const char kSeparator[] = "--------------------------";
const char kFileName[] = "Brelko.ini";

// Hands out the values of a settings file one at a time.
class ValueReader {
public:
    explicit ValueReader(const QByteArray &data) : data_(data) {}

    std::optional<QByteArray> next()
    {
        skip(" \t");
        if (pos_ >= data_.size())
            return std::nullopt;
        QByteArray value;
        if (data_.at(pos_) == '"') {
            const int close = data_.indexOf('"', pos_ + 1);
            if (close < 0)
                return std::nullopt; // an unterminated string is a damaged file
            value = data_.mid(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            skipToSeparator();
        } else {
            const int start = pos_;
            while (pos_ < data_.size() && !isSeparator(data_.at(pos_)))
                ++pos_;
            value = data_.mid(start, pos_ - start).trimmed();
        }
        consumeSeparator();
        return value;
    }

private:
    static bool isSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }

    void skip(const char *chars)
    {
        while (pos_ < data_.size() && std::strchr(chars, data_.at(pos_)) && data_.at(pos_) != 0)
            ++pos_;
    }

    void skipToSeparator()
    {
        while (pos_ < data_.size() && !isSeparator(data_.at(pos_)))
            ++pos_;
    }

    // One comma, or one line end (CR LF, LF or CR).
    void consumeSeparator()
    {
        if (pos_ >= data_.size())
            return;
        if (data_.at(pos_) == ',') {
            ++pos_;
            return;
        }
        if (data_.at(pos_) == '\r')
            ++pos_;
        if (pos_ < data_.size() && data_.at(pos_) == '\n')
            ++pos_;
    }

    const QByteArray &data_;
    int pos_ = 0;
};

// A whole number; the fraction of a number such as "12.7" is rounded, as a
// numeric read into a whole-number variable does.
std::optional<long long> ToNumber(const QByteArray &text)
{
    bool ok = false;
    const long long whole = text.toLongLong(&ok);
    if (ok)
        return whole;
    const double real = text.toDouble(&ok);
    if (ok && real > -1e15 && real < 1e15)
        return qRound64(real);
    return std::nullopt;
}

// Red and green accept any number; one that is not a number, or beyond what
// an int holds, is taken as a damaged file rather than guessed at.
std::optional<int> ToComponent(const QByteArray &text)
{
    const auto number = ToNumber(text);
    if (!number || *number < INT_MIN || *number > INT_MAX)
        return std::nullopt;
    return int(*number);
}

QString ConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

bool IsWritableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

bool ReadColour(const QString &path, BackgroundColour &colour)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The real file is three short lines; a huge one is not ours.
    return ParseSettings(file.read(64 * 1024), colour);
}

} // namespace

QByteArray FormatSettings(const BackgroundColour &colour)
{
    QByteArray out;
    out += '"' + QByteArray(kHeader) + "\"\r\n";
    out += '"' + QByteArray(kSeparator) + "\"\r\n";
    out += QByteArray::number(colour.red) + ',' + QByteArray::number(colour.green) + ',' +
           QByteArray::number(colour.blue) + "\r\n";
    return out;
}

bool ParseSettings(const QByteArray &data, BackgroundColour &colour)
{
    ValueReader reader(data);
    if (!reader.next() || !reader.next())
        return false;

    // Each value is stored as soon as it is read, so a file that breaks off
    // later still gives what it held before.
    for (int *component : {&colour.red, &colour.green}) {
        const auto text = reader.next();
        const auto value = text ? ToComponent(*text) : std::nullopt;
        if (!value)
            return false;
        *component = *value;
    }

    const auto blue = reader.next();
    if (!blue)
        return false;
    const auto blueValue = ToNumber(*blue);
    if (!blueValue || *blueValue < 0 || *blueValue > 255)
        return false;
    colour.blue = quint8(*blueValue);
    return true;
}

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

QString SettingsFile::defaultPath()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (IsWritableFolder(programFolder))
        return QDir(programFolder).filePath(QLatin1String(kFileName));
    return QDir(ConfigFolder()).filePath(QStringLiteral("Brelko/") + QLatin1String(kFileName));
}

QString SettingsFile::formerPath()
{
    return QDir(ConfigFolder())
        .filePath(QStringLiteral("Brelko/Brelko/") + QLatin1String(kFileName));
}

bool AdoptFormerSettings(const QString &path, const QString &formerPath)
{
    // A dangling link or anything else already at path is left to read().
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink() || !QFileInfo(formerPath).isFile())
        return false;
    BackgroundColour colour;
    ReadColour(formerPath, colour);
    return SettingsFile(path).write(colour);
}

bool SettingsFile::read(BackgroundColour &colour) const
{
    const bool ok = ReadColour(path_, colour);
    if (!ok)
        write(colour);
    return ok;
}

bool SettingsFile::write(const BackgroundColour &colour) const
{
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = FormatSettings(colour);
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
