#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The background colour of the windows, the one value kept between runs.
struct BackgroundColour {
    int red = 220;   // normally 0..255; a hand-edited file may hold more
    int green = 220; // likewise
    quint8 blue = 190;

    friend bool operator==(const BackgroundColour &a, const BackgroundColour &b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

// The three records of the settings file, each line ending in CR LF:
// the quoted header, the quoted separator, and red,green,blue.
QByteArray FormatSettings(const BackgroundColour &colour);

// Reads the values one after another (commas or line ends between them,
// spaces around them ignored, a quoted value running to the next quote).
// Returns false when the file ends before all five values are read or blue
// is not a whole number 0..255. Values read before the failure are kept in
// colour; the rest keep what colour held.
bool ParseSettings(const QByteArray &data, BackgroundColour &colour);

// The settings file at one place on disk.
class SettingsFile {
public:
    explicit SettingsFile(QString path);

    // Where the file lives: beside the program when that folder is writable,
    // else ~/.config/Brelko/Brelko.ini.
    static QString defaultPath();
    // Where earlier versions kept it when the program's folder was read-only.
    static QString formerPath();

    const QString &path() const { return path_; }

    // Reads the colour; a missing or damaged file is rewritten with the
    // values it leaves in colour, and false is returned.
    bool read(BackgroundColour &colour) const;

    // Replaces the whole file at once; a crash or a full disk never leaves a
    // half-written file. False when it could not be written.
    bool write(const BackgroundColour &colour) const;

private:
    QString path_;
};

// When there is no file at path yet but one at formerPath, its colour is
// carried over once (a damaged one as far as it reads); true when it was.
bool AdoptFormerSettings(const QString &path, const QString &formerPath);

